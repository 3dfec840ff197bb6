#include "platform/help/win_help.h"

#include <QDir>
#include <QMessageBox>

namespace quintrel::help {

namespace {

void reportHelpFile(QWidget* window, const QString& sentence, const QString& path) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Help"),
                    sentence.arg(QDir::toNativeSeparators(path)), QMessageBox::Ok, window);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

}  // namespace

void reportMissingHelpFile(QWidget* window, const QString& path) {
    reportHelpFile(window, QStringLiteral("Cannot find the help file %1."), path);
}

void reportUnreadableHelpFile(QWidget* window, const QString& path) {
    reportHelpFile(window, QStringLiteral("Cannot open the help file %1."), path);
}

}  // namespace quintrel::help
