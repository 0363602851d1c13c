#include "tests/art/support_frames.h"

#include "engine/gfx.h"

#include <gtest/gtest.h>

std::vector<ArtFrame> ArtFrames_Load(const std::string& name, int fw, int fh, int count) {
    std::vector<ArtFrame> out;
    const std::string path = std::string(SNOW_ASSETS_DIR) + "/" + name;
    Image* im = count > 1 ? LoadAnimImage(path, fw, fh, 0, count, IMG_DYNAMIC)
                          : LoadImage(path, IMG_DYNAMIC);
    if (!im) {
        ADD_FAILURE() << name << " is missing or does not decode";
        return out;
    }
    for (int f = 0; f < count; ++f) {
        LockedPixels lp;
        if (!LockImage(im, f, true, false, &lp) || lp.format != PF_RGBA8888) {
            ADD_FAILURE() << name << " frame " << f << " has no RGBA pixels";
            return out;
        }
        ArtFrame fr;
        fr.w = lp.width;
        fr.h = lp.height;
        for (int y = 0; y < lp.height; ++y)
            fr.px.insert(fr.px.end(), lp.data + y * lp.pitch,
                         lp.data + y * lp.pitch + lp.width * 4);
        UnlockImage(im, f);
        out.push_back(std::move(fr));
    }
    return out;
}
