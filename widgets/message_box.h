// The program's message boxes: plain text (a path or a system message is never read as markup),
// an OK button only, and an optional informative text below the message.
#pragma once

#include <QMessageBox>
#include <QString>

namespace quintrel {

// Sets box up as every message of the program looks.
void configureMessageBox(QMessageBox& box, const QString& title, const QString& text,
                         QMessageBox::Icon icon = QMessageBox::NoIcon,
                         const QString& informativeText = {});

// Modal over parent; returns when the user has closed it.
void showMessage(QWidget* parent, const QString& title, const QString& text,
                 QMessageBox::Icon icon = QMessageBox::NoIcon, const QString& informativeText = {});

}  // namespace quintrel
