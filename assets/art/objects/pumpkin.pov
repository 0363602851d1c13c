// The pumpkin bomb badge: a small ribbed pumpkin with a lit fuse; the flame flickers over the
// loop (the spark itself is drawn over the render).
#version 3.7;
global_settings { assumed_gamma 1.0 max_trace_level 4 }
#include "studio.inc"

#macro Frame(T)
  #local Phase = 2 * pi * T;
  light_source { KeyDir * 1000 color srgb <1, 0.97, 0.92> parallel point_at 0 shadowless }
  light_source { <1, -0.6, -0.6> * 1000 color srgb <0.25, 0.30, 0.55> parallel point_at 0 shadowless }
  light_source { <12, 26, -12> color srgb <1, 0.75, 0.35> * (0.55 + 0.15 * sin(3 * Phase)) shadowless }
  union {
    #for (i, 0, 7)
      sphere { 0, 1 scale <6.2, 12.5, 8.8> translate x * 7.6 rotate y * (i * 45) }
    #end
    scale <1.05, 1, 1> * 1.3
    texture {
      pigment { srgb <1, 0.47, 0.06> }
      finish { ambient 0 emission 0.10 diffuse 0.85 specular 0.45 roughness 0.02 }
    }
    translate <-3, -6, 0>
  }
  // the fuse: a short dark cord with a glowing tip
  sphere_sweep { b_spline 4, <-3, 5, 0>, 1.1, <-3, 12, -1>, 1.1, <2, 17.5, -1>, 1.0, <8, 19.5, -1>, 0.9
    texture { pigment { srgb <0.22, 0.16, 0.12> } finish { emission 0.1 diffuse 0.7 specular 0.3 } } }
  // the stem under the fuse
  cylinder { <-3, 8.5, 0>, <-3, 12.5, -1>, 2.6
    texture { pigment { srgb <0.22, 0.40, 0.16> } finish { emission 0.1 diffuse 0.8 } } }
#end

#include "strip.inc"
