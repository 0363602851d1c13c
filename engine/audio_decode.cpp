// Ogg Vorbis through vorbisfile over memory, and RIFF WAV (8- or 16-bit PCM) parsed by hand.
#include "engine/audio_decode.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr int kMinRate = 1000;
constexpr int kMaxRate = 384000;
// No sound of the game is near this long; a larger claim in a header is damage.
constexpr std::int64_t kMaxFrames = std::int64_t(kMaxRate) * 60 * 30;

std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

bool Tag(const std::uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

bool FormatOk(int channels, int rate) {
    return (channels == 1 || channels == 2) && rate >= kMinRate && rate <= kMaxRate;
}

// ---- WAV ----------------------------------------------------------------------------------

struct WavFormat {
    int tag = 0, channels = 0, rate = 0, block = 0, bits = 0;
};

bool ParseFmt(const std::uint8_t* p, std::uint32_t size, WavFormat& f) {
    if (size < 16) return false;
    f.tag = Le16(p);
    f.channels = Le16(p + 2);
    f.rate = static_cast<int>(std::min<std::uint32_t>(Le32(p + 4), kMaxRate + 1));
    f.block = Le16(p + 12);
    f.bits = Le16(p + 14);
    if (f.tag == 0xFFFE) { // extensible: the sub-format says what the samples are
        if (size < 40) return false;
        f.tag = Le16(p + 24);
    }
    return f.tag == 1 && (f.bits == 8 || f.bits == 16) && FormatOk(f.channels, f.rate) &&
           f.block == f.channels * f.bits / 8;
}

void ConvertPcm(const std::uint8_t* p, std::size_t frames, const WavFormat& f,
                std::vector<std::int16_t>& out) {
    std::size_t n = frames * f.channels;
    out.resize(n);
    if (f.bits == 8) { // unsigned, centred on 128
        for (std::size_t i = 0; i < n; ++i)
            out[i] = static_cast<std::int16_t>((p[i] - 128) * 256);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = static_cast<std::int16_t>(Le16(p + 2 * i));
    }
}

// ---- Ogg ----------------------------------------------------------------------------------

// Walks the page structure: every page complete and in sequence, the last one marked as the end
// of the stream. Catches truncation, which the decoder itself would pass over silently.
bool OggPagesComplete(const std::uint8_t* p, std::size_t size) {
    std::size_t pos = 0;
    bool ended = false;
    while (pos < size) {
        if (ended || size - pos < 27 || !Tag(p + pos, "OggS") || p[pos + 4] != 0) return false;
        std::size_t segments = p[pos + 26];
        if (size - pos < 27 + segments) return false;
        std::size_t body = 0;
        for (std::size_t i = 0; i < segments; ++i)
            body += p[pos + 27 + i];
        std::size_t page = 27 + segments + body;
        if (size - pos < page) return false;
        ended = (p[pos + 5] & 0x04) != 0;
        pos += page;
    }
    return ended;
}

struct MemoryFile {
    const std::uint8_t* bytes;
    std::size_t size, pos;
};

std::size_t MemRead(void* dst, std::size_t item, std::size_t count, void* src) {
    auto* f = static_cast<MemoryFile*>(src);
    if (item == 0) return 0;
    std::size_t n = std::min(count, (f->size - f->pos) / item);
    std::memcpy(dst, f->bytes + f->pos, n * item);
    f->pos += n * item;
    return n;
}

int MemSeek(void* src, ogg_int64_t offset, int whence) {
    auto* f = static_cast<MemoryFile*>(src);
    ogg_int64_t base = whence == SEEK_SET   ? 0
                       : whence == SEEK_CUR ? ogg_int64_t(f->pos)
                                            : ogg_int64_t(f->size);
    ogg_int64_t to = base + offset;
    if (to < 0 || to > ogg_int64_t(f->size)) return -1;
    f->pos = static_cast<std::size_t>(to);
    return 0;
}

long MemTell(void* src) {
    return static_cast<long>(static_cast<MemoryFile*>(src)->pos);
}

bool DecodeVorbis(OggVorbis_File& vf, DecodedAudio& out) {
    vorbis_info* vi = ov_info(&vf, -1);
    if (!vi || !FormatOk(vi->channels, static_cast<int>(vi->rate))) return false;
    out.channels = vi->channels;
    out.rate = static_cast<int>(vi->rate);
    ogg_int64_t frames = ov_pcm_total(&vf, -1);
    if (frames < 0 || frames > kMaxFrames) return false;

    // Decode straight into the result, sized from the stream's own length.
    std::vector<std::int16_t>& s = out.samples;
    s.resize(static_cast<std::size_t>(frames) * out.channels);
    std::size_t filled = 0;
    const int big_endian = std::endian::native == std::endian::big ? 1 : 0;
    for (;;) {
        if (s.size() - filled < 4096) s.resize(s.size() + 65536);
        int bytes = static_cast<int>(std::min<std::size_t>((s.size() - filled) * 2, 1 << 20));
        int link = 0;
        long n = ov_read(&vf, reinterpret_cast<char*>(s.data() + filled), bytes, big_endian, 2, 1,
                         &link);
        if (n == 0) break;
        if (n < 0) return false; // a damaged page (a hole) or a broken stream
        vorbis_info* li = ov_info(&vf, link);
        if (!li || li->channels != out.channels || li->rate != vi->rate) return false;
        filled += static_cast<std::size_t>(n) / 2;
    }
    s.resize(filled);
    return filled == static_cast<std::size_t>(frames) * out.channels && filled > 0;
}

} // namespace

bool Decode_Wav(const std::uint8_t* p, std::size_t size, DecodedAudio& out) {
    if (size < 12 || !Tag(p, "RIFF") || !Tag(p + 8, "WAVE")) return false;
    WavFormat fmt;
    bool have_fmt = false;
    const std::uint8_t* data = nullptr;
    std::size_t data_size = 0;
    for (std::size_t pos = 12; pos + 8 <= size;) {
        std::uint32_t chunk = Le32(p + pos + 4);
        const std::uint8_t* body = p + pos + 8;
        if (chunk > size - pos - 8) return false; // the file ends inside this chunk
        if (Tag(p + pos, "fmt ")) {
            if (!ParseFmt(body, chunk, fmt)) return false;
            have_fmt = true;
        } else if (Tag(p + pos, "data") && !data) {
            data = body;
            data_size = chunk;
        }
        pos += 8 + std::size_t(chunk) + (chunk & 1u); // chunks are padded to even sizes
    }
    if (!have_fmt || !data || data_size == 0 || data_size % fmt.block != 0) return false;
    out.channels = fmt.channels;
    out.rate = fmt.rate;
    ConvertPcm(data, data_size / fmt.block, fmt, out.samples);
    return true;
}

bool Decode_Ogg(const std::uint8_t* bytes, std::size_t size, DecodedAudio& out) {
    if (!OggPagesComplete(bytes, size)) return false;
    MemoryFile file{bytes, size, 0};
    ov_callbacks callbacks{MemRead, MemSeek, nullptr, MemTell};
    OggVorbis_File vf;
    if (ov_open_callbacks(&file, &vf, nullptr, 0, callbacks) != 0) return false;
    bool ok = DecodeVorbis(vf, out);
    ov_clear(&vf);
    if (!ok) out = DecodedAudio{};
    return ok;
}

bool Decode_Sound(const std::uint8_t* bytes, std::size_t size, DecodedAudio& out) {
    if (size >= 4 && Tag(bytes, "OggS")) return Decode_Ogg(bytes, size, out);
    if (size >= 4 && Tag(bytes, "RIFF")) return Decode_Wav(bytes, size, out);
    return false;
}

struct OggStream {
    MemoryFile file;
    OggVorbis_File vf;
    int channels = 0;
    long rate = 0;
};

void OggStreamDeleter::operator()(OggStream* stream) const {
    ov_clear(&stream->vf);
    delete stream;
}

OggStreamPtr OggStream_Open(const std::uint8_t* bytes, std::size_t size, OggStreamInfo& info) {
    if (!OggPagesComplete(bytes, size)) return nullptr;
    auto* raw = new OggStream{{bytes, size, 0}, {}, 0, 0};
    ov_callbacks callbacks{MemRead, MemSeek, nullptr, MemTell};
    if (ov_open_callbacks(&raw->file, &raw->vf, nullptr, 0, callbacks) != 0) {
        delete raw; // vorbisfile has freed what it opened
        return nullptr;
    }
    OggStreamPtr stream(raw);
    vorbis_info* vi = ov_info(&stream->vf, -1);
    ogg_int64_t frames = ov_pcm_total(&stream->vf, -1);
    // one link only: a second link with another layout would need a different OpenAL buffer
    if (!vi || !FormatOk(vi->channels, static_cast<int>(vi->rate)) || frames <= 0 ||
        frames > kMaxFrames || ov_streams(&stream->vf) != 1)
        return nullptr;
    stream->channels = vi->channels;
    stream->rate = vi->rate;
    info = {vi->channels, static_cast<int>(vi->rate), frames};
    return stream;
}

int OggStream_Read(OggStream& stream, std::int16_t* out, int max_frames) {
    const int big_endian = std::endian::native == std::endian::big ? 1 : 0;
    const std::size_t want = static_cast<std::size_t>(std::max(max_frames, 0)) * stream.channels;
    std::size_t filled = 0;
    while (filled < want) {
        int bytes = static_cast<int>((want - filled) * 2);
        int link = 0;
        long n = ov_read(&stream.vf, reinterpret_cast<char*>(out + filled), bytes, big_endian, 2, 1,
                         &link);
        if (n == 0) break;
        if (n < 0) return -1; // a damaged page (a hole) or a broken stream
        filled += static_cast<std::size_t>(n) / 2;
    }
    return static_cast<int>(filled / static_cast<std::size_t>(stream.channels));
}

bool OggStream_Rewind(OggStream& stream) {
    return ov_pcm_seek(&stream.vf, 0) == 0;
}
