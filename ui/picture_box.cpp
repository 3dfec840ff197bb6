#include "ui/picture_box.h"

#include <QFileInfo>
#include <QPaintEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

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
    m_picture = std::make_unique<const wmf::Metafile>(std::move(result.metafile));
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

// Drawn on every paint, straight into the box, on the user-interface thread like everything that
// touches Qt's fonts: the faces and their rendered glyphs are kept in the box's cache, so a
// repaint costs the picture's records and glyph copies, not the faces again.
void PictureBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    if (m_picture) {
        wmf::drawMetafile(painter, *m_picture, QRectF(rect()), {}, m_fonts.get());
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
