// The candle that shows the time left: frame 0 full, the last frame burnt down to a stub, its
// wax drips growing as it burns. It stands on a small brass dish and is lit by its own flame
// (drawn separately, riding on the wax) and by the cool moonlight from the upper left.
#version 3.7;
global_settings { assumed_gamma 1.0 max_trace_level 4 }

#declare Tilt = 14;        // the top leans towards the viewer so the melt pool shows
#declare BaseY = -47;      // where the wax meets the dish
#declare Radius = 11.5;

#declare Wax = texture {
  pigment { srgb <1, 0.93, 0.80> }
  finish { ambient 0 emission 0.20 diffuse 0.85 brilliance 1.0 specular 0.35 roughness 0.025 }
}
// translucent wax glows warm near the flame
#macro WaxGlow(Top)
  texture {
    pigment { function { min(1, max(0, (y - Top + 26) / 26)) }
              color_map { [0 rgbt <1, 0.78, 0.35, 1>] [1 rgbt <1, 0.80, 0.40, 0.3>] } }
    finish { emission 0.75 diffuse 0 }
  }
#end

#macro Drip(Angle, Len, Top)
  #local L = min(Len, Top - 2);
  sphere_sweep { linear_spline 3,
    <0, Top - 0.5, -Radius>, 1.9, <0, Top - L * 0.6, -Radius - 0.5>, 1.5, <0, Top - L, -Radius - 0.5>, 1.9
    rotate y * Angle }
#end

#macro Frame(T)
  #local F = T * Count;                              // burnt frames, 0 to Count - 1
  #local TopY = 30 - 2.375 * F;                      // the wax top as the picture shows it
  #local H = (TopY - BaseY) / cos(radians(Tilt));    // wax height along the candle's axis
  light_source { <-1, 0.5, -0.8> * 1000 color srgb <0.86, 0.86, 0.92> parallel point_at 0 shadowless }
  light_source { <1, 0.2, -0.5> * 1000 color srgb <0.16, 0.20, 0.34> parallel point_at 0 shadowless }
  light_source { <0, H + 10, -2> color srgb <1, 0.80, 0.48> * 1.1 fade_distance 30 fade_power 1 shadowless }
  union {
    // the wax: a cylinder with a shallow melt pool and a soft rim
    difference {
      cylinder { <0, 0, 0>, <0, H, 0>, Radius }
      cylinder { <0, H - 1.4, 0>, <0, H + 1, 0>, Radius - 2.2 }
    }
    torus { Radius - 1.1, 1.1 translate y * (H - 0.7) }
    Drip(-28, 5 + 1.1 * F, H)
    Drip(22, 9 + 0.8 * F, H)
    Drip(60, 3 + 0.6 * F, H)
    // wax that has run down and pooled on the dish
    sphere { 0, 1 scale <Radius + 2.5 + 0.14 * F, 2.4 + 0.05 * F, Radius + 2.5 + 0.14 * F> }
    texture { Wax }
    WaxGlow(H)
    translate y * BaseY
    rotate x * (-Tilt)
    translate y * (BaseY * cos(radians(Tilt)) - BaseY)
  }
  // the wick
  cylinder { <0, 0, 0>, <0.5, 3.2, 0>, 0.75
    texture { pigment { srgb <0.16, 0.10, 0.08> } finish { emission 0.2 diffuse 0.5 } }
    translate y * (BaseY + H - 1.4) rotate x * (-Tilt) translate y * (BaseY * cos(radians(Tilt)) - BaseY) }
  // the dish with a ring handle
  union {
    cylinder { <0, -2.6, 0>, <0, 0, 0>, 21 }
    torus { 21, 1.5 }
    torus { 5, 1.3 rotate x * 90 translate <24.5, -0.6, 0> }
    texture {
      pigment { srgb <0.80, 0.58, 0.26> }
      finish { ambient 0 emission 0.06 diffuse 0.7 specular 0.8 roughness 0.01 metallic reflection { 0.1 } }
    }
    translate y * (BaseY - 1.2)
    rotate x * (-Tilt)
    translate y * (BaseY * cos(radians(Tilt)) - BaseY)
  }
#end

#include "strip.inc"
