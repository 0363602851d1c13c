// Faults that show up close: light in the wrong place and ragged outlines. The light falls from
// the upper left, so a gem's shaded lower facets never flash white in any frame of its glint
// loop; and the candle's straight wax sides keep an even outline down their length in every
// frame (a noisy alpha edge shows as a dotted dark fringe against the panel).
#include "tests/art/support_frames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

double Luma(const std::uint8_t* p) {
    return (0.2126 * p[0] + 0.7152 * p[1] + 0.0722 * p[2]) / 255.0;
}

// The shaded lower facets (the bottom fifth of the body, right of its lit left third) may hold
// steady light (a star's lower arms face the light), but the travelling glint must not flash
// there: their count of near-white pixels stays about the same in every frame.
TEST(GemGlint, NeverFlashesOnTheShadedLowerFacets) {
    struct Gem {
        const char* name;
        int w, h;
    } gems[] = {{"Gem1", 53, 40}, {"Gem2", 48, 48}, {"Gem3", 48, 48},
                {"Gem4", 68, 48}, {"Gem5", 48, 48}, {"Gem6", 57, 45}};
    for (const Gem& g : gems) {
        std::vector<ArtFrame> frames =
            ArtFrames_Load(std::string("images/pieces/") + g.name + ".png", g.w, g.h, 64);
        int least = 1 << 30, most = 0, most_frame = 0;
        for (size_t f = 0; f < frames.size(); ++f) {
            const ArtFrame& fr = frames[f];
            int top = fr.h, bottom = -1, left = fr.w, right = -1; // the body's box
            for (int y = 0; y < fr.h; ++y)
                for (int x = 0; x < fr.w; ++x)
                    if (fr.At(x, y)[3] >= 128) {
                        top = std::min(top, y), bottom = std::max(bottom, y);
                        left = std::min(left, x), right = std::max(right, x);
                    }
            int white = 0; // in the bottom fifth, right of the lit left third
            for (int y = bottom - (bottom - top) / 5; y <= bottom; ++y)
                for (int x = left + (right - left) / 3; x <= right; ++x)
                    white += fr.At(x, y)[3] >= 128 && Luma(fr.At(x, y)) > 0.9;
            least = std::min(least, white);
            if (white > most) most = white, most_frame = static_cast<int>(f);
        }
        EXPECT_LE(most - least, 6)
            << g.name << ": a white sliver along the bottom in frame " << most_frame << " (" << most
            << " near-white pixels, " << least << " at the least)";
    }
}

// Mean size of the bends in the candle's width from row to row (the second difference), over
// the straight part of the wax: 0 for a clean outline.
double OutlineNoise(const ArtFrame& fr, int* rows) {
    int top = 0;
    while (top < fr.h && fr.At(fr.w / 2, top)[3] == 0)
        ++top;
    std::vector<double> width;
    for (int y = top + 16; y < 96; ++y) { // below the rim and the drips' starts, above the dish
        double w = 0;
        for (int x = 0; x < fr.w; ++x)
            w += fr.At(x, y)[3] / 255.0;
        width.push_back(w);
    }
    double sum = 0;
    for (size_t i = 1; i + 1 < width.size(); ++i)
        sum += std::fabs(width[i - 1] - 2 * width[i] + width[i + 1]);
    *rows = static_cast<int>(width.size());
    return width.size() > 2 ? sum / (width.size() - 2) : 0;
}

TEST(CandleOutline, StaysEvenDownTheWax) {
    std::vector<ArtFrame> frames = ArtFrames_Load("images/interface/Candle.png", 64, 116, 32);
    for (size_t f = 0; f < frames.size(); ++f) {
        int rows = 0;
        const double noise = OutlineNoise(frames[f], &rows);
        if (rows < 20) continue; // burnt too low to judge
        EXPECT_LT(noise, 0.15) << "frame " << f << ": the wax's outline jitters";
    }
}

} // namespace
