// A Canvas that records what a metafile drew, for tests that check the player's decisions.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "metafile/player/wmf_canvas.h"
#include "metafile/player/wmf_frame.h"
#include "metafile/player/wmf_interpreter.h"

namespace quintrel::wmf {

struct RecordingCanvas : Canvas {
    struct Line {
        std::vector<PointF> points;
        Pen pen;
    };
    struct Shape {
        std::vector<std::vector<PointF>> polygons;
        Pen pen;
        Brush brush;
    };

    void setClip(const std::optional<std::vector<RectF>>& rects) override {
        clips.push_back(rects);
    }
    void drawPolyline(std::span<const PointF> points, const Pen& pen) override {
        lines.push_back({{points.begin(), points.end()}, pen});
    }
    void drawPolygons(std::span<const std::vector<PointF>> polygons, const Pen& pen,
                      const Brush& brush, FillRule) override {
        shapes.push_back({{polygons.begin(), polygons.end()}, pen, brush});
    }
    void drawEllipse(const RectF& bounds, const Pen& pen, const Brush& brush) override {
        ellipses.push_back(bounds);
        shapes.push_back({{}, pen, brush});
    }
    void drawArc(const ArcShape& arc, const Pen& pen, const Brush& brush) override {
        arcs.push_back(arc);
        shapes.push_back({{}, pen, brush});
    }
    void drawRoundRect(const RectF& bounds, PointF, const Pen& pen, const Brush& brush) override {
        ellipses.push_back(bounds);
        shapes.push_back({{}, pen, brush});
    }
    void fillRects(std::span<const RectF> rects, const Brush& brush, BlitOp op) override {
        fills.push_back({{rects.begin(), rects.end()}, brush, op});
    }
    void setPixel(PointF, Rgb) override {}
    void drawImage(const RectF& target, const PixelImage& image, const RectF& source, BlitOp op,
                   bool) override {
        images.push_back({target, image, source, op});
    }
    double drawText(const TextRun& run) override {
        texts.push_back(run);
        return advance;
    }

    struct Fill {
        std::vector<RectF> rects;
        Brush brush;
        BlitOp op;
    };
    struct Blit {
        RectF target;
        PixelImage image;
        RectF source;
        BlitOp op;
    };

    std::vector<std::optional<std::vector<RectF>>> clips;
    std::vector<ArcShape> arcs;
    std::vector<Fill> fills;
    std::vector<Blit> images;
    std::vector<Line> lines;
    std::vector<Shape> shapes;
    std::vector<RectF> ellipses;
    std::vector<TextRun> texts;
    double advance = 0;  // what drawText reports, picture units
};

// Reads `bytes`, which must be a valid picture (the calling test fails otherwise), and plays it
// into a fresh RecordingCanvas.
inline RecordingCanvas playBytes(const std::vector<std::uint8_t>& bytes,
                                 PlayReport* report = nullptr) {
    RecordingCanvas canvas;
    const ReadResult result = readPicture(bytes);
    EXPECT_TRUE(result.ok()) << describe(*result.error);
    const PlayReport r = play(result.metafile, canvas);
    if (report != nullptr) {
        *report = r;
    }
    return canvas;
}

}  // namespace quintrel::wmf
