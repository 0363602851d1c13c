// The board's fade-in when a level starts: a ripple spreading from one, two or four cells.
#pragma once

extern int Intro_Active; // 1 while the ripple runs: no clicks, no stuck-board step, no clock
extern int Ripple_Pattern;
constexpr int Ripple_Side = 50;
extern float Ripple_Now[Ripple_Side][Ripple_Side]; // [x + 1][y + 1] belongs to cell (x, y)
extern float Ripple_Prev[Ripple_Side][Ripple_Side];

void Ripple_Start();
void Ripple_Step();
float Ripple_Alpha(int x, int y);
float Ripple_AlphaAt(int px, int py); // -1 for a point off the grid
