// Where a frame's drawing time goes, picture by picture, for finding what to make cheaper.
// Off unless SNOW_DRAW_PROFILE names a file (or "-" for standard error): then every recorded
// drawing call is sent on its own and waited for, and the process's CPU time it took (all
// threads: the rasteriser's included) is added to its picture. The table is written when the
// display closes. Waiting after every call adds a fixed cost to each call, so pictures drawn in
// many calls look dearer than they are; SNOW_SKIP_DRAW gives the true cost of a group of
// pictures: its comma-separated words name pictures (any part of their file name) whose drawing
// calls are left out, and the difference in the whole frame's cost is theirs.
#pragma once

#include <SDL.h>

#include <string>

bool DrawProfile_On();
// Names a texture in the table (the picture it was made from).
void DrawProfile_NameTexture(SDL_Texture* texture, const std::string& name);
// Brackets one drawing call; pixels is the area its quads cover.
void DrawProfile_Begin(); // these do nothing unless profiling
void DrawProfile_End(SDL_Texture* texture, SDL_BlendMode mode, double pixels);
// Brackets work outside the drawing calls that still belongs to drawing (the present).
void DrawProfile_EndOther(const char* label);
// One frame has ended: the time since the last frame not spent in drawing calls is the rest
// (rules, input, sound, recording the drawing).
void DrawProfile_FrameEnd();
// Whether SNOW_SKIP_DRAW leaves out the drawing calls of this texture.
bool DrawProfile_Skipped(SDL_Texture* texture);
// Writes the table (when profiling) and forgets it.
void DrawProfile_Report();
