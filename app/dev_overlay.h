// Developer overlays: figures drawn over a screen while a key chord is held (F1 with the digit 1
// or with Y, F2 with U), and F2 with L loading the music tracks one after another. They work
// only with the developer keys on (--dev-keys); none is needed to play.
#pragma once

// Reads the chords at the start of a pass, before a dialog takes the keys for itself.
void DevOverlay_BeginPass();
void DevOverlay_Frame(); // every screen, after the dialogs: frame, snow and music figures
void DevOverlay_Menu();  // the main menu: the dialog flag and the frame rate
void DevOverlay_Game();  // the game screen: frame, music, pointer, memory; difficulty; tracks
void DevOverlay_Intro(); // the level introduction: frame rate and particles
