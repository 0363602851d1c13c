#include "tools/sound/codec.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>

namespace {

constexpr int kOggSerial = 0x534E4F57; // any fixed value: the bytes must not change between builds

void PutU16(std::string& out, unsigned v) {
    out.push_back(char(v & 0xFF));
    out.push_back(char((v >> 8) & 0xFF));
}
void PutU32(std::string& out, unsigned v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}
unsigned GetU16(const std::string& in, size_t at) {
    return unsigned(std::uint8_t(in[at])) | unsigned(std::uint8_t(in[at + 1])) << 8;
}
unsigned GetU32(const std::string& in, size_t at) {
    return GetU16(in, at) | GetU16(in, at + 2) << 16;
}

std::int16_t ToPcm16(float v) {
    return std::int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
}

bool WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(f.flush());
}

bool EndsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

void WritePage(std::string& out, const ogg_page& page) {
    out.append(reinterpret_cast<const char*>(page.header), size_t(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), size_t(page.body_len));
}

// The encoder's state, released in one place whatever path leaves the writer.
struct VorbisEncoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    bool started = false;
    VorbisEncoder() {
        vorbis_info_init(&info);
        vorbis_comment_init(&comment);
    }
    ~VorbisEncoder() {
        if (started) {
            ogg_stream_clear(&stream);
            vorbis_block_clear(&block);
            vorbis_dsp_clear(&dsp);
        }
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
};

// Hands the analysed blocks to the Ogg stream and appends every finished page to out.
void DrainEncoder(VorbisEncoder& e, std::string& out) {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&e.dsp, &e.block) == 1) {
        vorbis_analysis(&e.block, nullptr);
        vorbis_bitrate_addblock(&e.block);
        while (vorbis_bitrate_flushpacket(&e.dsp, &packet)) {
            ogg_stream_packetin(&e.stream, &packet);
            while (ogg_stream_pageout(&e.stream, &page))
                WritePage(out, page);
        }
    }
}

} // namespace

bool Wav_Write(const std::string& path, const Signal& s) {
    unsigned data_bytes = unsigned(s.samples.size() * 2);
    std::string out;
    out += "RIFF";
    PutU32(out, 36 + data_bytes);
    out += "WAVEfmt ";
    PutU32(out, 16);
    PutU16(out, 1); // PCM
    PutU16(out, unsigned(s.channels));
    PutU32(out, kSampleRate);
    PutU32(out, unsigned(kSampleRate * s.channels * 2));
    PutU16(out, unsigned(s.channels * 2));
    PutU16(out, 16);
    out += "data";
    PutU32(out, data_bytes);
    for (float v : s.samples)
        PutU16(out, std::uint16_t(ToPcm16(v)));
    return WriteAll(path, out);
}

bool Wav_Read(const std::string& path, Signal& out) {
    std::ifstream f(path, std::ios::binary);
    std::string in((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (in.size() < 12 || in.compare(0, 4, "RIFF") != 0 || in.compare(8, 4, "WAVE") != 0)
        return false;
    int channels = 0, bits = 0;
    for (size_t at = 12; at + 8 <= in.size();) {
        std::string id = in.substr(at, 4);
        size_t size = GetU32(in, at + 4), body = at + 8;
        if (body + size > in.size()) return false;
        if (id == "fmt " && size >= 16) {
            channels = int(GetU16(in, body + 2));
            bits = int(GetU16(in, body + 14));
        } else if (id == "data") {
            if (bits != 16 || channels < 1) return false;
            out.channels = channels;
            out.samples.resize(size / 2);
            for (size_t i = 0; i < out.samples.size(); ++i)
                out.samples[i] = float(std::int16_t(GetU16(in, body + 2 * i))) / 32768.0f;
            return true;
        }
        at = body + size + (size & 1);
    }
    return false;
}

bool Ogg_Write(const std::string& path, const Signal& s, float quality) {
    VorbisEncoder e;
    if (vorbis_encode_init_vbr(&e.info, s.channels, kSampleRate, quality) != 0) return false;
    vorbis_comment_add_tag(&e.comment, "ENCODER", "soundgen");
    vorbis_analysis_init(&e.dsp, &e.info);
    vorbis_block_init(&e.dsp, &e.block);
    ogg_stream_init(&e.stream, kOggSerial);
    e.started = true;

    std::string out;
    ogg_packet header, comment, codebooks;
    vorbis_analysis_headerout(&e.dsp, &e.comment, &header, &comment, &codebooks);
    ogg_stream_packetin(&e.stream, &header);
    ogg_stream_packetin(&e.stream, &comment);
    ogg_stream_packetin(&e.stream, &codebooks);
    ogg_page page;
    while (ogg_stream_flush(&e.stream, &page))
        WritePage(out, page); // audio starts a new page

    const int chunk = 4096, frames = Signal_Frames(s);
    for (int at = 0; at < frames; at += chunk) {
        int n = std::min(chunk, frames - at);
        float** buffer = vorbis_analysis_buffer(&e.dsp, n);
        for (int i = 0; i < n; ++i)
            for (int c = 0; c < s.channels; ++c)
                buffer[c][i] = s.samples[size_t(at + i) * s.channels + c];
        vorbis_analysis_wrote(&e.dsp, n);
        DrainEncoder(e, out);
    }
    vorbis_analysis_wrote(&e.dsp, 0); // end of stream
    DrainEncoder(e, out);
    while (ogg_stream_flush(&e.stream, &page))
        WritePage(out, page);
    return WriteAll(path, out);
}

bool Ogg_Read(const std::string& path, Signal& out) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return false;
    std::unique_ptr<OggVorbis_File, int (*)(OggVorbis_File*)> guard(&vf, ov_clear);
    vorbis_info* info = ov_info(&vf, -1);
    if (!info || info->rate != kSampleRate) return false;
    out.channels = info->channels;
    out.samples.clear();
    int section = 0;
    for (;;) {
        float** pcm = nullptr;
        long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n == 0) break;
        if (n < 0) return false;
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < out.channels; ++c)
                out.samples.push_back(pcm[c][i]);
    }
    return true;
}

bool Sound_Write(const std::string& path, const Signal& s, float ogg_quality) {
    return EndsWith(path, ".ogg") ? Ogg_Write(path, s, ogg_quality) : Wav_Write(path, s);
}

bool Sound_Read(const std::string& path, Signal& out) {
    return EndsWith(path, ".ogg") ? Ogg_Read(path, out) : Wav_Read(path, out);
}
