// The message boxes of the Help and About commands: plain text, an OK button only.
#pragma once

#include <QMessageBox>
#include <QString>

namespace quintrel {

// Modal over parent; returns when the user has closed it.
void showMessage(QWidget* parent, const QString& title, const QString& text,
                 QMessageBox::Icon icon = QMessageBox::NoIcon);

}  // namespace quintrel
