// The Qt implementations of the dialogs the File commands use.
#include <QFileDialog>

#include "menufile/file_commands.h"
#include "menufile/qt_dialog_setup.h"
#include "widgets/message_box.h"

namespace quintrel {

namespace {

const QString kTitle = QStringLiteral("Quintrel");

std::string runFileDialog(QWidget* parent, FileDialogKind kind, const std::string& title,
                          const std::string& filter) {
    QFileDialog dialog(parent);
    configureFileDialog(dialog, kind, title, filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst()).toStdString();
}

}  // namespace

void configureFileDialog(QFileDialog& dialog, FileDialogKind kind, const std::string& title,
                         const std::string& filter) {
    dialog.setWindowTitle(QString::fromStdString(title));
    dialog.setNameFilter(QString::fromStdString(qtNameFilter(filter)));
    if (kind == FileDialogKind::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
        // The dialog adds it before asking about replacing, so the question names the file that
        // is written.
        dialog.setDefaultSuffix(QString::fromStdString(defaultExtension(filter)));
    }
}

std::string QtFileDialog::openFileName(const std::string& title, const std::string& filter) {
    return runFileDialog(m_parent, FileDialogKind::Open, title, filter);
}

std::string QtFileDialog::saveFileName(const std::string& title, const std::string& filter) {
    return runFileDialog(m_parent, FileDialogKind::Save, title, filter);
}

void QtMessageReporter::report(const std::string& text) {
    reportWithReason(text, {});
}

void QtMessageReporter::reportWithReason(const std::string& text, const std::string& reason) {
    showMessage(m_parent, kTitle, QString::fromStdString(text), QMessageBox::NoIcon,
                QString::fromStdString(reason));
}

void QtMessageReporter::warn(const std::string& text) {
    showMessage(m_parent, kTitle, QString::fromStdString(text), QMessageBox::Warning);
}

}  // namespace quintrel
