#include "ui/summary_label.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <algorithm>

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

// The height that the given number of lines takes in label, laid out as the label lays out text.
int heightOfLines(const QLabel& label, int lines) {
    QString text = QStringLiteral("Xg");
    for (int i = 1; i < lines; ++i) {
        text += QStringLiteral("\nXg");
    }
    return label.fontMetrics()
        .boundingRect(QRect(0, 0, 1 << 20, 1 << 20), Qt::AlignLeft | Qt::AlignTop, text)
        .height();
}

}  // namespace

void growToLines(QLabel& label, int lines) {
    label.resize(label.width(), std::max(label.height(), heightOfLines(label, lines)));
}

void growToFrameBottom(QLabel& label) {
    const int room = label.parentWidget()->contentsRect().bottom() + 1 - label.y();
    int lines = 1;
    while (heightOfLines(label, lines + 1) <= room) {
        ++lines;
    }
    growToLines(label, lines);
}

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
