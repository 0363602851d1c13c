// Helpers shared by the object pictures (objects*.cpp).
#pragma once

#include "tools/art/art.h"

#include <string>
#include <vector>

// The alpha of p blurred three times by a box of the given radius (colours kept).
Picture Obj_Blur(const Picture& p, int radius);
// p over a soft glow of its own shape in colour (r, g, b); strength 0 adds nothing.
Picture Obj_WithGlow(const Picture& p, int radius, double r, double g, double b, double strength);
// p over a one-pixel rim of its own shape in colour (r, g, b) at the given opacity.
Picture Obj_WithRim(const Picture& p, double r, double g, double b, double alpha);
// A particle-source picture: the w x h window of p at (x, y), with every pixel that p covers
// at least half painted (red above 0) and every other pixel black; the caller writes it as RGB.
Picture Obj_ShapeMap(const Picture& p, int x, int y, int w, int h);

// Writes the candle strip, its flame and the candle's particle shape.
void Objects_DrawCandle(const ArtContext& ctx, const std::vector<Picture>& candle);
// Writes the three hammers (with their pulse glow), the two progress ovals and the hammer shapes.
void Objects_DrawHammers(const ArtContext& ctx, std::vector<std::vector<Picture>> hammers);

// For the artist: the panel's candle and hammer corner as the game composes them, at four
// burn levels, with the particle shapes tinted over them, written to dir (not game data).
void Objects_ReviewPanel(const ArtContext& ctx, const std::string& dir);
// For the artist: special pieces and overlays on a row of cells at 38, 48 and 57 pixels.
void Objects_ReviewPieces(const ArtContext& ctx, const std::string& dir);
