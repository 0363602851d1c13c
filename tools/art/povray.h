// Rendering frame strips with POV-Ray. A scene under assets/art/objects defines the macro
// Frame(T) (T from 0 up to 1 over the loop) and includes "strip.inc", which lays every frame out
// in one picture of `columns` frames a row, each in a light group of its own; one render then
// yields the whole strip, so the per-frame start-up cost of the renderer is paid once.
#pragma once

#include "tools/art/art.h"

#include <string>
#include <utility>
#include <vector>

struct PovStrip {
    std::string scene; // file name under assets/art/objects, e.g. "gem.pov"
    std::string tag;   // unique name of this render in the work folder
    int frame_w = 0, frame_h = 0, count = 1;
    int columns = 8;         // frames per row of the rendered grid
    double antialias = 0.05; // colour step that makes the renderer take more samples
    // Rendered at this many times the size without jitter and averaged down: outlines come out
    // with an even, smooth alpha instead of the renderer's noisy edge samples.
    int supersample = 1;
    std::vector<std::pair<std::string, std::string>> declares; // scene parameters
};

// Renders every strip, up to ctx.jobs renders at a time, and returns each strip's frames in
// order. A failed render stops the generator with the renderer's own message.
std::vector<std::vector<Picture>> Pov_Render(const ArtContext& ctx,
                                             const std::vector<PovStrip>& strips);

// Cuts `count` frames of w x h from a grid of `columns` frames a row.
std::vector<Picture> Pov_Cut(const Picture& grid, int w, int h, int count, int columns);

// Averages each `factor` x `factor` block into one pixel, weighting colour by alpha.
Picture Pov_Downsample(const Picture& p, int factor);

// Small picture helpers shared by the object modules.
Picture Pov_Crop(const Picture& p, int x, int y, int w, int h);
void Pov_Over(Picture& dst, const Picture& src, int x, int y); // src over dst at (x, y)
