// The box that shows one formula picture (a placeable metafile), scaled to fit.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <memory>
#include <optional>

namespace quintrel {

namespace wmf {
struct Metafile;
class FontCache;
}  // namespace wmf

class PictureBox : public QWidget {
    Q_OBJECT

  public:
    explicit PictureBox(QWidget* parent = nullptr);
    ~PictureBox() override;

    // Replaces the picture shown. False when the file is missing, unreadable or malformed;
    // the box is then empty.
    bool loadPicture(const QString& path);
    void clearPicture();
    bool hasPicture() const;

    // Why the last load failed, for diagnostics; empty after a successful load.
    QString lastError() const { return m_lastError; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // What a drawn image depends on besides the picture itself.
    struct Look {
        QSize size;
        qreal scale = 1;
        QRgb background = 0;
        bool operator==(const Look&) const = default;
    };
    struct Drawn {
        Look look;
        QImage image;
    };

    // The picture fitted into the box at `look`, on its background.
    QImage draw(const Look& look) const;
    Look currentLook() const;

    std::unique_ptr<const wmf::Metafile> m_picture;
    // Faces resolved by drawing on this thread, kept across pictures.
    std::unique_ptr<wmf::FontCache> m_fonts;
    // The picture as last drawn; a repaint at the same look only copies it.
    std::optional<Drawn> m_drawn;
    QString m_lastError;
};

}  // namespace quintrel
