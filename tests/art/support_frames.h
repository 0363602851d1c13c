// Generated pictures read back frame by frame through the engine's own loader, as straight RGBA
// bytes, for tests that judge what the pixels look like.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ArtFrame {
    int w = 0, h = 0;
    std::vector<std::uint8_t> px; // rows top to bottom, 4 bytes a pixel
    const std::uint8_t* At(int x, int y) const { return &px[(static_cast<size_t>(y) * w + x) * 4]; }
};

// The frames of a picture under the generated data folder, cut fw x fh (count 1: the whole
// picture); a missing or unreadable picture adds a test failure and returns what was read.
std::vector<ArtFrame> ArtFrames_Load(const std::string& name, int fw, int fh, int count);
