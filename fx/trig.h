// Sine and cosine of the whole degrees 0 to 360, for headings truncated to whole degrees.
#pragma once

extern float SinTable[361];
extern float CosTable[361];

// Fills both tables; once at start-up (repeating it is harmless).
void Trig_Init();

// The table entry for any whole-degree heading, brought into 0..360 first.
float Trig_Sin(int deg);
float Trig_Cos(int deg);
