// Sound file decoders (engine internal): whole files in memory to 16-bit interleaved samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

struct DecodedAudio {
    int channels = 0; // 1 or 2
    int rate = 0;     // frames per second
    std::vector<std::int16_t> samples;
};

// Each returns false for anything but a complete, well-formed file of its kind: a truncated or
// damaged file is refused rather than played with a gap or a click.
bool Decode_Wav(const std::uint8_t* bytes, std::size_t size, DecodedAudio& out);
bool Decode_Ogg(const std::uint8_t* bytes, std::size_t size, DecodedAudio& out);
// Picks the decoder from the file's signature, whatever its name says.
bool Decode_Sound(const std::uint8_t* bytes, std::size_t size, DecodedAudio& out);

// An Ogg Vorbis file decoded a little at a time, for sounds too long to hold decoded. The bytes
// must outlive the stream.
struct OggStream;
struct OggStreamDeleter {
    void operator()(OggStream* stream) const;
};
using OggStreamPtr = std::unique_ptr<OggStream, OggStreamDeleter>;

struct OggStreamInfo {
    int channels = 0, rate = 0;
    std::int64_t frames = 0;
};

// Null unless the file is complete and well-formed as far as its pages and headers go (the same
// checks as Decode_Ogg short of decoding every packet).
OggStreamPtr OggStream_Open(const std::uint8_t* bytes, std::size_t size, OggStreamInfo& info);
// Decodes up to `max_frames` frames of 16-bit interleaved samples into out; returns the frames
// written, 0 at the end of the stream, -1 when the stream turns out to be damaged.
int OggStream_Read(OggStream& stream, std::int16_t* out, int max_frames);
bool OggStream_Rewind(OggStream& stream); // back to the first frame
