// Sounds and channels over OpenAL Soft.
//
// Sounds and channels are owned here and live until the program ends, so a pointer the game keeps
// never dangles, also across Audio_Close / Audio_Open. Their OpenAL objects are made on first use
// while a device is open; without a device every call does nothing and the game runs silent.
//
// Long Ogg sounds (music, ambience) are streamed: the sound keeps only its compressed bytes, and
// each channel playing it decodes its own position a little ahead into a short queue of OpenAL
// buffers, topped up by Audio_Update on the main thread (and before every loopback render).
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
    bool streamed = false; // played from `encoded` a little at a time; never gets a buffer
    ALuint buffer = 0;
};

// A channel's place in a streamed sound and the buffers queued on its source.
struct ChannelStream {
    Sound* sound = nullptr;
    OggStreamPtr decoder;
    bool ended = false; // everything decoded has been queued; the source plays out the rest
};

struct Channel {
    ALuint source = 0;
    bool temporary = false; // taken from the pool by PlaySound with no channel
    bool cued = false;      // set up by CueSound, waiting for Channel_SetPaused(false)
    bool paused = false;
    float volume = 1.0f, pan = 0.0f, depth = 0.0f, rate = 1.0f;
    std::uint64_t started = 0; // start order, so the pool reuses the longest-finished first
    std::unique_ptr<ChannelStream> stream; // while a streamed sound is on the channel
    std::vector<ALuint> stream_buffers;    // made on the first streamed start, kept for the next
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

// The whole mix (effects, music, ambience) is turned down by this much before the output: the
// files are levelled to sound right one at a time, and a cascade piles dozens of them up.
constexpr float kMasterGain = 0.7f; // -3.1 dB

// Enough for the game's 128 effect slots plus stragglers; beyond it the oldest is taken over.
constexpr std::size_t kPoolLimit = 160;

// A streamed channel keeps about 1.5 s decoded ahead (16 buffers of 93 ms at 44.1 kHz), so a
// frame that stalls for a second does not starve it; 256 KB a stereo channel.
constexpr int kStreamBuffers = 16;
constexpr int kStreamBufferFrames = 4096;

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
// plain stereo. The mixer's output limiter is asked for explicitly, so that however many sounds
// pile up the output is held under full scale instead of clipping.
std::vector<ALCint> ContextAttributes(const AudioOptions& opts, ALCdevice* device) {
    std::vector<ALCint> attrs;
    if (opts.loopback)
        attrs = {ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT, ALC_FORMAT_TYPE_SOFT,
                 ALC_SHORT_SOFT,           ALC_FREQUENCY,   opts.loopback_rate};
    if (HasExtension(device, "ALC_SOFT_HRTF"))
        attrs.insert(attrs.end(), {ALC_HRTF_SOFT, ALC_FALSE});
    if (HasExtension(device, "ALC_SOFT_output_limiter"))
        attrs.insert(attrs.end(), {ALC_OUTPUT_LIMITER_SOFT, ALC_TRUE});
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
    if (!Dev.context || s.streamed) return false;
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

// ---- Streaming ----------------------------------------------------------------------------

ALenum FormatOf(int channels) {
    return channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
}

// Decodes the next piece into `buffer`; a looping sound runs on from its beginning. False when
// nothing is left (or the rest of the file is damaged: the sound ends there).
bool FillStreamBuffer(ChannelStream& st, ALuint buffer) {
    const int channels = st.sound->audio.channels;
    static std::vector<std::int16_t> piece;
    piece.resize(std::size_t(kStreamBufferFrames) * std::size_t(channels));
    int frames = 0;
    bool rewound = false; // a file that gives nothing right after a rewind ends the loop
    while (frames < kStreamBufferFrames && !st.ended) {
        int got = OggStream_Read(*st.decoder, piece.data() + std::size_t(frames) * channels,
                                 kStreamBufferFrames - frames);
        if (got > 0) {
            frames += got;
            rewound = false;
        } else if (got == 0 && st.sound->loop && !rewound && OggStream_Rewind(*st.decoder)) {
            rewound = true;
        } else {
            st.ended = true; // the end, or damage: the sound stops where the good part stops
        }
    }
    if (frames == 0) return false;
    alBufferData(buffer, FormatOf(channels), piece.data(),
                 static_cast<ALsizei>(std::size_t(frames) * channels * sizeof(std::int16_t)),
                 st.sound->audio.rate);
    return alGetError() == AL_NO_ERROR;
}

// Takes the stream off the channel's source; the source must be stopped.
void DetachStream(Channel& ch) {
    if (ch.source) alSourcei(ch.source, AL_BUFFER, 0);
    ch.stream.reset();
}

bool EnsureStreamBuffers(Channel& ch) {
    if (!ch.stream_buffers.empty()) return true;
    std::vector<ALuint> buffers(kStreamBuffers);
    alGetError();
    alGenBuffers(kStreamBuffers, buffers.data());
    if (alGetError() != AL_NO_ERROR) return false;
    ch.stream_buffers = std::move(buffers);
    return true;
}

// Opens the sound from its beginning on the (stopped) channel and queues the first buffers.
bool AttachStream(Channel& ch, Sound& sound) {
    if (!EnsureStreamBuffers(ch)) return false;
    auto st = std::make_unique<ChannelStream>();
    st->sound = &sound;
    OggStreamInfo info;
    st->decoder = OggStream_Open(sound.encoded.data(), sound.encoded.size(), info);
    if (!st->decoder) return false;
    alGetError();
    for (ALuint buffer : ch.stream_buffers) {
        if (!FillStreamBuffer(*st, buffer)) break;
        alSourceQueueBuffers(ch.source, 1, &buffer);
    }
    ch.stream = std::move(st);
    return true;
}

// Refills the buffers the source has finished with. A source that ran dry while the stream
// still had sound (the main thread stalled for longer than the queue lasts) plays on.
void TopUpStream(Channel& ch) {
    ChannelStream& st = *ch.stream;
    ALint processed = 0;
    alGetSourcei(ch.source, AL_BUFFERS_PROCESSED, &processed);
    for (; processed > 0; --processed) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(ch.source, 1, &buffer);
        if (st.ended || !FillStreamBuffer(st, buffer)) continue;
        alSourceQueueBuffers(ch.source, 1, &buffer);
    }
    ALint queued = 0;
    alGetSourcei(ch.source, AL_BUFFERS_QUEUED, &queued);
    if (queued > 0 && !ch.cued && !ch.paused && SourceState(ch.source) == AL_STOPPED)
        alSourcePlay(ch.source);
}

// True while a streamed channel has sound left to play, even if its source has just run dry.
bool StreamPending(const Channel& ch) {
    if (!ch.stream || !ch.source) return false;
    ALint queued = 0, processed = 0;
    alGetSourcei(ch.source, AL_BUFFERS_QUEUED, &queued);
    alGetSourcei(ch.source, AL_BUFFERS_PROCESSED, &processed);
    return !ch.stream->ended || queued > processed;
}

void StopChannel(Channel& ch) {
    if (!ch.source) return;
    alSourceStop(ch.source);
    if (ch.stream) DetachStream(ch);
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
    return (state == AL_STOPPED || state == AL_INITIAL) && !StreamPending(*ch);
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
    StopChannel(*best);
    ALuint source = best->source;
    std::vector<ALuint> buffers = std::move(best->stream_buffers);
    *best = Channel{};
    best->source = source;
    best->temporary = true;
    best->stream_buffers = std::move(buffers);
    if (best->source) ApplySettings(*best);
    return best;
}

Channel* Start(Sound* sound, Channel* channel, bool cue) {
    if (!sound) return channel;
    Channel* ch = channel ? channel : TakeFromPool();
    ch->started = ++StartCounter;
    if (!EnsureSource(*ch)) return ch;
    StopChannel(*ch);
    if (sound->streamed) {
        alSourcei(ch->source, AL_BUFFER, 0);         // a queue replaces whatever buffer was set
        alSourcei(ch->source, AL_LOOPING, AL_FALSE); // the stream loops itself
        if (!AttachStream(*ch, *sound)) return ch;
    } else {
        if (!EnsureBuffer(*sound)) return ch;
        alSourcei(ch->source, AL_BUFFER, static_cast<ALint>(sound->buffer));
        alSourcei(ch->source, AL_LOOPING, sound->loop ? AL_TRUE : AL_FALSE);
    }
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
    alListenerf(AL_GAIN, kMasterGain);
    return true;
}

void Audio_Close() {
    if (Dev.context) {
        for (auto& ch : Channels) {
            if (ch->source) {
                StopChannel(*ch);
                alDeleteSources(1, &ch->source);
                ch->source = 0;
            }
            if (!ch->stream_buffers.empty())
                alDeleteBuffers(ALsizei(ch->stream_buffers.size()), ch->stream_buffers.data());
            ch->stream_buffers.clear();
            ch->stream.reset();
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

void Audio_Update() {
    if (!Dev.context) return;
    for (auto& ch : Channels)
        if (ch->stream && ch->source) TopUpStream(*ch);
}

bool Audio_RenderLoopback(int frames, std::vector<std::int16_t>& out) {
    if (!Dev.context || !Dev.loopback || !Dev.render || frames < 0) return false;
    out.resize(static_cast<std::size_t>(frames) * 2);
    // in pieces no longer than one stream buffer, topping the streams up before each, so a long
    // render never runs a streamed channel dry
    for (int done = 0; done < frames;) {
        int piece = std::min(frames - done, kStreamBufferFrames);
        Audio_Update();
        Dev.render(Dev.device, out.data() + std::size_t(done) * 2, piece);
        done += piece;
    }
    return true;
}

namespace {

// A long Ogg file is checked and measured but not decoded: it will be streamed. Shorter ones
// and WAV files are decoded whole. False when the file is damaged.
bool OpenSound(std::vector<std::uint8_t>& bytes, Sound& sound) {
    OggStreamInfo info;
    OggStreamPtr probe = OggStream_Open(bytes.data(), bytes.size(), info);
    if (probe && info.frames * info.channels > std::int64_t(kKeepDecodedSamples)) {
        sound.streamed = true;
        sound.audio.channels = info.channels;
        sound.audio.rate = info.rate;
        sound.sample_count = std::size_t(info.frames * info.channels);
        probe.reset();
        sound.encoded = std::move(bytes);
        return true;
    }
    if (!Decode_Sound(bytes.data(), bytes.size(), sound.audio)) return false;
    sound.sample_count = sound.audio.samples.size();
    return true;
}

} // namespace

Sound* LoadSound(const std::string& url, int flags) {
    std::vector<std::uint8_t> bytes;
    if (!LoadBytes(url, bytes)) return nullptr;
    auto sound = std::make_unique<Sound>();
    if (!OpenSound(bytes, *sound)) return nullptr;
    sound->loop = (flags & SOUND_LOOP) != 0;
    if (!sound->streamed && sound->sample_count > kKeepDecodedSamples)
        sound->encoded = std::move(bytes);
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
    StopChannel(*ch);
}

void Channel_SetPaused(Channel* ch, bool paused) {
    if (!ch || !ch->source) return;
    if (paused) {
        if (ch->cued || SourceState(ch->source) == AL_PLAYING) ch->paused = true;
        if (SourceState(ch->source) == AL_PLAYING) alSourcePause(ch->source);
        return;
    }
    const ALint state = SourceState(ch->source);
    bool resume = ch->cued || state == AL_PAUSED || (state != AL_PLAYING && StreamPending(*ch));
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
    return SourceState(ch->source) == AL_PLAYING || StreamPending(*ch) ? 1 : 0;
}
