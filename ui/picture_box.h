// The box that shows one formula picture (a placeable metafile), scaled to fit.
#pragma once

#include <QString>
#include <QWidget>
#include <memory>

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
    std::unique_ptr<const wmf::Metafile> m_picture;
    // Faces resolved by drawing on this thread, kept across pictures.
    std::unique_ptr<wmf::FontCache> m_fonts;
    QString m_lastError;
};

}  // namespace quintrel
