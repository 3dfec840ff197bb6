#include "platform/wmf/picture_box.h"

#include <QFile>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <span>

#include "platform/wmf/qt_canvas.h"
#include "platform/wmf/wmf_painter.h"
#include "platform/wmf/wmf_reader.h"

namespace quintrel {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent), m_fonts(std::make_unique<wmf::FontCache>()) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
}

PictureBox::~PictureBox() = default;

bool PictureBox::loadPicture(const QString& path) {
    clearPicture();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_lastError = file.errorString();
        return false;
    }
    // Read one byte past the limit so an oversized file is recognised without reading it all.
    const QByteArray contents = file.read(static_cast<qint64>(wmf::kMaxFileBytes) + 1);
    if (file.error() != QFileDevice::NoError) {
        m_lastError = file.errorString();
        return false;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(contents.constData());
    wmf::ReadResult result =
        wmf::readMetafile(std::span(bytes, static_cast<std::size_t>(contents.size())));
    if (!result.ok()) {
        m_lastError = QString::fromStdString(wmf::describe(*result.error));
        return false;
    }
    m_picture = std::make_unique<wmf::Metafile>(std::move(result.metafile));
    update();
    return true;
}

void PictureBox::clearPicture() {
    m_picture.reset();
    m_lastError.clear();
    update();
}

bool PictureBox::hasPicture() const {
    return m_picture != nullptr;
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (m_picture) {
        painter.save();
        wmf::drawMetafile(painter, *m_picture, QRectF(rect()), {}, m_fonts.get());
        painter.restore();
    }
    // The box is a Tab stop; the style's focus frame shows when it has the focus.
    if (hasFocus()) {
        QStyleOptionFocusRect frame;
        frame.initFrom(this);
        frame.backgroundColor = palette().color(QPalette::Window);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
}

}  // namespace quintrel
