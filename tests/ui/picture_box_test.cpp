// The picture box and the QPainter player: loading, failing cleanly, fitting, and the fonts
// the formula pictures are drawn with.
#include "ui/picture_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <QTemporaryDir>
#include <chrono>
#include <future>
#include <random>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "metafile/format/wmf_writer.h"
#include "metafile/player/wmf_frame.h"
#include "metafile/qt/qt_canvas.h"
#include "metafile/qt/wmf_painter.h"
#include "platform/files/regular_file.h"
#include "tools/font_widths.h"

namespace quintrel {
namespace {

QString dataPicture(int k) {
    return QStringLiteral(QUINTREL_DATA_DIR "/transforms%1.wmf").arg(k);
}

wmf::Metafile readPicture(const std::vector<std::uint8_t>& bytes) {
    wmf::ReadResult result = wmf::readPicture(bytes);
    EXPECT_TRUE(result.ok());
    return std::move(result.metafile);
}

std::vector<std::uint8_t> fileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray data = file.readAll();
    return {data.begin(), data.end()};
}

// Bounding box of the pixels that are not white.
QRect inkBounds(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

QImage render(const wmf::Metafile& metafile, QSize size) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    wmf::drawMetafile(painter, metafile, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

TEST(PictureBox, LoadsAndReplacesPictures) {
    PictureBox box;
    EXPECT_FALSE(box.hasPicture());
    EXPECT_TRUE(box.autoFillBackground());
    EXPECT_EQ(box.backgroundRole(), QPalette::Window);
    EXPECT_TRUE(box.loadPicture(dataPicture(1)));
    EXPECT_TRUE(box.hasPicture());
    EXPECT_TRUE(box.loadPicture(dataPicture(8)));
    EXPECT_TRUE(box.hasPicture());
    box.clearPicture();
    EXPECT_FALSE(box.hasPicture());
}

TEST(PictureBox, FailedLoadsLeaveTheBoxEmpty) {
    QTemporaryDir dir;
    const std::vector<std::uint8_t> picture = fileBytes(dataPicture(1));
    const QByteArray good(reinterpret_cast<const char*>(picture.data()),
                          static_cast<qsizetype>(picture.size()));
    writeFile(dir.filePath("empty.wmf"), {});
    writeFile(dir.filePath("text.wmf"), "this is not a metafile");
    writeFile(dir.filePath("cut.wmf"), good.left(good.size() / 2));
    const QString paths[] = {dir.filePath("missing.wmf"), dir.path(), dir.filePath("empty.wmf"),
                             dir.filePath("text.wmf"), dir.filePath("cut.wmf")};
    for (const QString& path : paths) {
        PictureBox box;
        ASSERT_TRUE(box.loadPicture(dataPicture(2)));
        EXPECT_FALSE(box.loadPicture(path)) << path.toStdString();
        EXPECT_FALSE(box.hasPicture());
        EXPECT_FALSE(box.lastError().isEmpty());
        box.resize(561, 185);
        box.grab();  // painting an empty box is fine
    }
}

#ifndef _WIN32
// A picture path swapped for a named pipe is refused at once: opening it for reading must not
// wait for a writer that never comes.
TEST(PictureBox, RefusesANamedPipeWithoutWaiting) {
    QTemporaryDir dir;
    const QString path = dir.filePath("pipe.wmf");
    const QByteArray name = QFile::encodeName(path);
    ASSERT_EQ(mkfifo(name.constData(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] {
        return readRegularFile(QFileInfo(path).filesystemFilePath(), 100);
    });
    if (reading.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        close(open(name.constData(), O_WRONLY | O_NONBLOCK));  // lets the waiting open go
        FAIL() << "opening a named pipe waited for a writer";
    }
    EXPECT_TRUE(reading.get().notRegular);
    PictureBox box;
    EXPECT_FALSE(box.loadPicture(path));
    EXPECT_EQ(box.lastError(), QStringLiteral("not a regular file"));
}
#endif

TEST(PictureBox, DrawsThePictureScaledToFit) {
    PictureBox box;
    box.resize(561, 185);  // 8415 × 2775 twips at 96 dpi
    ASSERT_TRUE(box.loadPicture(dataPicture(1)));
    QPalette palette = box.palette();
    palette.setColor(QPalette::Window, Qt::white);
    box.setPalette(palette);
    const QImage image = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRect ink = inkBounds(image);
    ASSERT_FALSE(ink.isEmpty());
    // Height-bound: the 10 × 4 inch picture is 462.5 × 185 pixels, centred.
    const double left = (561 - 462.5) / 2;
    EXPECT_GE(ink.left(), left);
    EXPECT_LE(ink.right(), left + 462.5);
}

// A box placed before it is shown draws its first picture on a worker; it must show exactly
// what a box draws at its own paint, and not a drawing made for a size it no longer has.
TEST(PictureBox, DrawsAheadExactlyAsAtItsOwnPaint) {
    const auto shot = [](PictureBox& box) {
        return box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const auto placedThenLoaded = [](PictureBox& box, QSize size, int picture) {
        box.resize(size);
        ASSERT_TRUE(box.loadPicture(dataPicture(picture)));
    };
    const auto loadedThenPlaced = [](PictureBox& box, QSize size, int picture) {
        ASSERT_TRUE(box.loadPicture(dataPicture(picture)));
        box.resize(size);
    };
    PictureBox ahead, itself;
    placedThenLoaded(ahead, {561, 185}, 1);
    loadedThenPlaced(itself, {561, 185}, 1);
    EXPECT_EQ(shot(ahead), shot(itself));
    EXPECT_TRUE(ahead.showsAheadDrawing());
    EXPECT_FALSE(itself.showsAheadDrawing());

    PictureBox resized, itselfResized;
    placedThenLoaded(resized, {300, 100}, 7);
    resized.resize(561, 185);
    loadedThenPlaced(itselfResized, {561, 185}, 7);
    EXPECT_EQ(shot(resized), shot(itselfResized));
    EXPECT_FALSE(resized.showsAheadDrawing());
}

// A metafile without the placeable header, as older programs write them: the box shows it
// framed by its window records.
TEST(PictureBox, ShowsAStandardMetafile) {
    wmf::MetafileWriter writer({0, 0, 1, 1}, 96);
    writer.setMapMode(wmf::kMmAnisotropic);
    writer.setWindowOrg(1000, 1000);
    writer.setWindowExt(200, 100);
    writer.selectObject(writer.createPen(wmf::kPsNull, 0, 0));
    writer.selectObject(writer.createBrush(wmf::kBsSolid, wmf::rgb(0, 0, 0)));
    writer.rectangle({1100, 1000, 1200, 1100});  // the right half of the window
    const std::vector<std::uint8_t> bytes = writer.finishStandard();
    QTemporaryDir dir;
    writeFile(dir.filePath("standard.wmf"), QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                                       static_cast<qsizetype>(bytes.size())));
    PictureBox box;
    box.resize(200, 100);
    ASSERT_TRUE(box.loadPicture(dir.filePath("standard.wmf"))) << box.lastError().toStdString();
    QPalette palette = box.palette();
    palette.setColor(QPalette::Window, Qt::white);
    box.setPalette(palette);
    const QImage image = box.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(inkBounds(image), QRect(100, 0, 100, 100));
}

TEST(WmfPainter, FittedRectKeepsTheAspectRatio) {
    const wmf::Metafile m = readPicture(fileBytes(dataPicture(3)));
    const QRectF wide = wmf::fittedRect(m, QRectF(0, 0, 1000, 100));
    EXPECT_DOUBLE_EQ(wide.height(), 100);
    EXPECT_DOUBLE_EQ(wide.width(), 250);
    EXPECT_DOUBLE_EQ(wide.left(), 375);
    const QRectF tall = wmf::fittedRect(m, QRectF(10, 10, 100, 1000));
    EXPECT_DOUBLE_EQ(tall.width(), 100);
    EXPECT_DOUBLE_EQ(tall.height(), 40);
    EXPECT_DOUBLE_EQ(tall.top(), 490);
}

TEST(WmfPainter, SymbolTextUsesTheSymbolFontsOwnGlyphs) {
    // "p" in a SYMBOL_CHARSET font is π: drawn from Standard Symbols PS it must look like
    // that font's π, not like a Latin p.
    auto picture = [](std::uint8_t charSet, const char* face) {
        wmf::MetafileWriter writer({0, 0, 400, 400}, 1440);
        wmf::LogFont font;
        font.height = -300;
        font.charSet = charSet;
        font.faceName = face;
        writer.selectObject(writer.createFont(font));
        writer.setTextAlign(wmf::kTaBaseline);
        writer.textOut(50, 300, "p");
        return readPicture(writer.finish());
    };
    const QImage symbol = render(picture(wmf::kSymbolCharset, "Symbol"), QSize(400, 400));
    const QImage latin = render(picture(wmf::kAnsiCharset, "Times New Roman"), QSize(400, 400));
    // Without a Symbol-encoded face the bytes go through the Adobe Symbol table to Unicode.
    const QImage mapped =
        render(picture(wmf::kSymbolCharset, "No Such Symbol Face"), QSize(400, 400));
    // The Latin p has a descender; π sits on the baseline (y = 300).
    EXPECT_LE(inkBounds(symbol).bottom(), 305);
    EXPECT_LE(inkBounds(mapped).bottom(), 308);
    EXPECT_GT(inkBounds(latin).bottom(), 330);
    // And it is exactly the glyph of the Symbol-encoded face at the byte's code point.
    QFont reference(QStringLiteral("Standard Symbols PS"));
    reference.setPixelSize(300);
    QImage expected(400, 400, QImage::Format_RGB32);
    expected.fill(Qt::white);
    {
        QPainter painter(&expected);
        QRawFont raw = QRawFont::fromFont(reference);
        raw.setPixelSize(300);
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(raw.glyphIndexesForString(QStringLiteral("p")));
        run.setPositions({QPointF(0, 0)});
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::black);
        painter.drawGlyphRun(QPointF(50, 300), run);
    }
    const QRect a = inkBounds(symbol);
    const QRect b = inkBounds(expected);
    EXPECT_LE(std::abs(a.left() - b.left()), 1);
    EXPECT_LE(std::abs(a.width() - b.width()), 1);
    EXPECT_LE(std::abs(a.height() - b.height()), 1);
}

// The compiled-in widths the generator lays out with must be the installed fonts' widths.
TEST(FormulaFonts, WidthTablesMatchTheInstalledFonts) {
    struct Face {
        const char* family;
        QFont::Weight weight;
        bool italic;
        int unitsPerEm;
        const std::uint16_t* widths;
        int first;
        int count;
    };
    const Face faces[] = {
        {"Liberation Sans", QFont::Bold, false, 2048, tools::kLiberationSansBoldWidths.data(), 0x20,
         95},
        {"Liberation Serif", QFont::Normal, false, 2048,
         tools::kLiberationSerifRegularWidths.data(), 0x20, 95},
        {"Liberation Serif", QFont::Normal, true, 2048, tools::kLiberationSerifItalicWidths.data(),
         0x20, 95},
        {"Standard Symbols PS", QFont::Normal, false, 1000, tools::kStandardSymbolsWidths.data(),
         0x20, 223},
    };
    for (const Face& face : faces) {
        QFont font(QString::fromLatin1(face.family));
        font.setWeight(face.weight);
        font.setItalic(face.italic);
        font.setPixelSize(face.unitsPerEm);
        font.setHintingPreference(QFont::PreferNoHinting);
        const QRawFont raw = QRawFont::fromFont(font);
        ASSERT_TRUE(raw.isValid()) << face.family;
        ASSERT_TRUE(raw.familyName().startsWith(QString::fromLatin1(face.family))) << face.family;
        int checked = 0;
        for (int i = 0; i < face.count; ++i) {
            const QList<quint32> glyphs = raw.glyphIndexesForString(QString(QChar(face.first + i)));
            if (face.widths[i] == 0 || glyphs.value(0) == 0) {
                continue;  // no glyph at this code in either
            }
            const double advance = raw.advancesForGlyphIndexes(glyphs).value(0).x();
            EXPECT_NEAR(advance, face.widths[i], 0.5) << face.family << " code " << face.first + i;
            ++checked;
        }
        EXPECT_GT(checked, 90) << face.family;
    }
}

// A picture may give every text run a size of its own; the sized faces kept stay bounded.
TEST(WmfPainter, FontCacheKeepsBoundedSizes) {
    wmf::FontCache fonts;
    wmf::Font font;
    font.face = "Arial";
    for (int em = 1; em <= 3 * static_cast<int>(wmf::FontCache::kMaxSizedFonts); ++em) {
        EXPECT_DOUBLE_EQ(fonts.sized(font, em).pixelSize(), em);
        EXPECT_LE(fonts.sizedCount(), wmf::FontCache::kMaxSizedFonts);
    }
}

// Mutated copies of a real picture: each must load or fail cleanly and draw in bounded time.
// The work bound is the picture's own work, so the mutations that make it costlier are
// stopped by the bound.
TEST(WmfPainter, SurvivesMutatedPictures) {
    const std::vector<std::uint8_t> original = fileBytes(dataPicture(5));
    QImage image(300, 120, QImage::Format_RGB32);
    QPainter originalPainter(&image);
    wmf::PlayLimits limits;
    limits.maxWork =
        wmf::drawMetafile(originalPainter, readPicture(original), QRectF(0, 0, 300, 120)).work;
    originalPainter.end();
    std::mt19937 random(20240607);
    int played = 0;
    int stoppedByTheBound = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<std::uint8_t> bytes = original;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            // Leave the headers alone most of the time so the records get exercised.
            const std::size_t at = 40 + random() % (bytes.size() - 40);
            bytes[at] = static_cast<std::uint8_t>(random());
        }
        const wmf::ReadResult result = wmf::readPicture(bytes);
        image.fill(Qt::white);
        QPainter painter(&image);
        const wmf::PlayReport report =
            wmf::drawMetafile(painter, result.metafile, QRectF(0, 0, 300, 120), limits);
        played += static_cast<int>(report.recordsPlayed > 0);
        EXPECT_LE(report.work, limits.maxWork) << "round " << round;
        if (!report.stoppedEarly) {  // every record played or refused
            EXPECT_EQ(report.recordsPlayed + report.recordsIgnored, result.metafile.records.size());
        }
        stoppedByTheBound += static_cast<int>(report.stoppedEarly);
    }
    EXPECT_GT(played, 300);
    EXPECT_GT(stoppedByTheBound, 0);
}

}  // namespace
}  // namespace quintrel

int main(int argc, char** argv) {
    // Widgets are drawn offscreen, also when the test list is discovered at build time.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
