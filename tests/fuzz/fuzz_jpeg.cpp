// JPEG pictures: any bytes are refused, or decode to exactly the pixels their size promises.
#include "engine/gfx_internal.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DecodedPicture pic;
    if (!Image_DecodeJpeg(data, size, pic)) return 0;
    FUZZ_CHECK(pic.width >= 1 && pic.height >= 1 && pic.width <= kMaxPictureSide &&
               pic.height <= kMaxPictureSide);
    FUZZ_CHECK(pic.bytes_per_pixel == 3 || pic.bytes_per_pixel == 4);
    FUZZ_CHECK(pic.pixels.size() == std::size_t(pic.width) * pic.height * pic.bytes_per_pixel);
    return 0;
}
