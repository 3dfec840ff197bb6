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

QString blockedHelpFileError(const QString& path) {
    return QStringLiteral(
               "Windows blocks the help file %1 because it came from the Internet, so "
               "the help viewer would show none of its pages. Open the file's "
               "Properties, tick Unblock and choose OK, or install Quintrel with its "
               "installer.")
        .arg(QDir::toNativeSeparators(path));
}

}  // namespace quintrel::help
