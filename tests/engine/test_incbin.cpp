// The "incbin::" registry: exact names, first registration wins, read-only streams.
#include "engine/stream.h"

#include <gtest/gtest.h>

namespace {

const std::uint8_t kLevel[] = {0x2A, 0x00, 0x00, 0x00, 'o', 'k', '\r', '\n'};
const std::uint8_t kOther[] = {'x'};

class Incbin : public ::testing::Test {
  protected:
    void SetUp() override { Incbin_Clear(); }
    void TearDown() override { Incbin_Clear(); }
};

} // namespace

TEST_F(Incbin, UnregisteredNamesOpenAsNull) {
    ASSERT_EQ(Incbin_Register("levels/KV_level_001.lev", kLevel, sizeof kLevel), 1);
    for (const char* url : {"incbin::levels/KV_level_002.lev", "incbin::levels\\KV_level_001.lev",
                            "incbin::LEVELS/KV_level_001.lev", "incbin::"}) {
        SCOPED_TRACE(url);
        EXPECT_FALSE(ReadStream(url));
        std::vector<std::uint8_t> bytes;
        EXPECT_FALSE(LoadBytes(url, bytes));
        EXPECT_EQ(LoadString(url), "");
    }
}

TEST_F(Incbin, ADuplicateNameIsRefusedAndTheFirstEntryStays) {
    ASSERT_EQ(Incbin_Register(".\\sounds\\click.wav", kLevel, sizeof kLevel), 1);
    EXPECT_EQ(Incbin_Register(".\\sounds\\click.wav", kOther, sizeof kOther), 0);
    const std::uint8_t* bytes = nullptr;
    std::size_t size = 0;
    ASSERT_TRUE(Incbin_Find(".\\sounds\\click.wav", &bytes, &size));
    EXPECT_EQ(bytes, kLevel);
    EXPECT_EQ(size, sizeof kLevel);
}

TEST_F(Incbin, RegisteredDataReadsThroughEveryUrlFormButNeverWrites) {
    ASSERT_EQ(Incbin_Register("levels/a.lev", kLevel, sizeof kLevel), 1);
    StreamPtr s = ReadStream("littleendian::incbin::levels/a.lev");
    ASSERT_TRUE(s);
    EXPECT_EQ(ReadInt(*s), 42);
    EXPECT_EQ(ReadLine(*s), "ok");
    EXPECT_TRUE(Eof(*s));
    EXPECT_TRUE(CloseStream(s));

    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(LoadBytes("incbin::levels/a.lev", bytes));
    EXPECT_EQ(bytes, std::vector<std::uint8_t>(kLevel, kLevel + sizeof kLevel));

    EXPECT_FALSE(WriteStream("incbin::levels/a.lev"));
    EXPECT_FALSE(OpenStream("incbin::levels/a.lev", true, true));
    EXPECT_FALSE(SaveString("x", "incbin::levels/a.lev"));
    EXPECT_EQ(bytes[0], 0x2A);
}

TEST_F(Incbin, AnEmptyRegisteredFileIsAnEmptyStream) {
    ASSERT_EQ(Incbin_Register("empty.txt", nullptr, 0), 1);
    StreamPtr s = ReadStream("incbin::empty.txt");
    ASSERT_TRUE(s);
    EXPECT_TRUE(Eof(*s));
    EXPECT_EQ(ReadLine(*s), "");
    EXPECT_EQ(ReadInt(*s), 0);
}

TEST(EmbeddedTable, ProgramsWithoutTheGeneratedTableSeeAnEmptyOne) {
    std::size_t count = 99;
    Embedded_Files(&count);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(Embedded_Find("sounds/click.wav"), nullptr);
}
