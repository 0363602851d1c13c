// The seven gems. Kind (0..6) picks the shape and colours; the loop is a glint that sweeps
// to and fro over the lit facets and a gentle shine pulse, while the silhouette stays still.
#version 3.7;
global_settings { assumed_gamma 1.0 max_trace_level 5 }
#include "studio.inc"

// ---- colours: each ramp runs from the deepest shade to white -----------------------------
#macro GemRamp(D0, D1, Base, L1, L2, L3)
  color_map { [0 srgb D0] [0.24 srgb D1] [0.48 srgb Base] [0.6 srgb L1] [0.78 srgb L2]
              [0.92 srgb L3] [1 srgb 1] }
#end
#switch (Kind)
  #case (0) #declare Ramp = GemRamp(<0.42, 0.43, 0.56>, <0.66, 0.67, 0.79>, <0.87, 0.88, 0.96>,
                                    <0.93, 0.93, 0.99>, <0.97, 0.97, 1>, <1, 1, 1>) #break
  #case (1) #declare Ramp = GemRamp(<0.30, 0.02, 0.06>, <0.58, 0.04, 0.10>, <0.87, 0.14, 0.19>,
                                    <0.93, 0.24, 0.27>, <1, 0.52, 0.52>, <1, 0.80, 0.78>) #break
  #case (2) #declare Ramp = GemRamp(<0.42, 0.13, 0.0>, <0.78, 0.32, 0.0>, <1, 0.55, 0.10>,
                                    <1, 0.64, 0.20>, <1, 0.82, 0.50>, <1, 0.95, 0.82>) #break
  #case (3) #declare Ramp = GemRamp(<0.48, 0.30, 0.0>, <0.82, 0.60, 0.0>, <1, 0.84, 0.04>,
                                    <1, 0.90, 0.22>, <1, 0.96, 0.60>, <1, 1, 0.88>) #break
  #case (4) #declare Ramp = GemRamp(<0.02, 0.22, 0.10>, <0.07, 0.48, 0.21>, <0.18, 0.77, 0.35>,
                                    <0.30, 0.85, 0.46>, <0.64, 0.95, 0.72>, <0.90, 1, 0.92>) #break
  #case (5) #declare Ramp = GemRamp(<0.03, 0.07, 0.34>, <0.07, 0.21, 0.74>, <0.12, 0.36, 1>,
                                    <0.26, 0.50, 1>, <0.60, 0.75, 1>, <0.88, 0.93, 1>) #break
  #else     #declare Ramp = GemRamp(<0.24, 0.04, 0.42>, <0.48, 0.13, 0.78>, <0.70, 0.24, 1>,
                                    <0.78, 0.40, 1>, <0.90, 0.70, 1>, <0.97, 0.92, 1>)
#end

#include "facets.inc"

#macro HeartOutline(N)
  #local P = array[N];
  #for (i, 0, N - 1)
    #local Ang = 2 * pi * i / N;
    #local P[i] = <16 * pow(sin(Ang), 3), 13 * cos(Ang) - 5 * cos(2 * Ang) - 2 * cos(3 * Ang) - cos(4 * Ang), 0>;
  #end
  P
#end

#macro DropOutline(N)
  #local P = array[N];
  #for (i, 0, N - 1)
    #local Ang = 2 * pi * i / N;
    #local P[i] = <sin(Ang) * pow(abs(sin(Ang / 2)), 1.1), cos(Ang), 0>;
  #end
  P
#end

#macro Scale2(P, N, Sx, Sy, Dx, Dy)
  #for (i, 0, N - 1)
    #declare P[i] = <P[i].x * Sx + Dx, P[i].y * Sy + Dy, 0>;
  #end
#end

#if (Kind > 0)
#declare GemShape = mesh {
  #switch (Kind)
    #case (1) // heart, 40 x 37
      #local N = 16;
      #local P = HeartOutline(N);
      Scale2(P, N, 1.34, 1.33, 0, 2.6)
      Bevel(P, N, <0, -1.5, 0>, 0.78, 3.6, 0.55, 6.2)
    #break
    #case (2) // hexagon, flat top, 42 x 36
      #local P = Polygon(6, 20.4, 20.4, 0);
      Bevel(P, 6, <0, 0, 0>, 0.8, 3.6, 0.58, 6.2)
    #break
    #case (3) // five-point star, raised ridges
      #local N = 10;
      #local P = array[N];
      #for (i, 0, N - 1)
        #local r = (mod(i, 2) = 0 ? 24 : 11.9);
        #local a = pi / 2 + 2 * pi * i / N;
        #local P[i] = <r * cos(a), r * sin(a) - 1.5, 0>;
      #end
      #local C = <0, -1.5, -8>;
      #for (i, 0, N - 1)
        triangle { C, P[i], P[mod(i + 1, N)] }
      #end
    #break
    #case (4) // emerald cut: long octagon, standing, step facets
      #local P = array[8] { <-8, 21, 0>, <-15, 14, 0>, <-15, -14, 0>, <-8, -21, 0>,
                            <8, -21, 0>, <15, -14, 0>, <15, 14, 0>, <8, 21, 0> }
      #local C = <0, 0, 0>;
      #local G = Ring(P, 8, C, 1, 1, 0);
      #local R1 = Ring(P, 8, C, 0.81, 0.865, -3.2);
      #local R2 = Ring(P, 8, C, 0.63, 0.735, -5.6);
      #local R3 = Ring(P, 8, C, 0.50, 0.64, -6.8);
      Band(G, R1, 8)
      Band(R1, R2, 8)
      Band(R2, R3, 8)
      Table(R3, 8, <0, 0, -6.8>)
    #break
    #case (5) // teardrop, point up, 34 x 44
      #local N = 16;
      #local P = DropOutline(N);
      Scale2(P, N, 22, 21.5, 0, 0)
      Bevel(P, N, <0, -5, 0>, 0.78, 3.6, 0.55, 6.2)
    #break
    #case (6) // triangle, point up, slightly full sides
      #local P = array[6];
      #for (i, 0, 5)
        #local a = pi / 2 + 2 * pi * i / 6;
        #local r = (mod(i, 2) = 0 ? 26.2 : 14.6);
        #local P[i] = <r * cos(a), r * sin(a) - 6.1, 0>;
      #end
      Crown(P, 6, <0, -6.1, 0>, 0.52, 6.5, 0.9, 0.5)
    #break
  #end
}
#end

// Where each gem's crisp highlight sits (upper left of its table) and how big it is.
#switch (Kind)
  #case (0) #declare Hi = <-6.5, 7, 0>; #declare HiR = 2.6; #break
  #case (1) #declare Hi = <-10, 8.5, 0>; #declare HiR = 2.3; #break
  #case (2) #declare Hi = <-5, 3.5, 0>; #declare HiR = 2.1; #break
  #case (3) #declare Hi = <-3, 3.5, 0>; #declare HiR = 1.9; #break
  #case (4) #declare Hi = <-4.5, 9.5, 0>; #declare HiR = 2.2; #break
  #case (5) #declare Hi = <-5, 0, 0>; #declare HiR = 2.3; #break
  #else     #declare Hi = <-4.5, 0.5, 0>; #declare HiR = 2.1;
#end

#macro Highlight(Strength)
  disc { <0, 0, 0>, z, 1 scale <1.5 * HiR, 0.8 * HiR, 1> rotate z * 40 translate Hi + <0, 0, -30>
    no_shadow no_reflection
    texture { pigment { rgbt <1, 1, 1, 1 - Strength> } finish { emission 1 diffuse 0 } } }
#end

#macro Frame(T)
  #local Phase = 2 * pi * T;
  #local Pulse = sin(Phase);
  #local Polar = 1.2 + 0.25 * sin(2 * Phase);
  // the glint sweeps to and fro over the lit upper-left facets; it never reaches the shaded
  // lower facets, where it would show as a bright sliver under the gem
  #local Az = 2.0 + 0.8 * sin(Phase);
  #local GlintDir = <sin(Polar) * cos(Az), sin(Polar) * sin(Az), -cos(Polar)>;
  #if (Kind = 0)
    // the pearl: soft lustre with a faint play of colour instead of facets
    Studio(Ramp, 0.03 * Pulse, GlintDir, 0.45, 1.3)
    light_source { KeyDir * 1000 color rgb 0.95 parallel point_at 0 shadowless }
    light_source { <1, -0.8, -0.6> * 1000 color srgb <0.50, 0.44, 0.60> parallel point_at 0 shadowless }
    sphere { 0, 16.7
      texture {
        pigment { srgb <0.93, 0.93, 1> }
        finish { ambient 0 emission 0.22 + 0.03 * Pulse diffuse 0.76 brilliance 1.6
                 irid { 0.26 thickness 0.32 turbulence 0.1 } reflection { 0.26 } }
      }
    }
  #else
    Studio(Ramp, 0.035 * Pulse, GlintDir, 0.3, 1.6)
    object { GemShape texture { pigment { rgb 0 } finish { Mirror } } }
  #end
  Highlight(0.85 + 0.15 * Pulse)
#end

#include "strip.inc"
