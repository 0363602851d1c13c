// The icecube: a block of clear ice seen a little from above, a glint sweeping its faces. The
// game turns the picture slowly, so it stays compact in the middle of its wide frame.
#version 3.7;
global_settings { assumed_gamma 1.0 max_trace_level 4 }
#include "studio.inc"

#declare IceRamp = color_map {
  [0 srgb <0.08, 0.20, 0.46>] [0.3 srgb <0.22, 0.46, 0.78>] [0.5 srgb <0.42, 0.68, 0.92>]
  [0.66 srgb <0.58, 0.82, 0.97>] [0.84 srgb <0.80, 0.93, 1>] [0.95 srgb <0.95, 0.99, 1>] [1 srgb 1] }

#declare Cube = superellipsoid { <0.22, 0.22> scale 13.5 }

#macro Frame(T)
  #local Phase = 2 * pi * T;
  #local Polar = 0.9 + 0.35 * sin(Phase);
  #local Az = 2.4 - Phase;
  Studio(IceRamp, -0.2 + 0.03 * sin(Phase), <sin(Polar) * cos(Az), sin(Polar) * sin(Az), -cos(Polar)>, 0.28, 1.5)
  union {
    object { Cube
      texture { pigment { rgbt <0, 0, 0, 0.3> } finish { Mirror } }
      // frost inside the ice: pale veins that catch the light
      texture {
        pigment { crackle form <-1, 1, 0> color_map { [0 rgbt <0.92, 0.98, 1, 0.3>] [0.04 rgbt <0.9, 0.97, 1, 0.75>] [0.09 rgbt <1, 1, 1, 1>] [1 rgbt <1, 1, 1, 1>] } scale 11 translate <3, 1, 2> }
        finish { emission 0.9 diffuse 0 }
      }
    }
    // a few trapped air bubbles
    union {
      sphere { <-4, 4, -2>, 1.2 } sphere { <5, -4, 1>, 0.9 } sphere { <-1, -6, -3>, 0.8 }
      sphere { <6, 5, -4>, 0.7 }
      texture { pigment { srgbt <0.92, 0.97, 1, 0.3> } finish { emission 0.9 diffuse 0 } }
    }
    rotate y * 38 rotate x * 24
  }
#end

#include "strip.inc"
