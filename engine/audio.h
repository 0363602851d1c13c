// Sounds played on channels over OpenAL.
//
// A short Sound is decoded whole at load time (Ogg Vorbis or 8/16-bit PCM WAV), so playing never
// stalls a frame. An Ogg Sound longer than about 12 s of stereo (music, ambience) is streamed
// instead: only its compressed bytes are held, and each channel playing it decodes about 1.5 s
// ahead, topped up by Audio_Update. OpenAL positions only mono sources, so pan and depth act on
// mono sounds; the game's effects are mono, music and ambience stereo.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Sound;
struct Channel;

enum : int { SOUND_LOOP = 1 };

struct AudioOptions {
    bool loopback = false; // headless: render into memory through ALC_SOFT_loopback
    int loopback_rate = 44100;
};

bool Audio_Open(const AudioOptions& opts); // false when no device: the game runs silent
void Audio_Close();
bool Audio_IsOpen();
// Loopback only: mixes the next `frames` stereo sample frames (16-bit interleaved) into out,
// topping up the streamed channels as it goes.
bool Audio_RenderLoopback(int frames, std::vector<std::int16_t>& out);
// Every main-loop pass: decodes the next pieces of the streamed sounds that are playing. A few
// hundred microseconds at most; a channel left without it for longer than its queue lasts falls
// silent until the next call, then plays on from where it stopped.
void Audio_Update();

Sound* LoadSound(const std::string& url, int flags = 0);
int Sound_Channels(Sound* sound); // 1 mono, 2 stereo
int Sound_SampleRate(Sound* sound);
int Sound_LengthMs(Sound* sound);
const std::vector<std::int16_t>& Sound_Samples(Sound* sound); // decoded, interleaved

Channel* AllocChannel();
// Starts the sound on the channel, stopping what played there; a null channel takes a temporary
// one.
Channel* PlaySound(Sound* sound, Channel* channel = nullptr);
Channel* CueSound(Sound* sound, Channel* channel = nullptr); // as PlaySound but paused

void Channel_Stop(Channel* ch);
void Channel_SetPaused(Channel* ch, bool paused);
void Channel_SetVolume(Channel* ch, float volume); // 0 silent .. 1 full
void Channel_SetPan(Channel* ch, float pan);       // -1 left .. 1 right
void Channel_SetDepth(Channel* ch, float depth);   // -1 .. 1, front/back
void Channel_SetRate(Channel* ch, float rate);     // 1 recorded pitch, 2 an octave up
int Channel_Playing(Channel* ch);                  // 1 while a non-paused sound plays on it
