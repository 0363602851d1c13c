// Sounds and channels over OpenAL Soft.
//
// Sounds and channels are owned here and live until the program ends, so a pointer the game keeps
// never dangles, also across Audio_Close / Audio_Open. Their OpenAL objects are made on first use
// while a device is open; without a device every call does nothing and the game runs silent.
#include "engine/audio.h"

#include "engine/audio_decode.h"
#include "engine/stream.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cmath>
#include <memory>

struct Sound {
    DecodedAudio audio; // samples may be released once OpenAL holds its own copy
    std::size_t sample_count = 0;
    std::vector<std::uint8_t> encoded; // kept for long sounds, to decode them again on demand
    bool loop = false;
    ALuint buffer = 0;
};

struct Channel {
    ALuint source = 0;
    bool temporary = false; // taken from the pool by PlaySound with no channel
    bool cued = false;      // set up by CueSound, waiting for Channel_SetPaused(false)
    bool paused = false;
    float volume = 1.0f, pan = 0.0f, depth = 0.0f, rate = 1.0f;
    std::uint64_t started = 0; // start order, so the pool reuses the longest-finished first
};

namespace {

struct AudioDevice {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    bool loopback = false;
    LPALCRENDERSAMPLESSOFT render = nullptr;
};

AudioDevice Dev;
std::vector<std::unique_ptr<Sound>> Sounds;
std::vector<std::unique_ptr<Channel>> Channels;
std::vector<Channel*> Pool;
std::uint64_t StartCounter = 0;

// Sounds longer than this (music, ambience) keep only their compressed bytes once OpenAL has the
// samples, instead of a second decoded copy: about 17 MB saved per minute of stereo music.
constexpr std::size_t kKeepDecodedSamples = std::size_t(1) << 20;

// Enough for the game's 128 effect slots plus stragglers; beyond it the oldest is taken over.
constexpr std::size_t kPoolLimit = 160;

bool HasExtension(ALCdevice* device, const char* name) {
    return alcIsExtensionPresent(device, name) == ALC_TRUE;
}

ALCdevice* OpenLoopback(int rate) {
    if (!HasExtension(nullptr, "ALC_SOFT_loopback")) return nullptr;
    auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    auto supported = reinterpret_cast<LPALCISRENDERFORMATSUPPORTEDSOFT>(
        alcGetProcAddress(nullptr, "alcIsRenderFormatSupportedSOFT"));
    Dev.render = reinterpret_cast<LPALCRENDERSAMPLESSOFT>(
        alcGetProcAddress(nullptr, "alcRenderSamplesSOFT"));
    if (!open || !supported || !Dev.render) return nullptr;
    ALCdevice* device = open(nullptr);
    if (device && !supported(device, rate, ALC_STEREO_SOFT, ALC_SHORT_SOFT)) {
        alcCloseDevice(device);
        return nullptr;
    }
    return device;
}

// Head-related filtering would bleed a hard-left sound into the right ear; the game pans in
// plain stereo.
std::vector<ALCint> ContextAttributes(const AudioOptions& opts, ALCdevice* device) {
    std::vector<ALCint> attrs;
    if (opts.loopback)
        attrs = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                 ALC_SHORT_SOFT,           ALC_FREQUENCY,   opts.loopback_rate};
    if (HasExtension(device, "ALC_SOFT_HRTF"))
        attrs.insert(attrs.end(), {ALC_HRTF_SOFT, ALC_FALSE});
    attrs.push_back(0);
    return attrs;
}

ALint SourceState(ALuint source) {
    ALint state = AL_STOPPED;
    if (source) alGetSourcei(source, AL_SOURCE_STATE, &state);
    return state;
}

// Pan picks the left-right direction; depth swings the source from in front (1) over the
// listener (0) to behind (-1), which in stereo softens it without moving it sideways. A pan of
// -1 therefore always sounds only on the left.
void ApplyPosition(const Channel& ch) {
    float pan = std::clamp(ch.pan, -1.0f, 1.0f);
    float depth = std::clamp(ch.depth, -1.0f, 1.0f);
    float rest = std::sqrt(1.0f - pan * pan);
    float angle = (1.0f - depth) * 0.5f * 3.14159265f;
    alSource3f(ch.source, AL_POSITION, pan, rest * std::sin(angle), -rest * std::cos(angle));
}

// A rate of 0 or below is never an error: it is held just above 0, where the sound all but stands
// still. (Below 0 OpenAL would refuse the value and keep the old pitch.)
constexpr float kMinPitch = 1e-6f;

void ApplySettings(const Channel& ch) {
    alSourcef(ch.source, AL_GAIN, std::max(ch.volume, 0.0f));
    alSourcef(ch.source, AL_PITCH, std::max(ch.rate, kMinPitch));
    ApplyPosition(ch);
}

bool EnsureSource(Channel& ch) {
    if (!Dev.context) return false;
    if (ch.source) return true;
    alGetError();
    alGenSources(1, &ch.source);
    if (alGetError() != AL_NO_ERROR) {
        ch.source = 0;
        return false;
    }
    alSourcei(ch.source, AL_SOURCE_RELATIVE, AL_TRUE);
    ApplySettings(ch);
    return true;
}

// Decodes a sound again when its samples were released (a later Sound_Samples or re-opened
// device); the bytes decoded fine before, so this succeeds.
const std::vector<std::int16_t>& Samples(Sound& s) {
    if (s.audio.samples.empty() && !s.encoded.empty()) {
        Decode_Sound(s.encoded.data(), s.encoded.size(), s.audio);
    }
    return s.audio.samples;
}

void ReleaseSamplesIfLong(Sound& s) {
    if (s.encoded.empty() || s.audio.samples.size() <= kKeepDecodedSamples) return;
    std::vector<std::int16_t>().swap(s.audio.samples);
}

bool EnsureBuffer(Sound& s) {
    if (!Dev.context) return false;
    if (s.buffer) return true;
    Samples(s);
    const auto& a = s.audio;
    std::size_t bytes = a.samples.size() * sizeof(std::int16_t);
    if (bytes == 0 || bytes > 0x7FFFFFFF) return false;
    alGetError();
    alGenBuffers(1, &s.buffer);
    if (alGetError() != AL_NO_ERROR) {
        s.buffer = 0;
        return false;
    }
    alBufferData(s.buffer, a.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16,
                 a.samples.data(), static_cast<ALsizei>(bytes), a.rate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &s.buffer);
        s.buffer = 0;
        return false;
    }
    ReleaseSamplesIfLong(s);
    return true;
}

Channel* NewChannel(bool temporary) {
    Channels.push_back(std::make_unique<Channel>());
    Channel* ch = Channels.back().get();
    ch->temporary = temporary;
    return ch;
}

bool Free(const Channel* ch) {
    if (ch->cued || ch->paused) return false;
    ALint state = SourceState(ch->source);
    return state == AL_STOPPED || state == AL_INITIAL;
}

// A finished pool channel, the one that started longest ago, so that a caller still holding a
// channel that has just finished does not see it taken over at once.
Channel* TakeFromPool() {
    Channel* best = nullptr;
    for (Channel* ch : Pool)
        if (Free(ch) && (!best || ch->started < best->started)) best = ch;
    if (!best && Pool.size() < kPoolLimit) {
        best = NewChannel(true);
        Pool.push_back(best);
    }
    if (!best) // every pool channel busy: the oldest gives way
        best = *std::min_element(Pool.begin(), Pool.end(),
                                 [](Channel* a, Channel* b) { return a->started < b->started; });
    *best = Channel{best->source, true};
    if (best->source) ApplySettings(*best);
    return best;
}

Channel* Start(Sound* sound, Channel* channel, bool cue) {
    if (!sound) return channel;
    Channel* ch = channel ? channel : TakeFromPool();
    ch->started = ++StartCounter;
    if (!EnsureSource(*ch) || !EnsureBuffer(*sound)) return ch;
    alSourceStop(ch->source);
    alSourcei(ch->source, AL_BUFFER, static_cast<ALint>(sound->buffer));
    alSourcei(ch->source, AL_LOOPING, sound->loop ? AL_TRUE : AL_FALSE);
    ch->paused = false;
    ch->cued = cue;
    if (!cue) alSourcePlay(ch->source);
    return ch;
}

} // namespace

bool Audio_Open(const AudioOptions& opts) {
    if (Dev.context) Audio_Close();
    Dev.loopback = opts.loopback;
    Dev.device = opts.loopback ? OpenLoopback(opts.loopback_rate) : alcOpenDevice(nullptr);
    if (!Dev.device) return false;
    std::vector<ALCint> attrs = ContextAttributes(opts, Dev.device);
    Dev.context = alcCreateContext(Dev.device, attrs.data());
    if (!Dev.context || alcMakeContextCurrent(Dev.context) != ALC_TRUE) {
        Audio_Close();
        return false;
    }
    alDistanceModel(AL_NONE); // position gives direction only, never distance
    return true;
}

void Audio_Close() {
    if (Dev.context) {
        for (auto& ch : Channels)
            if (ch->source) {
                alSourceStop(ch->source);
                alDeleteSources(1, &ch->source);
                ch->source = 0;
            }
        for (auto& s : Sounds)
            if (s->buffer) {
                alDeleteBuffers(1, &s->buffer);
                s->buffer = 0;
            }
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(Dev.context);
    }
    if (Dev.device) alcCloseDevice(Dev.device);
    for (auto& ch : Channels)
        ch->cued = ch->paused = false;
    Dev = AudioDevice{};
}

bool Audio_IsOpen() {
    return Dev.context != nullptr;
}

bool Audio_RenderLoopback(int frames, std::vector<std::int16_t>& out) {
    if (!Dev.context || !Dev.loopback || !Dev.render || frames < 0) return false;
    out.resize(static_cast<std::size_t>(frames) * 2);
    Dev.render(Dev.device, out.data(), frames);
    return true;
}

Sound* LoadSound(const std::string& url, int flags) {
    std::vector<std::uint8_t> bytes;
    if (!LoadBytes(url, bytes)) return nullptr;
    auto sound = std::make_unique<Sound>();
    if (!Decode_Sound(bytes.data(), bytes.size(), sound->audio)) return nullptr;
    sound->loop = (flags & SOUND_LOOP) != 0;
    sound->sample_count = sound->audio.samples.size();
    if (sound->sample_count > kKeepDecodedSamples) sound->encoded = std::move(bytes);
    EnsureBuffer(*sound);
    Sounds.push_back(std::move(sound));
    return Sounds.back().get();
}

int Sound_Channels(Sound* sound) {
    return sound ? sound->audio.channels : 0;
}

int Sound_SampleRate(Sound* sound) {
    return sound ? sound->audio.rate : 0;
}

int Sound_LengthMs(Sound* sound) {
    if (!sound || sound->audio.channels == 0 || sound->audio.rate == 0) return 0;
    auto frames = static_cast<std::int64_t>(sound->sample_count) / sound->audio.channels;
    return static_cast<int>(frames * 1000 / sound->audio.rate);
}

const std::vector<std::int16_t>& Sound_Samples(Sound* sound) {
    static const std::vector<std::int16_t> kNone;
    return sound ? Samples(*sound) : kNone;
}

Channel* AllocChannel() {
    Channel* ch = NewChannel(false);
    EnsureSource(*ch);
    return ch;
}

Channel* PlaySound(Sound* sound, Channel* channel) {
    return Start(sound, channel, false);
}

Channel* CueSound(Sound* sound, Channel* channel) {
    return Start(sound, channel, true);
}

void Channel_Stop(Channel* ch) {
    if (!ch) return;
    ch->cued = ch->paused = false;
    if (ch->source) alSourceStop(ch->source);
}

void Channel_SetPaused(Channel* ch, bool paused) {
    if (!ch || !ch->source) return;
    if (paused) {
        if (ch->cued || SourceState(ch->source) == AL_PLAYING) ch->paused = true;
        if (SourceState(ch->source) == AL_PLAYING) alSourcePause(ch->source);
        return;
    }
    bool resume = ch->cued || SourceState(ch->source) == AL_PAUSED;
    ch->cued = ch->paused = false;
    if (resume) alSourcePlay(ch->source);
}

void Channel_SetVolume(Channel* ch, float volume) {
    if (!ch || !std::isfinite(volume)) return;
    ch->volume = volume;
    if (ch->source) alSourcef(ch->source, AL_GAIN, std::max(volume, 0.0f));
}

void Channel_SetPan(Channel* ch, float pan) {
    if (!ch || !std::isfinite(pan)) return;
    ch->pan = pan;
    if (ch->source) ApplyPosition(*ch);
}

void Channel_SetDepth(Channel* ch, float depth) {
    if (!ch || !std::isfinite(depth)) return;
    ch->depth = depth;
    if (ch->source) ApplyPosition(*ch);
}

void Channel_SetRate(Channel* ch, float rate) {
    if (!ch || !std::isfinite(rate)) return;
    ch->rate = rate;
    if (ch->source) alSourcef(ch->source, AL_PITCH, std::max(rate, kMinPitch));
}

int Channel_Playing(Channel* ch) {
    if (!ch || !ch->source || ch->paused || ch->cued) return 0;
    return SourceState(ch->source) == AL_PLAYING ? 1 : 0;
}
