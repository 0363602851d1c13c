// The sound effects manager: every short sound of the game goes through these requests. It owns
// the table of effect sounds, a pool of 128 effect channels, the delayed and the dynamic requests,
// and the records through which the board plays one sound for many pieces at once. Music and
// ambience have channels of their own and never use the pool.
//
// Callers pass finished volumes (their factor times the current player's effect volume); every
// request is dropped while that effect volume is exactly 0 or while AudioOff is set.
#pragma once

#include "engine/audio.h"

#include <cstdint>
#include <vector>

constexpr int SoundFx_Slots = 28;

// The slots of SoundFx that hold a sound (every other slot stays empty and plays nothing), and
// the one empty slot the board still counts laser pieces in, so a laser sound can fill it later.
enum SoundSlot : int {
    SND_DING = 0,       // one per broken piece, as delayed requests
    SND_CHAIN_OFF = 2,  // a chain knocked off a piece (coalesced)
    SND_TIME_ALARM = 5, // the candle's last seconds
    SND_EXPLOSION = 6,  // bombs (coalesced) and a launched snowball
    SND_REFUSAL = 7,    // an action that is not allowed
    SND_TRIANGLE = 15,  // loaded, requested by nothing
    SND_WIN_LEVEL = 16, // the end of the win phase on the level-end screen
    SND_GAME_OVER = 17, // a lost game, as a dynamic request sliding down
    SND_LASER = 18,     // laser pieces (coalesced); the slot stays empty
    SND_AMBIENT_A = 20, // 20, 21 and 22 share the ambient loop
    SND_AMBIENT_B = 21,
    SND_AMBIENT_C = 22,
    SND_ICE_BREAK = 27, // ice or snow broken
};
constexpr int SfxChannels_Max = 128;
constexpr int Snd_DisplayWidth = 800; // pan spans the display: x 0 is hard left

// One sound for many pieces of a resolution pass: counted per piece, played once at the end.
struct ManyPiecesOneSound {
    int X = 0, Y = 0; // board position of the latest piece counted
    float rate = 1.0f;
    float Vol = 1.0f;
    int start = 0; // pieces counted in the current pass; 0 means nothing to play
};

// A sound that starts after a pause.
struct Snd_Delayed {
    int snd = 0;
    float rate = 1.0f;
    float pan = 0.0f;
    float vol = 1.0f;
    int delay_play = 0; // ms left before it starts; 0 once started
    float depth = -1.0f;
    float depth_step = 0.0f; // change of depth per ms of play
    Channel* channel = nullptr;
    std::uint64_t start_id = 0; // which start on that channel is ours (pool channels are reused)
};

// A sound whose rate keeps changing while it plays (the sliding game-over jingle).
struct Snd_Dynamic {
    int snd = 0;
    Channel* channel = nullptr;
    float rate = 1.0f;
    float pan = 0.0f;
    float vol = 1.0f;
    int timer_change = 0; // ms until the next rate change
    std::uint64_t start_id = 0;
};

// The named effect sounds, loaded at start-up with the pictures and played with Snd_PlayObj.
extern Sound *SndHammer1, *SndHammer2, *SndGemMove, *SndClickGem, *Snd4Gem, *SndBoulder,
    *SndGetHammer, *SndClick;

// The effect sound files, each written only here: the start-up registers, loads and checks them
// from these tables. Every file lives under the registered folder ".\sounds\".
struct SlotSoundFile {
    int slot;
    const char* file;
};
inline constexpr SlotSoundFile kSlotSoundFiles[] = {
    {SND_DING, "ding1.wav"},
    {SND_CHAIN_OFF, "Shieldout.wav"},
    {SND_TIME_ALARM, "bub_timealarm.ogg"},
    {SND_EXPLOSION, "explo3.wav"},
    {SND_REFUSAL, "error1.wav"},
    {SND_TRIANGLE, "triangle1.wav"},
    {SND_WIN_LEVEL, "WinLevel.ogg"},
    {SND_GAME_OVER, "GameOver.ogg"},
    {SND_AMBIENT_A, "KV_Ambient.ogg"}, // the three ambience slots share this one recording
    {SND_ICE_BREAK, "glass_breaking2.ogg"},
};
struct NamedSoundFile {
    Sound** global;
    const char* file;
};
inline constexpr NamedSoundFile kNamedSoundFiles[] = {
    {&SndHammer1, "hammer01.ogg"},    {&SndHammer2, "hammer02.ogg"}, {&SndGemMove, "gem_move.ogg"},
    {&SndClickGem, "click_gem.ogg"},  {&Snd4Gem, "4gem.ogg"},        {&SndBoulder, "Boulder.ogg"},
    {&SndGetHammer, "GetHammer.ogg"}, {&SndClick, "click.wav"},
};
inline constexpr const char* Snd_Folder = ".\\sounds\\";

extern Sound* SoundFx[SoundFx_Slots];         // empty slots stay null
extern Channel* SfxChannels[SfxChannels_Max]; // null: the pool slot is free
extern int LastSfxChannel;                    // pool slot of the latest start, -1 if none
extern int AudioOff;                          // 1: no sound output, every request is ignored
extern ManyPiecesOneSound PiecesSounds[SoundFx_Slots];
extern std::vector<Snd_Delayed> DelayedSounds;
extern std::vector<Snd_Dynamic> DynamicSounds;
extern Channel* MusicChannels[2]; // for the music player
extern Channel* AmbChannels[4];   // for the ambience: entries 1 and 2 play, 3 is spare, 0 empty
// The board's horizontal drawing offset, read by Snd_PlayAt for board positions. The board points
// it at its own offset; null counts as 0.
extern const int* Snd_BoardOffsetX;

// Loads the effect sounds, clears the request lists and records, allocates the music and ambience
// channels. Run once at start-up, after the device is opened.
void Snd_Load();

// Immediate requests. They return the channel the sound started on, or null when it did not
// start (silenced, empty slot, rate 0 or below, or the whole pool busy).
Channel* Snd_Play(int slot, float pan, float vol, float rate, float depth);
Channel* Snd_PlayObj(Sound* sound, float vol, float rate, int x, int y);
// Where Snd_PlayAt's position is measured.
enum SoundPlace : int {
    SND_AT_BOARD = 0,   // a board position: the board's drawing offset is taken off x first
    SND_AT_DISPLAY = 1, // a display position (the mouse)
};
Channel* Snd_PlayAt(int slot, float vol, float rate, int x, int y, int screen);

// Queues a sound that starts after `delay_ms` (0 means on the next update).
void Snd_AddDelayed(int slot, float rate, float vol, int delay_ms, float depth_step, int x, int y);
// Starts a sound whose rate the per-frame update keeps changing.
void Snd_AddDynamic(int slot, float pan, float vol, float rate);
// Per-frame updates with the frame time in ms, in this order, while the game window is active.
void Snd_UpdateDelayed(float delta_ms);
void Snd_UpdateDynamic(float delta_ms);
// Empties both request lists; sounds already playing go on.
void Snd_ClearRequests();

// Coalesced requests of a resolution pass: reset at its start, count one event per piece, flush
// at its end (one sound per counted record, in slot order, at the last counted position).
void Snd_ResetPieces();
void Snd_CountPiece(int record, int x, int y);
void Snd_FlushPieces();

// The current player's effect volume, the factor every caller multiplies its own by.
float Snd_FxVolume();

// Pool channels playing now (for state dumps).
int Snd_PlayingCount();
