// The game and the art generator each keep a table of the pictures: the generator to draw them
// in their strips, the game to cut them into frames. A strip drawn with 16 frames and loaded as
// 15 would play one frame short without any error, so the two tables are held together here.
#include "app/resources.h"
#include "tools/art/sheet_frames.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const ArtPictureSpec* FindArt(const std::string& name) {
    for (const ArtPictureSpec& s : kArtPictures)
        if (name == s.name) return &s;
    return nullptr;
}

TEST(Manifest, EveryStartUpPictureIsCutAsItIsDrawn) {
    for (const Resources_PictureCut& cut : Resources_PictureCuts()) {
        SCOPED_TRACE(cut.name);
        const ArtPictureSpec* art = FindArt(cut.name);
        ASSERT_NE(art, nullptr) << "the art generator does not draw this picture";
        if (cut.count == 0) {
            EXPECT_EQ(art->count, 1) << "loaded whole, drawn as a strip";
            continue;
        }
        EXPECT_EQ(cut.count, art->count);
        EXPECT_EQ(cut.w, art->cell_w);
        EXPECT_EQ(cut.h, art->cell_h);
    }
}

} // namespace
