#include "ui/unit_list.h"

#include <QComboBox>
#include <QLineEdit>

namespace quintrel {

void followTypedEntry(QComboBox& list) {
    // Inline completion would write a whole entry into the edit part after the first letter and
    // select it behind the user's back; a unit is short enough to type or choose.
    list.setCompleter(nullptr);
    QObject::connect(&list, &QComboBox::editTextChanged, &list, [&list](const QString& text) {
        const int entry = list.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (entry == list.currentIndex()) {
            return;  // also every text the list itself writes when an entry is chosen
        }
        if (entry >= 0) {
            list.setCurrentIndex(entry);
            return;
        }
        // No entry: Qt would clear the edit part along with the selection, so the typed text and
        // the cursor are put back once the selection handler has run.
        QLineEdit* edit = list.lineEdit();
        const int cursor = edit->cursorPosition();
        list.setCurrentIndex(-1);
        edit->setText(text);
        edit->setCursorPosition(cursor);
    });
}

}  // namespace quintrel
