#pragma once
// A model, a canvas and a drawing of them, for the renderer's pixel tests.

#include "core/recording_sink.h"
#include "graph/draw/canvas.h"
#include "graph/data/plot_model.h"
#include "graph/load/point_parser.h"
#include "graph/draw/renderer.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace plotwell {

inline constexpr RgbColor kBlack = 0x00000000;
inline constexpr RgbColor kGrey = 0x00808080;
inline constexpr RgbColor kRed = 0x000000FF;
inline constexpr RgbColor kGreen = 0x00008000;
inline constexpr RgbColor kIvory = 0x00F8FFFF;

struct RenderFixture : ::testing::Test
{
    RecordingSink sink;
    PlotModel model{sink};
    Canvas canvas;
    DrawingResult last; // what the last Draw found
    int graphDrawn = 0; // drawings that found data

    // One series per line of point text ("1 2 3", "(1, 2) (3, 4)", "5 6 ;Name").
    void Load(std::initializer_list<const char*> lines)
    {
        for (const char* line : lines)
            ASSERT_TRUE(AddSeriesFromString(model, QString::fromUtf8(line), true)) << line;
    }

    void Draw(int width = 600, int height = 400)
    {
        canvas.SetSize(width, height);
        last = DrawGraph(model, canvas);
        graphDrawn += last.foundData;
    }

    const DrawingResult& Result() const { return last; }
    const PlotGeometry& Geometry() const { return last.geometry; }
    PanelEffects Panel() const { return last.panel.value_or(PanelEffects{}); }
    RgbColor At(int x, int y) const { return canvas.Pixel(x, y); }

    // How many pixels of a rectangle have the colour.
    int Count(int x, int y, int w, int h, RgbColor color) const
    {
        int n = 0;
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i)
                n += canvas.Pixel(i, j) == color;
        return n;
    }
};

} // namespace plotwell
