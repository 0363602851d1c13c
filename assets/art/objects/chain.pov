// Chains over a piece (Locks 1: one chain and a padlock, Locks 2: two crossed chains and a
// padlock) and, with Locks 0, the single link that tumbles away when a chain breaks.
#version 3.7;
global_settings { assumed_gamma 1.0 max_trace_level 4 }
#include "studio.inc"

#declare SteelRamp = color_map {
  [0 srgb <0.10, 0.12, 0.20>] [0.25 srgb <0.30, 0.35, 0.48>] [0.48 srgb <0.58, 0.64, 0.76>]
  [0.62 srgb <0.74, 0.80, 0.90>] [0.8 srgb <0.90, 0.94, 1>] [1 srgb 1] }
#declare BrassRamp = color_map {
  [0 srgb <0.25, 0.13, 0.02>] [0.25 srgb <0.55, 0.33, 0.06>] [0.48 srgb <0.85, 0.60, 0.18>]
  [0.62 srgb <0.96, 0.76, 0.32>] [0.8 srgb <1, 0.90, 0.60>] [1 srgb 1] }

// One oval link along x, lying flat (Flat 1) or on its edge (Flat 0).
#macro Link(L, R, Thick, Flat)
  #local Body = union {
    torus { R, Thick rotate x * 90 clipped_by { plane { -x, 0 } } translate x * (L / 2 - R) }
    torus { R, Thick rotate x * 90 clipped_by { plane { x, 0 } } translate -x * (L / 2 - R) }
    cylinder { <-(L / 2 - R), R, 0>, <L / 2 - R, R, 0>, Thick }
    cylinder { <-(L / 2 - R), -R, 0>, <L / 2 - R, -R, 0>, Thick }
  }
  #if (Flat) object { Body } #else object { Body rotate x * 90 } #end
#end

// A chain of links from one corner of the frame to the other, at Angle degrees.
#macro Chain(Angle, N, Pitch)
  union {
    #for (i, 0, N - 1)
      object { Link(12, 3.9, 1.55, mod(i, 2)) translate x * (i - (N - 1) / 2) * Pitch }
    #end
    rotate z * Angle
  }
#end

#declare Padlock = union {
  torus { 4.2, 1.25 rotate x * 90 clipped_by { plane { -y, 0 } } translate y * 2.5 }
  cylinder { <-4.2, 0, 0>, <-4.2, 2.5, 0>, 1.25 }
  cylinder { <4.2, 0, 0>, <4.2, 2.5, 0>, 1.25 }
  difference {
    superellipsoid { <0.3, 0.3> scale <6.8, 5.6, 2.6> translate -y * 3.8 }
    cylinder { <0, -2.6, -5>, <0, -2.6, 0>, 1.2 }
    box { <-0.55, -6.4, -5>, <0.55, -2.6, 0> }
  }
}

#macro Frame(T)
  #local Phase = 2 * pi * T;
  #if (Locks = 0)
    // the loose link turns over about its long axis (half a turn repeats the shape)
    Studio(SteelRamp, 0, <-0.6, 0.6, -0.5>, 0.3, 1.4)
    object { Link(22, 6, 1.9, 1) rotate x * (180 * T) rotate z * 6
      texture { pigment { rgb 0 } finish { Mirror } } }
  #else
    #local Polar = 1.1;
    #local Az = 2.4 - Phase;
    Studio(SteelRamp, 0.02 * sin(Phase), <sin(Polar) * cos(Az), sin(Polar) * sin(Az), -cos(Polar)>, 0.3, 1.6)
    union {
      object { Chain(-45, 7, 7.9) }
      #if (Locks = 2) object { Chain(45, 7, 7.9) translate -z * 3 } #end
      texture { pigment { rgb 0 } finish { Mirror } }
    }
    light_source { KeyDir * 1000 color rgb 1.1 parallel point_at 0 shadowless }
    light_source { <1, -0.6, -0.6> * 1000 color srgb <0.3, 0.3, 0.5> parallel point_at 0 shadowless }
    object { Padlock scale 1.05 translate <0, -1, -6>
      texture { pigment { srgb <0.92, 0.66, 0.20> }
        finish { ambient 0 emission 0.12 diffuse 0.8 brilliance 1.4 specular 0.9 roughness 0.008
                 metallic reflection { 0.25 metallic } } } }
  #end
#end

#include "strip.inc"
