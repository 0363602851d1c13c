// The unattended game (--autoplay): every pass the level bot's choices reach the game as input
// events, as a player's would: the menus, the level chooser, the introduction, the play itself,
// the dialogs and the level end. A demo for players, and what long soak runs play.
#pragma once

extern int Autoplay_Enabled; // 1: Autoplay_Pass runs every main-loop pass

// Once per pass, after the platform's events are read and before the pass acts on them.
void Autoplay_Pass();
