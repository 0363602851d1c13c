// Streams, files and banks: the byte layouts every game file depends on, and writes that never
// leave a half-written file behind.
#include "engine/stream.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

class StreamFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        char tmpl[] = "/tmp/snow_stream_XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }
    void Put(const std::string& name, const std::string& bytes) const {
        std::ofstream(dir / name, std::ios::binary) << bytes;
    }
    std::string Get(const std::string& name) const {
        std::ifstream in(dir / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path dir;
};

StreamPtr MemoryStream(const std::string& bytes) {
    auto s = std::make_unique<Stream>();
    s->owned.assign(bytes.begin(), bytes.end());
    s->data = s->owned.data();
    s->size = s->owned.size();
    s->readable = true;
    return s;
}

} // namespace

TEST(StreamRead, ReadLineSplitsCrLfAndReturnsAnUnterminatedLastLine) {
    auto s = MemoryStream("first\r\nsecond\r\n\r\nlast");
    EXPECT_EQ(ReadLine(*s), "first");
    EXPECT_EQ(ReadLine(*s), "second");
    EXPECT_EQ(ReadLine(*s), "");
    EXPECT_FALSE(Eof(*s));
    EXPECT_EQ(ReadLine(*s), "last");
    EXPECT_TRUE(Eof(*s));
    EXPECT_EQ(ReadLine(*s), "");
}

TEST(StreamRead, ReadLineStopsAtZeroByteAndDropsStrayCarriageReturns) {
    auto s = MemoryStream(std::string("a\rb\0next\n", 9));
    EXPECT_EQ(ReadLine(*s), "ab");
    EXPECT_EQ(ReadLine(*s), "next");
    EXPECT_TRUE(Eof(*s));
}

TEST(StreamRead, ReadsPastTheEndGiveZeroAndStayAtTheEnd) {
    auto s = MemoryStream("\x01\x02\x03\x04\x05\x06");
    EXPECT_EQ(ReadInt(*s), 0x04030201);
    EXPECT_EQ(ReadInt(*s), 0); // only two bytes were left
    EXPECT_TRUE(Eof(*s));
    EXPECT_EQ(StreamPos(*s), 6);
    EXPECT_EQ(ReadByte(*s), 0);
    EXPECT_EQ(ReadFloat(*s), 0.0f);
    EXPECT_EQ(StreamPos(*s), 6);

    ASSERT_TRUE(StreamSeek(*s, 4));
    EXPECT_EQ(ReadString(*s, 10), "\x05\x06");
    EXPECT_TRUE(Eof(*s));
    EXPECT_EQ(ReadString(*s, -3), "");
    EXPECT_FALSE(StreamSeek(*s, 7));
    EXPECT_FALSE(StreamSeek(*s, -1));
    EXPECT_EQ(StreamPos(*s), 6);
}

TEST_F(StreamFiles, IntsAndFloatsAreWrittenLittleEndianAndReadBack) {
    StreamPtr w = WriteStream(Path("values.bin"));
    ASSERT_TRUE(w);
    WriteInt(*w, 0x12345678);
    WriteInt(*w, -2);
    WriteFloat(*w, 1.5f);   // 0x3FC00000
    WriteFloat(*w, -0.25f); // 0xBE800000
    WriteByte(*w, 0x1FF);   // only the low byte
    ASSERT_TRUE(CloseStream(w));
    EXPECT_FALSE(w);

    const std::string expected("\x78\x56\x34\x12"
                               "\xFE\xFF\xFF\xFF"
                               "\x00\x00\xC0\x3F"
                               "\x00\x00\x80\xBE"
                               "\xFF",
                               17);
    EXPECT_EQ(Get("values.bin"), expected);

    StreamPtr r = ReadStream("littleendian::" + Path("values.bin"));
    ASSERT_TRUE(r);
    EXPECT_EQ(StreamSize(*r), 17);
    EXPECT_EQ(ReadInt(*r), 0x12345678);
    EXPECT_EQ(ReadInt(*r), -2);
    EXPECT_EQ(ReadFloat(*r), 1.5f);
    EXPECT_EQ(ReadFloat(*r), -0.25f);
    EXPECT_EQ(ReadByte(*r), 255);
    EXPECT_TRUE(Eof(*r));
}

TEST_F(StreamFiles, WriteLineEndsLinesWithCrLf) {
    StreamPtr w = WriteStream(Path("text.txt"));
    ASSERT_TRUE(w);
    WriteLine(*w, "one");
    WriteString(*w, "two");
    WriteLine(*w, "");
    ASSERT_TRUE(CloseStream(w));
    EXPECT_EQ(Get("text.txt"), "one\r\ntwo\r\n");
}

TEST_F(StreamFiles, BackslashAndDotPathsReachTheSameFile) {
    fs::create_directory(dir / "sub");
    ASSERT_TRUE(SaveString("hello", Path("sub\\file.txt")));
    EXPECT_EQ(Get("sub/file.txt"), "hello");

    ASSERT_EQ(ChangeDir(dir.string()), 1);
    EXPECT_EQ(LoadString(".\\sub\\file.txt"), "hello");
    EXPECT_EQ(LoadString("./sub/file.txt"), "hello");
    EXPECT_EQ(LoadString("littleendian::sub\\file.txt"), "hello");
    EXPECT_EQ(FileType("sub"), 2);
    EXPECT_EQ(FileSize(".\\sub\\file.txt"), 5);
    EXPECT_EQ(fs::path(CurrentDir()), fs::canonical(dir) / "");
    ASSERT_EQ(ChangeDir("/"), 1);
    EXPECT_EQ(ChangeDir(Path("missing")), 0);
}

TEST_F(StreamFiles, MissingOrUnwritableResourcesOpenAsNull) {
    Put("plain", "x");
    EXPECT_FALSE(ReadStream(Path("missing.txt")));
    EXPECT_FALSE(ReadStream(dir.string())); // a folder is not a stream
    EXPECT_FALSE(WriteStream(dir.string()));
    EXPECT_FALSE(WriteStream(Path("nofolder/file.txt")));
    EXPECT_FALSE(WriteStream(Path("plain/file.txt")));
    EXPECT_FALSE(OpenStream(Path("missing.txt"), true, true));
    EXPECT_FALSE(OpenStream(Path("plain"), false, false));
    EXPECT_FALSE(SaveString("x", Path("plain/file.txt")));
    EXPECT_EQ(LoadString(Path("missing.txt")), "");
    std::vector<std::uint8_t> bytes{1, 2};
    EXPECT_FALSE(LoadBytes(Path("missing.txt"), bytes));
}

TEST_F(StreamFiles, ReadWriteStreamEditsTheExistingBytesInPlace) {
    Put("rec.bin", "ABCDEF");
    StreamPtr s = OpenStream(Path("rec.bin"), true, true);
    ASSERT_TRUE(s);
    EXPECT_EQ(ReadString(*s, 2), "AB");
    WriteString(*s, "xy");
    EXPECT_EQ(ReadByte(*s), 'E');
    ASSERT_TRUE(StreamSeek(*s, 5));
    WriteString(*s, "123");
    EXPECT_EQ(StreamSize(*s), 8);
    EXPECT_EQ(Get("rec.bin"), "ABCDEF"); // nothing reaches the file before closing
    ASSERT_TRUE(CloseStream(s));
    EXPECT_EQ(Get("rec.bin"), "ABxyE123");
}

TEST_F(StreamFiles, AWriteStreamDroppedWithoutClosingStillWritesItsFile) {
    {
        StreamPtr w = WriteStream(Path("late.txt"));
        ASSERT_TRUE(w);
        WriteString(*w, "kept");
    }
    EXPECT_EQ(Get("late.txt"), "kept");
}

TEST_F(StreamFiles, ReplacingAFileKeepsItsModeAndLeavesNoTemporaryFiles) {
    Put("save.dat", "old contents");
    ASSERT_EQ(chmod(Path("save.dat").c_str(), 0640), 0);
    ASSERT_TRUE(File_ReplaceAtomically(Path("save.dat"), "new", 3));
    EXPECT_EQ(Get("save.dat"), "new");
    struct stat st {};
    ASSERT_EQ(stat(Path("save.dat").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(Listing(), std::vector<std::string>{"save.dat"});
}

TEST_F(StreamFiles, ReplacingALinkedFileWritesThroughTheLink) {
    fs::create_directory(dir / "synced");
    Put("synced/players.dat", "old");
    fs::create_symlink(dir / "synced/players.dat", dir / "players.dat");
    ASSERT_TRUE(SaveString("new", Path("players.dat")));
    EXPECT_TRUE(fs::is_symlink(dir / "players.dat"));
    EXPECT_EQ(Get("synced/players.dat"), "new");
}

TEST_F(StreamFiles, AFailedWriteLeavesTheOldFileIntactAndReportsFailure) {
    // The target is a folder: the rename over it cannot happen.
    fs::create_directory(dir / "target");
    Put("target/inside", "data");
    EXPECT_FALSE(File_ReplaceAtomically(Path("target"), "new", 3));
    EXPECT_EQ(Get("target/inside"), "data");
    EXPECT_EQ(Listing(), std::vector<std::string>{"target"});

    // The folder vanishes while the stream is open and a plain file takes its name.
    fs::create_directory(dir / "saves");
    Put("saves/player.dat", "old");
    StreamPtr w = WriteStream(Path("saves/player.dat"));
    ASSERT_TRUE(w);
    WriteString(*w, "new contents");
    fs::rename(dir / "saves", dir / "moved");
    Put("saves", "not a folder");
    EXPECT_FALSE(CloseStream(w));
    EXPECT_EQ(Get("moved/player.dat"), "old");
    EXPECT_EQ(Get("saves"), "not a folder");
}

TEST_F(StreamFiles, FileHelpersReportTypeSizeCreationAndDeletion) {
    EXPECT_EQ(FileType(Path("f")), 0);
    EXPECT_EQ(FileSize(Path("f")), -1);
    EXPECT_EQ(DeleteFile(Path("f")), 1); // nothing there is "gone"
    Put("f", "12345");
    EXPECT_EQ(FileType(Path("f")), 1);
    EXPECT_EQ(FileSize(Path("f")), 5);
    EXPECT_EQ(CreateFile(Path("f")), 1);
    EXPECT_EQ(FileSize(Path("f")), 0);
    EXPECT_EQ(DeleteFile(Path("f")), 1);
    EXPECT_EQ(FileType(Path("f")), 0);

    fs::create_directory(dir / "d");
    EXPECT_EQ(FileType(Path("d")), 2);
    EXPECT_EQ(DeleteFile(Path("d")), 0); // folders are not deleted as files
    EXPECT_EQ(CreateFile(Path("d")), 0);
    EXPECT_EQ(FileType(Path("d")), 2);
    EXPECT_EQ(FileType(""), 0);
}

TEST_F(StreamFiles, OnlyRegularFilesWithinTheCapAreRead) {
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0644), 0);
    Put("small", "12345");
    struct Case {
        std::string path;
        std::size_t cap;
        const char* why; // empty: read
    };
    const Case cases[] = {
        {Path("small"), 5, ""},
        {Path("small"), 4, "is longer than 4 bytes"},
        {Path("pipe"), 100, "is not a regular file"}, // no writer: an open would wait forever
        {"/dev/zero", 100, "is not a regular file"},  // endless
        {dir.string(), 100, "is not a regular file"},
        {Path("missing"), 100, "cannot be opened: "},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes;
        std::string why;
        EXPECT_EQ(File_ReadRegular(c.path, c.cap, bytes, &why), *c.why == 0) << c.path;
        EXPECT_EQ(why.rfind(c.why, 0), 0u) << c.path << ": " << why;
    }
    // The stream functions read through the same check.
    EXPECT_FALSE(ReadStream(Path("pipe")));
    EXPECT_EQ(LoadString("/dev/zero"), "");
    EXPECT_EQ(LoadString(Path("small")), "12345");
}

TEST_F(StreamFiles, ReadOnlyAndSpecialFilesAreNeverReplaced) {
    Put("locked", "old");
    ASSERT_EQ(chmod(Path("locked").c_str(), 0444), 0);
    ASSERT_EQ(mkfifo(Path("pipe").c_str(), 0644), 0);
    EXPECT_TRUE(File_IsReadOnly(Path("locked")));
    EXPECT_FALSE(File_IsReadOnly(Path("pipe")));
    for (const char* name : {"locked", "pipe"}) {
        EXPECT_FALSE(File_ReplaceAtomically(Path(name), "new", 3)) << name;
        EXPECT_FALSE(SaveString("new", Path(name))) << name;
        EXPECT_FALSE(WriteStream(Path(name))) << name;
    }
    EXPECT_EQ(Get("locked"), "old");
    EXPECT_TRUE(fs::is_fifo(dir / "pipe"));
    EXPECT_EQ(Listing(), (std::vector<std::string>{"locked", "pipe"}));
}

TEST_F(StreamFiles, FoldersAreCreatedWithTheirParents) {
    std::string why;
    EXPECT_TRUE(File_CreateFolders(Path("a/b//c/"), &why)) << why;
    EXPECT_EQ(FileType(Path("a/b/c")), 2);
    EXPECT_TRUE(File_CreateFolders(Path("a\\b"), &why)) << "exists already: " << why;
    Put("file", "x");
    EXPECT_FALSE(File_CreateFolders(Path("file/sub"), &why));
    EXPECT_EQ(why.rfind(Path("file/sub") + ": ", 0), 0u) << why;
    EXPECT_FALSE(File_CreateFolders(Path("file"), &why));
    EXPECT_EQ(why, Path("file") + " exists and is not a folder");
}

TEST_F(StreamFiles, StaleTemporariesOfOneFileAreRemoved) {
    for (const char* name : {"save.dat", "save.dat.tmpQ1w2E3", "save.dat.tmpabcdef", "save.dat.tmp",
                             "save.dat.tmpabcdefg", "save.dat.tmp_bcdef", "other.dat.tmpabcdef"})
        Put(name, "x");
    EXPECT_EQ(File_RemoveStaleTemporaries(Path("save.dat")), 2);
    EXPECT_EQ(Listing(),
              (std::vector<std::string>{"other.dat.tmpabcdef", "save.dat", "save.dat.tmp",
                                        "save.dat.tmp_bcdef", "save.dat.tmpabcdefg"}));
    EXPECT_EQ(File_RemoveStaleTemporaries(Path("nofolder/save.dat")), 0);
}

TEST(Banks, AccessOutsideTheBankReadsZeroAndWritesNothing) {
    Bank b;
    b.bytes = {1, 2, 3, 4, 5, 6};
    PokeInt(b, 1, 0x0A0B0C0D);
    EXPECT_EQ(b.bytes, (std::vector<std::uint8_t>{1, 0x0D, 0x0C, 0x0B, 0x0A, 6}));
    EXPECT_EQ(PeekInt(b, 1), 0x0A0B0C0D);
    PokeFloat(b, 2, 2.0f);
    EXPECT_EQ(PeekFloat(b, 2), 2.0f);

    const std::vector<std::uint8_t> before = b.bytes;
    for (int offset : {-1, 3, 6, 1 << 30}) {
        SCOPED_TRACE(offset);
        EXPECT_EQ(PeekInt(b, offset), 0);
        PokeInt(b, offset, -1);
    }
    for (int offset : {-1, 6, 1 << 30}) {
        EXPECT_EQ(PeekByte(b, offset), 0);
        PokeByte(b, offset, 0xFF);
    }
    EXPECT_EQ(b.bytes, before);
    EXPECT_EQ(PeekByte(b, 5), 0x40); // the last byte of 2.0f, still inside
}

TEST(Banks, ReadAndWriteBankCopyOnlyWhatFits) {
    auto s = MemoryStream("abcdefgh");
    Bank b;
    b.bytes.assign(4, '.');
    EXPECT_EQ(ReadBank(b, *s, 1, 10), 3); // clamped to the bank
    EXPECT_EQ(std::string(b.bytes.begin(), b.bytes.end()), ".abc");
    EXPECT_EQ(ReadBank(b, *s, -1, 2), 0);
    ASSERT_TRUE(StreamSeek(*s, 7));
    EXPECT_EQ(ReadBank(b, *s, 0, 4), 1); // clamped to the stream
    EXPECT_EQ(std::string(b.bytes.begin(), b.bytes.end()), "habc");

    Stream out;
    out.writable = true;
    EXPECT_EQ(WriteBank(b, out, 2, 5), 2);
    EXPECT_EQ(WriteBank(b, out, 4, 1), 0);
    EXPECT_EQ(std::string(out.owned.begin(), out.owned.end()), "bc");
}
