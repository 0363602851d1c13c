// The three hammers of the meter: Kind 1 a small ice hammer, 2 a heavy mallet with a steel
// head capped in ice, 3 the colour hammer, golden with a crystal of every gem colour. Over the
// 32 frames the hammer brightens (the game plays them forward and back as a pulse); frame 0 is
// the hammer at rest. Each stays inside a 58 x 80 box at the centre of its frame.
#version 3.7;
global_settings { assumed_gamma 1.0 max_trace_level 4 }
#include "studio.inc"

#declare IceRamp = color_map {
  [0 srgb <0.12, 0.26, 0.52>] [0.25 srgb <0.34, 0.58, 0.86>] [0.48 srgb <0.64, 0.86, 0.98>]
  [0.62 srgb <0.80, 0.94, 1>] [0.8 srgb <0.93, 0.98, 1>] [1 srgb 1] }
#declare SteelRamp = color_map {
  [0 srgb <0.06, 0.08, 0.16>] [0.25 srgb <0.18, 0.23, 0.38>] [0.48 srgb <0.36, 0.44, 0.62>]
  [0.62 srgb <0.52, 0.60, 0.78>] [0.8 srgb <0.80, 0.86, 0.96>] [1 srgb 1] }
#declare GoldRamp = color_map {
  [0 srgb <0.30, 0.15, 0.02>] [0.25 srgb <0.62, 0.38, 0.05>] [0.48 srgb <0.95, 0.72, 0.18>]
  [0.62 srgb <1, 0.84, 0.35>] [0.8 srgb <1, 0.94, 0.66>] [1 srgb 1] }

#macro Shiny(Glow)
  texture { pigment { rgb 0 } finish { Mirror } }
  texture { pigment { rgbt <1, 1, 1, 1 - 0.35 * Glow> } finish { emission 1 diffuse 0 } }
#end

#macro Wood(Glow)
  texture {
    pigment { wood turbulence 0.1 color_map { [0 srgb <0.55, 0.34, 0.18>] [1 srgb <0.70, 0.46, 0.26>] }
              scale 3 rotate x * 90 }
    finish { ambient 0 emission 0.12 + 0.3 * Glow diffuse 0.8 specular 0.2 roughness 0.05 }
  }
#end

#macro Grip(Glow, Colour)
  texture { pigment { srgb Colour } normal { gradient y 0.6 scale 2.2 }
            finish { ambient 0 emission 0.12 + 0.3 * Glow diffuse 0.8 } }
#end

#macro Frame(T)
  #local Glow = T * Count / (Count - 1);
  #local Polar = 1.0 + 0.2 * Glow;
  #local Az = 2.4 - 2.2 * Glow;
  #local Gd = <sin(Polar) * cos(Az), sin(Polar) * sin(Az), -cos(Polar)>;
  light_source { KeyDir * 1000 color rgb 1 parallel point_at 0 shadowless }
  light_source { <1, -0.6, -0.6> * 1000 color srgb <0.25, 0.30, 0.5> parallel point_at 0 shadowless }
  union {
    #switch (Kind)
      #case (1)
        Studio(IceRamp, 0.06 * Glow, Gd, 0.35, 1.6)
        superellipsoid { <0.35, 0.35> scale <17, 8.5, 8.5> translate y * 24 Shiny(Glow) }
        cylinder { <0, -36, 0>, <0, 16, 0>, 2.6 Wood(Glow) }
        cylinder { <0, -37, 0>, <0, -20, 0>, 3.2 Grip(Glow, <0.20, 0.32, 0.62>) }
      #break
      #case (2)
        Studio(SteelRamp, 0.06 * Glow, Gd, 0.35, 1.6)
        union {
          superellipsoid { <0.3, 0.3> scale <13, 10.5, 10.5> }
          cylinder { <-13, 0, 0>, <-19, 0, 0>, 10 }
          cylinder { <13, 0, 0>, <19, 0, 0>, 10 }
          translate y * 24 Shiny(Glow)
        }
        union { // ice on both faces
          superellipsoid { <0.4, 0.4> scale <2.5, 9.5, 9.5> translate x * -20.5 }
          superellipsoid { <0.4, 0.4> scale <2.5, 9.5, 9.5> translate x * 20.5 }
          translate y * 24
          texture { pigment { rgb 0 } finish { Mirror } }
          texture { pigment { srgbt <0.70, 0.90, 1, 0.35 - 0.2 * Glow> } finish { emission 0.9 diffuse 0 } }
        }
        cylinder { <0, -37, 0>, <0, 13, 0>, 3.4 Wood(Glow) }
        cylinder { <0, -38, 0>, <0, -18, 0>, 4.1 Grip(Glow, <0.55, 0.12, 0.16>) }
      #break
      #else
        Studio(GoldRamp, 0.06 * Glow, Gd, 0.35, 1.6)
        union {
          superellipsoid { <0.3, 0.3> scale <14, 11.5, 11.5> }
          cylinder { <-14, 0, 0>, <-21.5, 0, 0>, 11 }
          cylinder { <14, 0, 0>, <21.5, 0, 0>, 11 }
          torus { 11, 1.2 rotate z * 90 translate x * -16.5 }
          torus { 11, 1.2 rotate z * 90 translate x * 16.5 }
          translate y * 24 Shiny(Glow)
        }
        // a row of stones of every gem colour set in the head
        #local Hues = array[7] { <0.95, 0.96, 1>, <0.91, 0.2, 0.24>, <1, 0.55, 0.1>, <1, 0.84, 0.04>,
                                 <0.18, 0.77, 0.35>, <0.12, 0.36, 1>, <0.7, 0.24, 1> }
        #for (i, 0, 6)
          sphere { 0, 1 scale <2.6, 2.6, 1.6> translate <(i - 3) * 5.6, 24, -11.4>
            texture { pigment { srgb Hues[i] }
              finish { ambient 0 emission 0.35 + 0.35 * Glow diffuse 0.7 specular 1 roughness 0.006 } } }
        #end
        cylinder { <0, -37, 0>, <0, 12, 0>, 3.6 Shiny(Glow) }
        cylinder { <0, -38, 0>, <0, -18, 0>, 4.3 Grip(Glow, <0.36, 0.14, 0.55>) }
        sphere { <0, -38.5, 0>, 4.6 Shiny(Glow) }
        translate y * 1.5
    #end
    rotate z * 10
  }
#end

#include "strip.inc"
