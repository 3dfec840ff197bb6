#include "widgets/message_box.h"

#include <QLabel>

namespace quintrel {

void configureMessageBox(QMessageBox& box, const QString& title, const QString& text,
                         QMessageBox::Icon icon, const QString& informativeText) {
    box.setWindowTitle(title);
    box.setText(text);
    box.setIcon(icon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(informativeText);
    // The informative label guesses its format on its own; a system message may quote a path.
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_informativelabel"))) {
        label->setTextFormat(Qt::PlainText);
    }
}

void showMessage(QWidget* parent, const QString& title, const QString& text, QMessageBox::Icon icon,
                 const QString& informativeText) {
    QMessageBox box(parent);
    configureMessageBox(box, title, text, icon, informativeText);
    box.exec();
}

}  // namespace quintrel
