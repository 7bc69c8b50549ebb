#include "model/Base64.h"

#include <gtest/gtest.h>

#include <random>

#include "model/ContentsTestSupport.h"
#include "model/TContent.h"

namespace vrk {
namespace {

using contenttest::runCapture;
using contenttest::ScratchDir;
using contenttest::splitLines;

std::string randomBlob(std::mt19937& rng, std::size_t size) {
  std::string blob(size, '\0');
  for (char& c : blob) c = static_cast<char>(rng() & 0xFF);
  return blob;
}

// Python's base64.encodebytes writes RFC 2045 lines (57 bytes to 76 characters);
// our lines must equal its lines, our one-text form its lines joined, and its
// text must decode to the blob again.
TEST(Base64Test, MatchesPythonLineForLine) {
  if (!contenttest::hasProgram("python3")) GTEST_SKIP() << "python3 is not installed";
  std::mt19937 rng(20241208);
  std::vector<std::string> blobs;
  for (std::size_t size = 0; size <= 200; ++size) blobs.push_back(randomBlob(rng, size));
  for (std::size_t size : {57u * 1000, 100003u, 1u << 20}) blobs.push_back(randomBlob(rng, size));

  // Length-prefixed blobs in; each blob's lines followed by "." out.
  std::string input;
  for (const std::string& blob : blobs) {
    const auto size = static_cast<std::uint32_t>(blob.size());
    for (int shift = 0; shift < 32; shift += 8) input += static_cast<char>((size >> shift) & 0xFF);
    input += blob;
  }
  ScratchDir dir;
  contenttest::writeBytes(dir.file("blobs"), input);
  const auto out = runCapture(
      "python3 -c \"import base64,struct,sys\n"
      "data=open(sys.argv[1],'rb').read(); i=0; o=sys.stdout.buffer\n"
      "while i < len(data):\n"
      "  n=struct.unpack('<I',data[i:i+4])[0]; "
      "o.write(base64.encodebytes(data[i+4:i+4+n])+b'.\\n'); "
      "i+=4+n\" " +
      dir.file("blobs"));
  ASSERT_TRUE(out);

  const StringList all = splitLines(*out);
  auto line = all.begin();
  for (const std::string& blob : blobs) {
    StringList expected;
    for (; line != all.end() && *line != "."; ++line) expected.push_back(*line);
    ASSERT_NE(line, all.end()) << "python output ended early";
    ++line;
    StringList ours;
    encodeBase64Lines_(blob, ours);
    ASSERT_EQ(ours, expected) << "blob of " << blob.size() << " bytes";
    std::string oneText;
    for (const std::string& part : expected) oneText += part;
    ASSERT_EQ(base64Text_(blob), oneText) << "blob of " << blob.size() << " bytes";
    std::string decoded;
    decodeBase64Lines_(expected, decoded);
    ASSERT_EQ(decoded, blob) << "blob of " << blob.size() << " bytes";
  }
  EXPECT_EQ(line, all.end());
}

TEST(Base64Test, LineBreaksAtFiftySevenBytes) {
  struct Case {
    std::size_t bytes;
    std::vector<std::size_t> lineLengths;
  };
  for (const Case& c :
       std::vector<Case>{{0, {}}, {1, {4}}, {57, {76}}, {58, {76, 4}}, {114, {76, 76}}}) {
    StringList lines;
    encodeBase64Lines_(std::string(c.bytes, 'x'), lines);
    std::vector<std::size_t> lengths;
    for (const std::string& line : lines) lengths.push_back(line.size());
    EXPECT_EQ(lengths, c.lineLengths) << c.bytes << " bytes";
  }
  StringList lines;
  encodeBase64Lines_(std::string(58, 'x'), lines);
  EXPECT_TRUE(lines.back().ends_with("=="));
}

TEST(Base64Test, LenientDecoderCases) {
  struct Case {
    const char* what;
    StringList lines;
    std::string bytes;
  };
  const std::vector<Case> cases = {
      {"two padding characters give one byte", {"QQ=="}, "A"},
      {"one padding character gives two bytes", {"QUI="}, "AB"},
      {"a space after a full group is an incomplete group", {"QUJD "}, "ABC"},
      {"characters after the last complete group are ignored", {"QUJDRA"}, "ABC"},
      {"a line under four characters is skipped", {"QUJD", "QUI", "", "RA=="}, "ABCD"},
      {"every line stands alone", {"QQ==", "QUI="}, "AAB"},
      {"characters outside the alphabet count as 0", {"Q!*-"}, std::string("@\0\0", 3)},
  };
  for (const Case& c : cases) {
    std::string out;
    decodeBase64Lines_(c.lines, out);
    EXPECT_EQ(out, c.bytes) << c.what;
  }
}

// A buffer that held longer data must not keep its old tail.
TEST(Base64Test, DecodingReplacesTheWholeBuffer) {
  std::optional<std::string> stream = std::string(1000, 'z');
  ASSERT_EQ(TContent::decodeBase64_(stream, {"QUJD"}), 0);
  EXPECT_EQ(*stream, "ABC");

  std::optional<std::string> none;
  StringList lines;
  EXPECT_EQ(TContent::decodeBase64_(none, {"QUJD"}), -1);
  EXPECT_EQ(TContent::encodeBase64_(none, lines), -1);
  EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace vrk
