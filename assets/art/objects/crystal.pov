// The ice crystal, the wildcard piece: a clear, pointed ice crystal whose facets shimmer through
// the colours of every gem as a rainbow turns around it.
#version 3.7;
global_settings { assumed_gamma 1.0 max_trace_level 5 }
#include "studio.inc"
#include "facets.inc"

#declare IceRamp = color_map {
  [0 srgb <0.10, 0.18, 0.42>] [0.25 srgb <0.30, 0.46, 0.76>] [0.48 srgb <0.62, 0.80, 0.95>]
  [0.62 srgb <0.80, 0.92, 1>] [0.8 srgb <0.93, 0.98, 1>] [1 srgb 1] }

#declare Shape = mesh {
  // an elongated hexagon standing on a point: 30 x 44
  #local P = array[6] { <0, 22, 0>, <-15, 9, 0>, <-15, -9, 0>, <0, -22, 0>, <15, -9, 0>, <15, 9, 0> }
  Crown(P, 6, <0, 0, 0>, 0.5, 7, 0.86, 0.5)
}

#macro Frame(T)
  #local Phase = 2 * pi * T;
  #local Polar = 1.15 + 0.25 * sin(2 * Phase);
  #local Az = 2.3 - Phase;
  Studio(IceRamp, 0.03 * sin(Phase), <sin(Polar) * cos(Az), sin(Polar) * sin(Az), -cos(Polar)>, 0.3, 1.8)
  // the rainbow: a hue that runs round the environment and turns over the loop
  #local Hue = function(x, y, z) { mod(2 * atan2(y, x) / (2 * pi) + 2 + T + 0.3 * z / 500, 1) }
  sphere { 0, 499 hollow no_image no_shadow
    texture {
      pigment { function { Hue(x, y, z) }
        color_map { [0 rgbt <1, 0.25, 0.3, 0.22>] [0.17 rgbt <1, 0.6, 0.15, 0.22>]
                    [0.33 rgbt <1, 0.95, 0.2, 0.22>] [0.5 rgbt <0.2, 0.9, 0.4, 0.22>]
                    [0.67 rgbt <0.2, 0.5, 1, 0.22>] [0.83 rgbt <0.75, 0.3, 1, 0.22>]
                    [1 rgbt <1, 0.25, 0.3, 0.22>] } }
      finish { emission 1 diffuse 0 }
    }
  }
  object { Shape texture { pigment { rgb 0 } finish { Mirror } } }
  disc { 0, z, 1 scale <3.2, 1.6, 1> rotate z * 50 translate <-5, 8, -30> no_reflection
    texture { pigment { rgbt <1, 1, 1, 0.1> } finish { emission 1 diffuse 0 } } }
#end

#include "strip.inc"
