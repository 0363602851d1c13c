// The icecube: a block of clear ice seen a little from above, a glint sweeping its faces. The
// game turns the picture slowly, so it stays compact in the middle of its wide frame.
#version 3.7;
global_settings { assumed_gamma 1.0 max_trace_level 4 }
#include "studio.inc"

#declare IceRamp = color_map {
  [0 srgb <0.10, 0.22, 0.45>] [0.25 srgb <0.30, 0.52, 0.80>] [0.5 srgb <0.62, 0.84, 0.97>]
  [0.65 srgb <0.80, 0.93, 1>] [0.82 srgb <0.93, 0.98, 1>] [1 srgb 1] }

#declare Cube = superellipsoid { <0.22, 0.22> scale 13.5 }

#macro Frame(T)
  #local Phase = 2 * pi * T;
  #local Polar = 0.9 + 0.35 * sin(Phase);
  #local Az = 2.4 - Phase;
  Studio(IceRamp, 0.03 * sin(Phase), <sin(Polar) * cos(Az), sin(Polar) * sin(Az), -cos(Polar)>, 0.32, 1.8)
  union {
    object { Cube
      texture { pigment { rgb 0 } finish { Mirror } }
      // frost inside the ice: pale veins that catch the light
      texture {
        pigment { crackle form <1, 0, 0> color_map { [0 rgbt <0.95, 0.99, 1, 0.2>] [0.06 rgbt <0.9, 0.97, 1, 0.75>] [0.2 rgbt <1, 1, 1, 1>] } scale 7 translate <3, 1, 2> }
        finish { emission 0.85 diffuse 0.2 }
      }
    }
    rotate y * 38 rotate x * 24
  }
#end

#include "strip.inc"
