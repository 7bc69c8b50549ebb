#include "text/Basic.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>

#include "text/SjisSamples.h"
#include "text/FileIO.h"

namespace vrk {
namespace {

using namespace sjis;
namespace fs = std::filesystem;

TEST(TimeStampTest, ReadsPiecesByPositionOrGivesNow) {
  const LocalTime now{2001, 2, 3, 4, 5, 6, 789};
  const FixedClock clock(now);
  struct Case {
    std::string text;
    LocalTime time;
  } cases[] = {
      {"2024", {2024, 1, 1, 0, 0, 0, 0}},
      {"202401051230", {2024, 1, 5, 12, 30, 0, 0}},
      {"20240105093015", {2024, 1, 5, 9, 30, 15, 0}},
      {"20240105093015999junk", {2024, 1, 5, 9, 30, 15, 0}},
      {"2024010", {2024, 1, 1, 0, 0, 0, 0}},  // an incomplete day is not read
      {"2024 1 5", {2024, 1, 5, 0, 0, 0, 0}},
      {"2024011x", {2024, 1, 1, 0, 0, 0, 0}},  // reading stops at "x"
      {"20240229235959", {2024, 2, 29, 23, 59, 59, 0}},
      {"", now},
      {"202", now},
      {"abc", now},
      {"20241301", now},
      {"20240231", now},
      {"20230229", now},
      {"00000101", now},
      {"20240105240000", now},
      {"20240105236000", now},
      {"2024-1-5", now},
      {"202401x5", now},
  };
  for (const Case& c : cases) EXPECT_EQ(parseTimeStamp_(c.text, clock), c.time) << c.text;
}

TEST(ColourTest, TextToColour) {
  struct Case {
    std::string text;
    Colour colour;
  } cases[] = {
      {"clred", 0},
      {"clRed", 0x0000FF},
      {"$FF", 0x0000FF},
      {"255", 0x0000FF},
      {"clTeal", 0x808000},
      {"clGray", 0x808080},
      {"clSilver", 0xC0C0C0},
      {"$ff00", 0xFF00},
      {"0x1f", 0x1F},
      {"0X1F", 0x1F},
      {"12ab", 12},
      {"$12zz", 0x12},
      {"", 0},
      {" \t", 0},
      {" 255", 0},
      {"$", 0},
      {"clRed ", 0},
      {"$1FFFFFFFF", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(textToColour_(c.text), c.colour) << c.text;
}

TEST(ColourTest, ColourToTextAndBack) {
  struct Case {
    Colour colour;
    std::string text;
  } cases[] = {
      {0xC0C0C0, "clLtGray"}, {0x808080, "clDkGray"},  {0x0000FF, "clRed"},
      {0x000000, "clBlack"},  {0xFFFFFF, "clWhite"},   {0x123456, "$123456"},
      {0x0000AB, "$0000AB"},  {0x1ABCDEF, "$1ABCDEF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(colourToText_(c.colour), c.text);
    EXPECT_EQ(textToColour_(c.text), c.colour) << c.text;
  }
}

TEST(LineBytesTest, LinesEndAtLfOrCrLf) {
  struct Case {
    std::string bytes;
    StringList lines;
  } cases[] = {
      {"a\r\nb\nc", {"a", "b", "c"}}, {"a\r\n", {"a"}},       {"", {}},
      {"\n\r\n", {"", ""}},           {"a\rb\r", {"a\rb\r"}}, {kHyo + "\r\n" + kPo, {kHyo, kPo}},
  };
  for (const Case& c : cases) {
    StringList lines = {"stale"};
    bytesToLines_(c.bytes, lines);
    EXPECT_EQ(lines, c.lines);
    // The same cut at every point, as inflated text comes.
    for (std::size_t cut = 0; cut <= c.bytes.size(); ++cut) {
      StringList pieces;
      LineSplitter splitter(pieces);
      splitter.feed(std::string_view(c.bytes).substr(0, cut));
      splitter.feed(std::string_view(c.bytes).substr(cut));
      splitter.finish();
      EXPECT_EQ(pieces, c.lines) << "cut at " << cut;
    }
  }
  EXPECT_EQ(linesToBytes_({"a", "", kSo}), "a\r\n\r\n" + kSo + "\r\n");
}

class CompressedFileTest : public testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vrk-text-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir = pattern;
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string path(const std::string& name) const { return (dir / name).string(); }

  static std::string bytesOf(const std::string& file) {
    std::string bytes;
    EXPECT_EQ(readFileBytes_(file, bytes), 0) << file;
    return bytes;
  }

  static void put(const std::string& file, const std::string& bytes) {
    ASSERT_EQ(writeFileAtomic_(file, bytes), 0) << file;
  }

  static std::string deflated(std::string_view plain) {
    std::string packed;
    EXPECT_EQ(deflateBytes_(plain, packed), 0);
    return packed;
  }

  fs::path dir;
  const StringList lines = {"first", kHyo + "\\" + kPo + "|", "", "last line"};
};

TEST_F(CompressedFileTest, RoundTripWithAndWithoutFourLeadingBytes) {
  const std::string file = path("holder.mhz");
  EXPECT_EQ(writeCompressed_(lines, file), static_cast<int>(linesToBytes_(lines).size()));
  StringList read;
  EXPECT_EQ(readCompressed_(read, file), 0);
  EXPECT_EQ(read, lines);

  put(file, std::string("\x2A\0\0\0", 4) + bytesOf(file));
  read.clear();
  EXPECT_EQ(readCompressed_(read, file), 0);
  EXPECT_EQ(read, lines);

  EXPECT_EQ(writeCompressed_({}, file), 0);
  EXPECT_EQ(readCompressed_(read, file), 0);
  EXPECT_TRUE(read.empty());
}

// Python's zlib is an independent reader and writer of the same streams.
TEST_F(CompressedFileTest, StreamsAgreeWithPythonZlib) {
  if (std::system("python3 -c 'import zlib' 2>/dev/null") != 0) GTEST_SKIP() << "no python3";
  const std::string ours = path("ours.z"), plain = path("plain"), theirs = path("theirs.mhz");
  ASSERT_GT(writeCompressed_(lines, ours), 0);
  const std::string script =
      "import sys, zlib\n"
      "a = sys.argv\n"
      "open(a[2], 'wb').write(zlib.decompress(open(a[1], 'rb').read()))\n"
      "open(a[3], 'wb').write(b'\\x01\\x02\\x03\\x04' + zlib.compress(open(a[2], 'rb').read(), "
      "9))\n";
  put(path("check.py"), script);
  ASSERT_EQ(std::system(
                ("python3 " + path("check.py") + " " + ours + " " + plain + " " + theirs).c_str()),
            0);
  EXPECT_EQ(bytesOf(plain), linesToBytes_(lines));
  StringList read;
  EXPECT_EQ(readCompressed_(read, theirs), 0);
  EXPECT_EQ(read, lines);
}

TEST_F(CompressedFileTest, BrokenInputIsAnError) {
  const std::string packed = deflated(linesToBytes_(lines));
  std::string corrupt = packed;
  corrupt[corrupt.size() / 2] ^= 0x55;
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"three bytes", "\x78\x9C\x03"},
      {"plain text", "hello world\r\n"},
      {"truncated", packed.substr(0, packed.size() - 5)},
      {"truncated after four bytes", "abcd" + packed.substr(0, packed.size() / 2)},
      {"corrupted", corrupt},
      {"header only", "\x78\x9C"},
  };
  const std::string file = path("broken.mhz");
  for (const Case& c : cases) {
    put(file, c.bytes);
    StringList read = {"stale"};
    std::string error;
    EXPECT_LT(readCompressed_(read, file, &error), 0) << c.what;
    EXPECT_TRUE(read.empty()) << c.what;
    EXPECT_NE(error.find(file), std::string::npos) << c.what << ": " << error;
  }
  StringList read;
  std::string error;
  EXPECT_LT(readCompressed_(read, path("missing.mhz"), &error), 0);
  EXPECT_FALSE(error.empty());
}

TEST_F(CompressedFileTest, InflatedSizeIsCapped) {
  const std::string zeros(1 << 20, '\0');
  const std::string bomb = deflated(zeros);
  ASSERT_LT(bomb.size(), 2000u);
  std::string out, error;
  EXPECT_LT(inflateBytes_(bomb, out, &error, 100000), 0);
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(error.empty());
  EXPECT_LT(inflateBytes_(bomb, out, nullptr, zeros.size() - 1), 0);
  EXPECT_EQ(inflateBytes_(bomb, out, nullptr, zeros.size()), 0);
  EXPECT_EQ(out, zeros);
}

// zlib itself, fed zeros a mebibyte at a time: a stream our writer would not make.
std::string zeroBomb(std::size_t mebibytes) {
  const std::string zeros(std::size_t(1) << 20, '\0');
  std::string packed(64 << 10, '\0');
  z_stream zs{};
  EXPECT_EQ(deflateInit(&zs, 9), Z_OK);
  std::size_t used = 0;
  for (std::size_t i = 0; i <= mebibytes; ++i) {
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
    zs.avail_in = i < mebibytes ? static_cast<uInt>(zeros.size()) : 0;
    int rc = Z_OK;
    do {
      if (packed.size() - used < 1024) packed.resize(packed.size() * 2);
      zs.next_out = reinterpret_cast<Bytef*>(packed.data() + used);
      zs.avail_out = static_cast<uInt>(packed.size() - used);
      rc = deflate(&zs, i < mebibytes ? Z_NO_FLUSH : Z_FINISH);
      used = packed.size() - zs.avail_out;
    } while (zs.avail_in > 0 || (i == mebibytes && rc != Z_STREAM_END));
  }
  deflateEnd(&zs);
  packed.resize(used);
  return packed;
}

// Bytes that hardly compress.
std::string noise(std::size_t size, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(size, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

// Counted by what reaches the sink: nothing past the limit is ever given out.
TEST_F(CompressedFileTest, InflationStopsAtTheLimit) {
  const std::string bomb = zeroBomb(96);
  ASSERT_LT(bomb.size(), 100000u);
  const std::string text = noise(3 << 20, 1);
  const std::string packedText = deflated(text);
  const char* const kRatio = "inflated data too large for its compressed size";
  struct Case {
    const char* what;
    const std::string& packed;
    InflateLimit limit;
    int result;
    std::size_t most;  // bytes the sink may get
    const char* why;
  } cases[] = {
      {"bomb, usual limit: stops at the 64 MiB floor", bomb, {}, -1, 64 << 20, kRatio},
      {"bomb, lower floor", bomb, {1 << 30, 1 << 20, 100}, -1, 1 << 20, kRatio},
      {"bomb, total below the floor", bomb, InflateLimit(100000), -1, 100000,
       "inflated data too large"},
      {"text past the floor within the ratio", packedText, {1 << 30, 1 << 20, 100}, 0, 3 << 20, ""},
  };
  for (const Case& c : cases) {
    std::size_t given = 0;
    const ByteSink count = [&given](std::string_view piece) {
      given += piece.size();
      return 0;
    };
    std::string why;
    EXPECT_EQ(inflateTo_(c.packed, count, &why, c.limit), c.result) << c.what;
    EXPECT_LE(given, c.most) << c.what;
    if (c.result == 0) {
      EXPECT_EQ(given, c.most) << c.what;
    }
    EXPECT_EQ(why, c.why) << c.what;
  }
  // The whole-text reader refuses the same and keeps nothing.
  std::string out, why;
  EXPECT_EQ(inflateBytes_(bomb, out, &why), -1);
  EXPECT_EQ(why, kRatio);
  EXPECT_TRUE(out.empty());
}

// Whatever the writer makes under a limit, a reader under it reads back; what
// a reader would refuse is not made at all. (The writer judges by the bytes it
// wrote before each megabyte, so it refuses a little below the ratio; these
// texts keep clear of it.)
TEST_F(CompressedFileTest, WriterMakesNoStreamReadersRefuse) {
  const InflateLimit limit{1 << 30, 4 << 20, 100};
  // One noise byte in every `stride`.
  const auto sparse = [](std::size_t stride) {
    std::string bytes(6 << 20, '\0');
    const std::string dots = noise(bytes.size() / stride + 1, 2);
    for (std::size_t i = 0; i < bytes.size(); i += stride) bytes[i] = dots[i / stride];
    return bytes;
  };
  const auto write = [](const std::string& plain, const InflateLimit& under, std::string& packed) {
    DeflateStream stream(
        [&packed](std::string_view piece) {
          packed += piece;
          return 0;
        },
        under);
    int made = 0;
    for (std::size_t at = 0; at < plain.size(); at += 100000)
      made |= stream.feed(std::string_view(plain).substr(at, 100000));
    return made | stream.finish();
  };
  struct Case {
    const char* what;
    std::string plain;
    bool made;
  } cases[] = {
      {"noise", noise(6 << 20, 3), true},
      {"zeros within the floor", std::string(4 << 20, '\0'), true},
      {"zeros past the floor", std::string(6 << 20, '\0'), false},
      {"noise, then zeros", noise(3 << 20, 4) + std::string(3 << 20, '\0'), true},
      {"zeros past the floor, then noise", std::string(5 << 20, '\0') + noise(1 << 20, 5), false},
      {"about 40 times smaller", sparse(100), true},
      {"about 60 times smaller", sparse(200), true},
      {"about 140 times smaller", sparse(600), false},
  };
  for (const Case& c : cases) {
    std::string packed, back, why;
    EXPECT_EQ(write(c.plain, limit, packed) == 0, c.made) << c.what;
    if (!c.made) {  // written all the same, a reader refuses it
      packed.clear();
      ASSERT_EQ(write(c.plain, InflateLimit(SIZE_MAX, SIZE_MAX, 1), packed), 0) << c.what;
    }
    EXPECT_EQ(inflateBytes_(packed, back, &why, limit) == 0, c.made) << c.what << ": " << why;
    EXPECT_TRUE(back == (c.made ? c.plain : std::string())) << c.what;
  }
  // The usual limit holds for the file writer too.
  EXPECT_EQ(writeCompressed_(StringList(1000000, std::string(70, '-')), path("dashes.z")), -1);
  EXPECT_FALSE(fs::exists(path("dashes.z")));
}

TEST_F(CompressedFileTest, FailedWriteLeavesTheOldFile) {
  const std::string file = path("holder.mhz");
  ASSERT_GT(writeCompressed_(lines, file), 0);
  const std::string before = bytesOf(file);

  // Random text does not compress, so the new file runs into the size limit.
  std::mt19937 random(7);
  StringList big(64, std::string(1024, ' '));
  for (std::string& line : big) {
    for (char& c : line) c = static_cast<char>('!' + random() % 90);
  }
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 16384;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const int result = writeCompressed_(big, file);
  setrlimit(RLIMIT_FSIZE, &saved);
  signal(SIGXFSZ, oldHandler);

  EXPECT_EQ(result, -1);
  EXPECT_EQ(bytesOf(file), before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1)
      << "the temporary file is left behind";
  EXPECT_EQ(writeCompressed_(lines, path("no/such/folder/holder.mhz")), -1);
}

TEST_F(CompressedFileTest, AtomicWriteKeepsModeAndFollowsLinks) {
  const std::string file = path("memo.mxa"), link = path("link.mxa");
  put(file, "old");
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("memo.mxa", link);

  EXPECT_EQ(writeFileAtomic_(link, "new"), 0);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(bytesOf(file), "new");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::mask,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

  const std::string dangling = path("dangling");
  fs::create_symlink("created.txt", dangling);
  EXPECT_EQ(writeFileAtomic_(dangling, "made"), 0);
  EXPECT_EQ(bytesOf(path("created.txt")), "made");

  std::string error;
  EXPECT_EQ(writeFileAtomic_(dir.string() + "/", "x", &error), -1);
  EXPECT_FALSE(error.empty());
}

TEST_F(CompressedFileTest, UnpackZWritesTheFileWithoutItsExtension) {
  const std::string packed = path("notes.txt.Z");
  put(packed, std::string(4, '\0') + deflated(linesToBytes_(lines)));
  EXPECT_EQ(unpackZ_(packed), 0);
  EXPECT_EQ(bytesOf(path("notes.txt")), linesToBytes_(lines));

  put(path("notes.gz"), deflated("x"));
  EXPECT_EQ(unpackZ_(path("notes.gz")), -1);
  EXPECT_FALSE(fs::exists(path("notes")));

  put(path("broken.z"), "not compressed");
  std::string error;
  EXPECT_LT(unpackZ_(path("broken.z"), &error), 0);
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(fs::exists(path("broken")));

  // Cut after it gave text: the text already written is not left behind.
  const std::string whole = deflated(noise(1 << 20, 6));
  put(path("cut.z"), whole.substr(0, whole.size() / 2));
  EXPECT_LT(unpackZ_(path("cut.z"), &error), 0);
  EXPECT_EQ(error, path("cut.z") + ": zlib stream ends early");
  StringList left;
  for (const auto& entry : fs::directory_iterator(dir)) left.push_back(entry.path().filename());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (StringList{"broken.z", "cut.z", "notes.gz", "notes.txt", "notes.txt.Z"}));
}

}  // namespace
}  // namespace vrk
