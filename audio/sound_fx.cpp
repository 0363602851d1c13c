#include "audio/sound_fx.h"

#include "data/players.h"
#include "engine/system.h"

#include <cmath>
#include <cstdio>
#include <string>

Sound *SndHammer1, *SndHammer2, *SndGemMove, *SndClickGem, *Snd4Gem, *SndBoulder, *SndGetHammer,
    *SndClick;
Sound* SoundFx[SoundFx_Slots] = {};
Channel* SfxChannels[SfxChannels_Max] = {};
int LastSfxChannel = -1;
int AudioOff = 0;
ManyPiecesOneSound PiecesSounds[SoundFx_Slots];
std::vector<Snd_Delayed> DelayedSounds;
std::vector<Snd_Dynamic> DynamicSounds;
Channel* MusicChannels[2] = {};
Channel* AmbChannels[4] = {};
const int* Snd_BoardOffsetX = nullptr;

namespace {

constexpr int kGameOverStepMs = 16;
constexpr float kGameOverStep = 0.0025f;
constexpr float kGameOverLowest = 0.2f;

// Each pool slot plays on a channel of its own, so a finished channel that a slot (or a request)
// still refers to is never handed to another sound behind its back.
Channel* PoolVoice[SfxChannels_Max] = {};
std::uint64_t PoolStartId[SfxChannels_Max] = {};
std::uint64_t StartCounter = 0;

struct PiecesVolume {
    int record;
    float factor;
};
// Shields knocked off, bombs exploding, lasers firing (slot 18 holds no sound).
constexpr PiecesVolume kPiecesVolumes[] = {
    {SND_CHAIN_OFF, 0.5f}, {SND_EXPLOSION, 0.3f}, {SND_LASER, 0.5f}};

bool Silenced() {
    return AudioOff == 1 || Snd_FxVolume() == 0.0f;
}

float PanFromX(int x) {
    return static_cast<float>(x) * 2.0f / static_cast<float>(Snd_DisplayWidth) - 1.0f;
}

Channel* Voice(int slot) {
    if (!PoolVoice[slot]) PoolVoice[slot] = AllocChannel();
    return PoolVoice[slot];
}

// Scans the pool from slot 0 and starts the sound on the first slot that is free or whose sound
// has ended. When all 128 still play, the whole pool is silenced and this sound is dropped, so
// the next request finds slot 0 free.
Channel* StartOnFreeChannel(Sound* sound, float vol, float rate, float pan, float depth) {
    LastSfxChannel = -1;
    for (int i = 0; i < SfxChannels_Max; ++i) {
        if (SfxChannels[i] && !Channel_Playing(SfxChannels[i])) {
            Channel_Stop(SfxChannels[i]);
            SfxChannels[i] = nullptr;
        }
        if (SfxChannels[i]) continue;
        Channel* ch = CueSound(sound, Voice(i));
        SfxChannels[i] = ch;
        PoolStartId[i] = ++StartCounter;
        LastSfxChannel = i;
        Channel_SetRate(ch, rate);
        Channel_SetPan(ch, pan);
        Channel_SetVolume(ch, vol);
        Channel_SetDepth(ch, depth);
        Channel_SetPaused(ch, false);
        return ch;
    }
    for (Channel*& ch : SfxChannels) {
        Channel_Stop(ch);
        ch = nullptr;
    }
    return nullptr;
}

// Copies of one sound started in the same pass (a match breaking six ice cells at once) would
// add up sample for sample: six times the amplitude of one, far past full scale. Each copy
// after the first is detuned a little, alternately up and down, and turned down, so together
// they sound like several sounds and add up like unrelated ones. Counted per pass.
struct PassStart {
    Sound* sound;
    int count;
};
std::vector<PassStart> StartsThisPass;
constexpr float kCopyDetune = 0.03f; // per step, up to 4 steps either side

int EarlierStartsThisPass(Sound* sound) {
    for (PassStart& s : StartsThisPass)
        if (s.sound == sound) return s.count++;
    StartsThisPass.push_back({sound, 1});
    return 0;
}

void SpreadCopy(int copy, float& vol, float& rate) {
    if (copy == 0) return;
    const int step = (copy - 1) % 8 / 2 + 1;
    rate *= 1.0f + kCopyDetune * static_cast<float>(copy % 2 ? step : -step);
    vol /= std::sqrt(static_cast<float>(copy + 1));
}

// Every immediate request passes here. Half of the ice breaks ask for rate 0: that means the
// recorded pitch, so every broken ice is heard and its channel ends like any other (held at the
// slowest pitch it would never end and the pool would fill up). A negative rate or one that is
// not a number is not played.
Channel* Request(Sound* sound, float vol, float rate, float pan, float depth) {
    if (rate == 0.0f) rate = 1.0f;
    if (Silenced() || !sound || !(rate > 0.0f) || !std::isfinite(rate)) return nullptr;
    SpreadCopy(EarlierStartsThisPass(sound), vol, rate);
    return StartOnFreeChannel(sound, vol, rate, pan, depth);
}

std::uint64_t StartIdOf(const Channel* ch) {
    return LastSfxChannel >= 0 && SfxChannels[LastSfxChannel] == ch ? PoolStartId[LastSfxChannel]
                                                                    : 0;
}

// True while the sound a request started still plays on its channel (and the pool has not
// handed that channel to another sound since).
bool StillPlaying(Channel* ch, std::uint64_t start_id) {
    if (!ch || !Channel_Playing(ch)) return false;
    for (int i = 0; i < SfxChannels_Max; ++i)
        if (PoolVoice[i] == ch) return SfxChannels[i] == ch && PoolStartId[i] == start_id;
    return false;
}

// Advances a delayed request by one frame; false when it is done and leaves the list.
bool UpdateDelayed(Snd_Delayed& r, float delta_ms) {
    if (r.delay_play != 0) {
        r.delay_play = Trunc(r.delay_play - delta_ms);
        if (r.delay_play > 0) return true;
        r.delay_play = 0;
        r.channel = Snd_Play(r.snd, r.pan, r.vol, r.rate, 1.0f);
        r.start_id = StartIdOf(r.channel);
        return r.channel != nullptr;
    }
    if (!StillPlaying(r.channel, r.start_id)) return false;
    r.depth += r.depth_step * delta_ms;
    Channel_SetDepth(r.channel, r.depth);
    return true;
}

// Advances a dynamic request by one frame; false when its sound has ended.
bool UpdateDynamic(Snd_Dynamic& r, float delta_ms) {
    if (!StillPlaying(r.channel, r.start_id)) return false;
    r.timer_change = Trunc(r.timer_change - delta_ms);
    if (r.timer_change <= 0 && r.snd == SND_GAME_OVER) {
        // At most one step a frame, and the overshoot is not carried over.
        r.rate -= kGameOverStep;
        if (r.rate < kGameOverLowest) r.rate = kGameOverLowest;
        Channel_SetRate(r.channel, r.rate);
        r.timer_change = kGameOverStepMs;
    }
    return true;
}

template <class T, class Fn> void UpdateList(std::vector<T>& list, float delta_ms, Fn update) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i)
        if (update(list[i], delta_ms)) list[kept++] = list[i];
    list.resize(kept);
}

Sound* LoadFx(const char* name) {
    Sound* s = LoadSound(std::string("incbin::") + Snd_Folder + name, 0);
    if (!s) std::fprintf(stderr, "snowmere: sound %s could not be loaded\n", name);
    return s;
}

// Slots not listed stay empty: a request for them plays nothing.
void LoadSlots() {
    for (const SlotSoundFile& f : kSlotSoundFiles)
        SoundFx[f.slot] = LoadFx(f.file);
    // The three ambience kinds share one recording.
    SoundFx[SND_AMBIENT_B] = SoundFx[SND_AMBIENT_C] = SoundFx[SND_AMBIENT_A];
}

} // namespace

float Snd_FxVolume() {
    if (Player_Crt < 0 || Player_Crt >= Players_Max) return 0.0f;
    return FxVolume[Player_Crt];
}

void Snd_Load() {
    static bool loaded = false; // the program may start the game more than once (tests)
    if (!loaded) LoadSlots();
    loaded = true;
    DelayedSounds.clear();
    DynamicSounds.clear();
    for (ManyPiecesOneSound& r : PiecesSounds)
        r = ManyPiecesOneSound{};
    for (int i = 1; i <= 3; ++i)
        if (!AmbChannels[i]) AmbChannels[i] = AllocChannel();
    for (Channel*& ch : MusicChannels)
        if (!ch) ch = AllocChannel();
}

Channel* Snd_Play(int slot, float pan, float vol, float rate, float depth) {
    if (slot < 0 || slot >= SoundFx_Slots) return nullptr;
    return Request(SoundFx[slot], vol, rate, pan, depth);
}

Channel* Snd_PlayObj(Sound* sound, float vol, float rate, int x, int /*y*/) {
    return Request(sound, vol, rate, PanFromX(x), 1.0f);
}

Channel* Snd_PlayAt(int slot, float vol, float rate, int x, int /*y*/, int screen) {
    if (slot < 0 || slot >= SoundFx_Slots) return nullptr;
    if (screen == SND_AT_BOARD && Snd_BoardOffsetX) x -= *Snd_BoardOffsetX;
    return Request(SoundFx[slot], vol, rate, PanFromX(x), 0.0f);
}

void Snd_AddDelayed(int slot, float rate, float vol, int delay_ms, float depth_step, int x,
                    int /*y*/) {
    if (AudioOff == 1) return;
    Snd_Delayed r;
    r.snd = slot;
    r.rate = rate;
    r.pan = PanFromX(x);
    r.vol = vol;
    r.delay_play = delay_ms == 0 ? 1 : delay_ms;
    r.depth = -1.0f;
    r.depth_step = depth_step;
    DelayedSounds.push_back(r);
}

void Snd_AddDynamic(int slot, float pan, float vol, float rate) {
    if (AudioOff == 1) return;
    Snd_Dynamic r;
    r.snd = slot;
    r.rate = rate;
    r.pan = pan;
    r.vol = vol;
    r.timer_change = slot == SND_GAME_OVER ? kGameOverStepMs : 10000000;
    r.channel = Snd_Play(slot, pan, vol, rate, 0.0f);
    r.start_id = StartIdOf(r.channel);
    DynamicSounds.push_back(r);
}

void Snd_UpdateDelayed(float delta_ms) {
    StartsThisPass.clear(); // a new pass
    if (AudioOff == 1) return;
    UpdateList(DelayedSounds, delta_ms, UpdateDelayed);
}

void Snd_UpdateDynamic(float delta_ms) {
    if (AudioOff == 1) return;
    UpdateList(DynamicSounds, delta_ms, UpdateDynamic);
}

void Snd_ClearRequests() {
    DelayedSounds.clear();
    DynamicSounds.clear();
}

void Snd_ResetPieces() {
    for (ManyPiecesOneSound& r : PiecesSounds)
        r.start = 0;
}

void Snd_CountPiece(int record, int x, int y) {
    if (record < 0 || record >= SoundFx_Slots) return;
    ManyPiecesOneSound& r = PiecesSounds[record];
    ++r.start;
    r.X = x;
    r.Y = y;
}

void Snd_FlushPieces() {
    for (const PiecesVolume& p : kPiecesVolumes) {
        const ManyPiecesOneSound& r = PiecesSounds[p.record];
        if (r.start != 0)
            Snd_PlayAt(p.record, p.factor * Snd_FxVolume(), 1.0f, r.X, r.Y, SND_AT_BOARD);
    }
}

int Snd_PlayingCount() {
    int n = 0;
    for (Channel* ch : SfxChannels)
        if (ch && Channel_Playing(ch)) ++n;
    return n;
}
