// The music playlist and the winter ambience. Six carols play one at a time on two music
// channels, cross-fading when the track changes (the menus always keep the first); a looping
// ambience plays on two more channels whose loudness follows the cloud layers of the scenery.
// This module also owns the start-up probe that decides whether sound works at all, and the
// silence of music and ambience while the game window is inactive.
//
// A track is opened the first time it is needed, behind a "Loading..." notice, and kept until the
// program ends; it plays from its compressed file, decoded a little ahead each frame (the engine
// streams every long sound). Every request is ignored while AudioOff is set.
#pragma once

#include "engine/audio.h"

struct Font;

constexpr int Music_Tracks = 6;
constexpr int Music_MenuTrack = 0; // the menus always play this one

// The carol files, by track number; each lives under the sound folder (Snd_Folder).
inline constexpr const char* kMusicTrackFiles[Music_Tracks] = {
    "KV_Away_in_a_Manger.ogg",       "KV_Angels_We_Have_Heard.ogg", "Kv_Silent_Night.ogg",
    "KV_O_Come_All_Ye_Faithful.ogg", "KV_Amazing_Grace.ogg",        "KV_Auld Lang Syne.ogg",
};

// How Music_LoadTrack shows its notice.
enum MusicLoadingScreen : int {
    MUSIC_LOADING_SHADED = 0, // darkens the whole display under the notice
    MUSIC_LOADING_PLAIN = 1,  // the notice alone, over what is drawn (the logo screens)
    MUSIC_LOADING_NONE = 2,   // nothing drawn
};

// The ambience's fade state.
enum AmbienceState : int {
    AMB_OFF = 0, // nothing is updated
    AMB_FADE_IN = 1,
    AMB_STEADY = 2,
    AMB_FADE_OUT = 3,
};

// Music state.
extern Sound* MusicTracks[Music_Tracks]; // null until decoded (or when decoding failed)
extern int ActiveMusicChannel;           // index into MusicChannels of the current track
extern int OtherMusicChannel;            // the one fading out
extern int CurrentTrack;                 // 0 .. 5
extern float MusicFadeInVol, MusicFadeOutVol;
extern int TrackJustLoaded; // 1 when the latest Music_LoadTrack decoded a file

// The font of the "Loading..." notice; the start-up sets it once the fonts are loaded (null
// draws with the built-in font).
extern Font* Music_LoadingFont;

// Ambience state.
extern int AmbKindA, AmbKindB; // cloud layer id 1 .. 3 sounding on channel A and on channel B
extern int AmbState;           // AMB_OFF .. AMB_FADE_OUT
extern float AmbFadeIn, AmbFadeOut;

// The current player's music and ambience volumes (0 for a player slot out of range).
float Music_Volume();
float Amb_Volume();

// Draws the "Loading..." notice as `screen` asks, without presenting the frame.
void Music_DrawLoading(int screen);
// True while the track has not been decoded and has not failed to decode.
bool Music_NeedsDecoding(int track);
// Shows "Loading..." as `screen` asks and decodes the track if it is not decoded yet; returns 1.
int Music_LoadTrack(int track, int screen);
// Starts a track (cross-fading from the current one when asked); returns the track, or -1 when
// music is off (the player's music volume is 0, or no sound output).
int Music_Play(int track, int crossfade);
// Music_Play with cross-fade; on success the track becomes CurrentTrack.
int Music_Start(int track);
// Cross-fades to the next track, back to 0 after the last.
void Music_Next();
// Per frame while the window is active, after the effect updates: the menu tune, restarting an
// ended track, and both fades.
void Music_Update();
// Volume 0 on both music and both ambience channels; every pass while the window is inactive.
void Audio_Silence();
// After the logos: starts the menu tune and, when no channel will play, turns sound off for the
// rest of the run with a line on the standard output.
void Audio_StartProbe();

// (Re)starts the ambience on channel A (kind AmbKindA) or B (kind AmbKindB).
void Amb_StartA();
void Amb_StartB();
// Play begins: both channels start on the scenery's cloud layers and fade in.
void Amb_Start();
// The options screen: Amb_Preview on entry, Amb_Keep every active frame, so channel A plays at
// exactly the ambience volume being chosen.
void Amb_Preview();
void Amb_Keep();
// Per frame on the screens that keep the ambience: follows the scenery, fades, loops.
void Amb_Update();
