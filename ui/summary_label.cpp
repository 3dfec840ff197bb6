#include "ui/summary_label.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>

namespace quintrel {

namespace {

// True when text, wrapped as the label wraps it, fits the label's contents rectangle.
bool fits(const QLabel& label, const QString& text) {
    const QRect room = label.contentsRect();
    const int flags = static_cast<int>(label.alignment()) |
                      (label.wordWrap() ? static_cast<int>(Qt::TextWordWrap) : 0);
    const QRect needed = label.fontMetrics().boundingRect(
        QRect(room.left(), room.top(), room.width(), 1 << 20), flags, text);
    return needed.height() <= room.height() && needed.width() <= room.width();
}

}  // namespace

void makeSummaryLabel(QLabel& label) {
    // Selectable text gives the label click focus only; the window's Tab order never names it.
    label.setTextInteractionFlags(Qt::TextSelectableByMouse);
    label.setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(&label, &QWidget::customContextMenuRequested, &label, [&label](QPoint at) {
        QMenu menu(&label);
        menu.setObjectName(QStringLiteral("summaryMenu"));
        QAction* copy = menu.addAction(QStringLiteral("&Copy"));
        copy->setEnabled(!label.text().isEmpty());
        QObject::connect(copy, &QAction::triggered, &label, [&label] {
            QGuiApplication::clipboard()->setText(label.hasSelectedText() ? label.selectedText()
                                                                          : label.text());
        });
        menu.exec(label.mapToGlobal(at));
    });
}

void setSummaryText(QLabel& label, const QString& text) {
    label.setText(text);
    label.setAccessibleDescription(text);  // a screen reader reads the whole line, cut or not
    label.setToolTip(fits(label, text) ? QString() : text);
}

}  // namespace quintrel
