// The snowball: a packed ball of glittering snow that slowly spins. Period is the frame count of
// one turn (the piece loops over the first Period frames).
#version 3.7;
global_settings { assumed_gamma 1.0 max_trace_level 4 }
#include "studio.inc"

#macro Frame(T)
  #local Turn = T * Count / Period;
  light_source { KeyDir * 1000 color srgb <1, 0.98, 0.95> parallel point_at 0 shadowless }
  light_source { <1, -0.7, -0.5> * 1000 color srgb <0.30, 0.40, 0.62> parallel point_at 0 shadowless }
  sphere { 0, 16.3
    texture {
      pigment { srgb <0.96, 0.97, 1> }
      normal { bumps 0.55 scale 2.2 }
      finish { ambient 0 emission 0.16 diffuse 0.85 brilliance 1.2 }
    }
    texture { // glitter: tiny crystals that catch the light as the ball turns
      pigment { granite color_map { [0 rgbt 1] [0.72 rgbt 1] [0.78 rgbt <1, 1, 1, 0>] [1 rgbt <1, 1, 1, 0>] } scale 4 }
      finish { emission 0.9 diffuse 0 }
    }
    rotate z * (-360 * Turn)
  }
#end

#include "strip.inc"
