#include "ui/picture_box.h"

#include <QFileInfo>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QtMath>
#include <exception>

#include "metafile/format/wmf_reader.h"
#include "metafile/player/wmf_frame.h"
#include "metafile/qt/qt_canvas.h"
#include "metafile/qt/wmf_painter.h"
#include "platform/files/regular_file.h"

namespace quintrel {

PictureBox::PictureBox(QWidget* parent)
    : QWidget(parent), m_fonts(std::make_unique<wmf::FontCache>()) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
}

PictureBox::~PictureBox() = default;

bool PictureBox::loadPicture(const QString& path) {
    clearPicture();
    // Read one byte past the limit so an oversized file is recognised without reading it all.
    const FileBytes contents =
        readRegularFile(QFileInfo(path).filesystemFilePath(), wmf::kMaxFileBytes + 1);
    if (!contents.ok()) {
        m_lastError = contents.notRegular ? QStringLiteral("not a regular file")
                                          : qt_error_string(contents.systemError);
        return false;
    }
    wmf::ReadResult result = wmf::readPicture(contents.bytes);
    if (!result.ok()) {
        m_lastError = QString::fromStdString(wmf::describe(*result.error));
        return false;
    }
    m_picture = std::make_shared<const wmf::Metafile>(std::move(result.metafile));
    // A box that has its place but is not on screen yet is part of a window being built: its
    // first paint comes only after the other controls are made and shown, so the picture is
    // drawn meanwhile on the other core. Later pictures are drawn here, with the faces this
    // box has already resolved.
    if (!isVisible() && testAttribute(Qt::WA_Resized)) {
        startDrawingAhead();
    }
    update();
    return true;
}

void PictureBox::clearPicture() {
    m_ahead = {};  // waits for a drawing still under way; it is bounded like every play
    m_drawn.reset();
    m_showsAhead = false;
    m_picture.reset();
    m_lastError.clear();
    update();
}

bool PictureBox::hasPicture() const {
    return m_picture != nullptr;
}

// The same pixels as the picture drawn straight into the box at that look.
QImage PictureBox::draw(const wmf::Metafile& picture, const Look& look, wmf::FontCache* fonts) {
    QImage image(qCeil(look.size.width() * look.scale), qCeil(look.size.height() * look.scale),
                 QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        return image;  // out of memory: the box shows its background
    }
    image.setDevicePixelRatio(look.scale);
    image.fill(QColor::fromRgba(look.background));
    QPainter painter(&image);
    wmf::drawMetafile(painter, picture, QRectF(QPointF(0, 0), QSizeF(look.size)), {}, fonts);
    return image;
}

PictureBox::Look PictureBox::currentLook() const {
    return {size(), devicePixelRatioF(), palette().color(backgroundRole()).rgba()};
}

void PictureBox::startDrawingAhead() {
    const Look look = currentLook();
    if (look.size.isEmpty()) {
        return;
    }
    // The worker has the picture, its own font cache and its own image; it shares nothing
    // mutable with this thread. Qt draws text into images on any thread.
    try {
        m_ahead = std::async(std::launch::async, [picture = m_picture, look] {
            return Drawn{look, draw(*picture, look, nullptr)};
        });
    } catch (const std::exception&) {
        m_ahead = {};  // no thread to be had: the first paint draws the picture itself
    }
}

void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (m_picture) {
        const Look look = currentLook();
        if (m_ahead.valid()) {
            try {
                Drawn ahead = m_ahead.get();
                if (ahead.look == look) {
                    m_drawn = std::move(ahead);
                    m_showsAhead = true;
                }
            } catch (const std::exception&) {
                // Drawn below instead.
            }
        }
        if (!m_drawn || m_drawn->look != look) {
            m_drawn = Drawn{look, draw(*m_picture, look, m_fonts.get())};
            m_showsAhead = false;
        }
        painter.drawImage(QPointF(0, 0), m_drawn->image);
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
