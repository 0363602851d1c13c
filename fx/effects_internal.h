// What the effect list and the kinds' rules share.
#pragma once

#include "fx/effects.h"

// Appends a sprite (during a pass it joins the list when the pass ends).
void Gfx_Add(const Gfx_Obj& o);
// Takes a sprite out of the list.
inline void Gfx_Remove(Gfx_Obj& o) {
    o.name = 0;
}
// The per-frame movement and the drawing step of each kind.
void Gfx_UpdateKind(Gfx_Obj& o);
void Gfx_DrawKind(Gfx_Obj& o);
// Sets the drawing position from the exact one as the kind's movement does.
void Gfx_Place(Gfx_Obj& o);
