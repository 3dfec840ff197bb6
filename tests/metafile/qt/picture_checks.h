// For tests that look at drawn pictures: the committed formula pictures and where an image has
// ink.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

namespace quintrel {

// Formula picture `k` (1…8) in the source tree's data folder.
inline QString dataPicture(int k) {
    return QStringLiteral(QUINTREL_DATA_DIR "/transforms%1.wmf").arg(k);
}

inline std::vector<std::uint8_t> fileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    const QByteArray data = file.readAll();
    return {data.begin(), data.end()};
}

// Bounding box of the pixels that are not white.
inline QRect inkBounds(const QImage& image) {
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

}  // namespace quintrel
