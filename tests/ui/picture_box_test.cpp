// The picture box: loading, failing cleanly, fitting, and drawing again when it changes.
#include "ui/picture_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <chrono>
#include <future>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "metafile/format/wmf_writer.h"
#include "metafile/player/wmf_frame.h"
#include "metafile/qt/wmf_painter.h"
#include "platform/files/regular_file.h"
#include "tests/metafile/qt/picture_checks.h"

namespace quintrel {
namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Picture 8 really replaces picture 1 (also in what the box shows, below), and clearing the box
// leaves only its background.
TEST(PictureBox, LoadsAndReplacesPictures) {
    PictureBox box;
    box.resize(300, 100);
    QPalette palette = box.palette();
    palette.setColor(QPalette::Window, Qt::white);
    box.setPalette(palette);
    const auto shot = [&box] { return box.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    EXPECT_FALSE(box.hasPicture());
    EXPECT_TRUE(box.autoFillBackground());
    EXPECT_EQ(box.backgroundRole(), QPalette::Window);
    EXPECT_TRUE(box.loadPicture(dataPicture(1)));
    EXPECT_TRUE(box.hasPicture());
    const QImage one = shot();
    EXPECT_TRUE(box.loadPicture(dataPicture(8)));
    EXPECT_TRUE(box.hasPicture());
    EXPECT_NE(shot(), one);
    box.clearPicture();
    EXPECT_FALSE(box.hasPicture());
    EXPECT_TRUE(inkBounds(shot()).isEmpty());
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
        QPalette palette = box.palette();
        palette.setColor(QPalette::Window, Qt::white);
        box.setPalette(palette);
        // Painting an empty box shows its background and nothing of the picture before.
        EXPECT_TRUE(
            inkBounds(box.grab().toImage().convertToFormat(QImage::Format_RGB32)).isEmpty());
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
    const auto inkAt = [](QSize size) {
        PictureBox box;
        box.resize(size);
        EXPECT_TRUE(box.loadPicture(dataPicture(1)));
        QPalette palette = box.palette();
        palette.setColor(QPalette::Window, Qt::white);
        box.setPalette(palette);
        return inkBounds(box.grab().toImage().convertToFormat(QImage::Format_RGB32));
    };
    const QRect ink = inkAt({561, 185});  // 8415 × 2775 twips at 96 dpi
    ASSERT_FALSE(ink.isEmpty());
    // Height-bound: the 10 × 4 inch picture is 462.5 × 185 pixels, centred. Its formulas fill
    // nearly all of that height and most of that width.
    const double left = (561 - 462.5) / 2;
    EXPECT_GE(ink.left(), left);
    EXPECT_LE(ink.right(), left + 462.5);
    EXPECT_GE(ink.height(), 0.9 * 185);
    EXPECT_GE(ink.width(), 0.7 * 462.5);
    // Twice the box, twice the picture, about the same centre.
    const QRect twice = inkAt({1122, 370});
    EXPECT_NEAR(twice.left(), 2 * ink.left(), 2);
    EXPECT_NEAR(twice.top(), 2 * ink.top(), 2);
    EXPECT_NEAR(twice.width(), 2 * ink.width(), 3);
    EXPECT_NEAR(twice.height(), 2 * ink.height(), 3);
}

// The picture drawn straight into a white image of `size`, without the box.
QImage referenceDrawing(int picture, QSize size) {
    const wmf::ReadResult read = wmf::readPicture(fileBytes(dataPicture(picture)));
    EXPECT_TRUE(read.ok());
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    wmf::drawMetafile(painter, read.metafile, QRectF(QPointF(0, 0), QSizeF(size)));
    return image;
}

// As at start-up, the box gets its place in the window, then its picture, and is painted once
// shown: that first paint shows the whole picture, wherever the box sits in the window (the
// window is painted, not the box alone). It is drawn again when the box changes size and when
// another picture replaces the first.
TEST(PictureBox, FirstPaintShowsThePictureAndRepaintsWhenItChanges) {
    QWidget window;
    window.resize(700, 600);
    auto* box = new PictureBox(&window);
    const auto shot = [&] {
        return window.grab().toImage().copy(box->geometry()).convertToFormat(QImage::Format_RGB32);
    };
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, Qt::white);
    box->setPalette(palette);
    box->setGeometry(40, 380, 561, 185);
    ASSERT_TRUE(box->loadPicture(dataPicture(1)));
    EXPECT_EQ(shot(), referenceDrawing(1, {561, 185}));

    box->resize(300, 100);
    EXPECT_EQ(shot(), referenceDrawing(1, {300, 100}));

    ASSERT_TRUE(box->loadPicture(dataPicture(8)));
    const QImage eight = shot();
    EXPECT_EQ(eight, referenceDrawing(8, {300, 100}));
    EXPECT_NE(eight, referenceDrawing(1, {300, 100}));
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
