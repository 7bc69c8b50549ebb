#include "text/Basic.h"

#include <zlib.h>

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <new>
#include <optional>
#include <utility>

#include "text/CharEX.h"
#include "text/FileIO.h"

namespace vrk {
namespace {

// A piece of a time stamp as a number: leading blanks skipped, reading stops at
// the first byte that cannot continue it; -1 when there is no number at all.
int readNumber(std::string_view piece) {
  while (!piece.empty() && isBlankByte(static_cast<unsigned char>(piece.front()))) {
    piece.remove_prefix(1);
  }
  int value = 0;
  const auto [end, ec] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
  return ec == std::errc() ? value : -1;
}

struct NamedColour {
  std::string_view name;
  Colour value;
};

// Where two names share a value, the first one is the one written.
constexpr NamedColour kColours[] = {
    {"clBlack", 0x000000}, {"clMaroon", 0x000080}, {"clGreen", 0x008000},  {"clOlive", 0x008080},
    {"clNavy", 0x800000},  {"clPurple", 0x800080}, {"clTeal", 0x808000},   {"clDkGray", 0x808080},
    {"clGray", 0x808080},  {"clLtGray", 0xC0C0C0}, {"clSilver", 0xC0C0C0}, {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},  {"clYellow", 0x00FFFF}, {"clBlue", 0xFF0000},   {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
};

bool hasZlibHeader(std::string_view bytes, std::size_t at) {
  if (bytes.size() < at + 2) return false;
  const unsigned cmf = static_cast<unsigned char>(bytes[at]);
  const unsigned flg = static_cast<unsigned char>(bytes[at + 1]);
  const bool deflate = (cmf & 0x0F) == 8 && (cmf >> 4) <= 7;
  const bool presetDictionary = (flg & 0x20) != 0;
  return deflate && !presetDictionary && (cmf * 256 + flg) % 31 == 0;
}

// Inflates one zlib stream that starts at the first byte into the sink;
// bytes after its end are ignored. 0; -1 broken or past the limit (why says
// how); -2 the sink stopped it. `produced` counts the bytes given to the sink.
int inflateStream(std::string_view in, const ByteSink& sink, const InflateLimit& limit,
                  std::string& why, std::size_t& produced) {
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) {
    why = "cannot start inflating";
    return -1;
  }
  char buffer[1 << 16];
  std::size_t fed = 0;
  int rc = Z_OK;
  int result = 0;
  while (rc != Z_STREAM_END) {
    if (zs.avail_in == 0 && fed < in.size()) {
      const std::size_t chunk = std::min<std::size_t>(in.size() - fed, std::size_t(1) << 30);
      zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data() + fed));
      zs.avail_in = static_cast<uInt>(chunk);
      fed += chunk;
    }
    zs.next_out = reinterpret_cast<Bytef*>(buffer);
    zs.avail_out = sizeof buffer;
    rc = inflate(&zs, Z_NO_FLUSH);
    const std::size_t size = sizeof buffer - zs.avail_out;
    const bool inputDone = zs.avail_in == 0 && fed == in.size();
    const char* problem = nullptr;
    if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) {
      problem = zs.msg ? zs.msg : "broken zlib stream";
    } else if (rc != Z_STREAM_END && inputDone && zs.avail_out != 0) {
      problem = "zlib stream ends early";
    } else {
      // Checked before the sink sees a byte of this piece.
      problem = limit.exceededBy(produced + size, zs.total_in);
    }
    if (problem) {
      why = problem;
      result = -1;
      break;
    }
    produced += size;
    if (size > 0 && sink({buffer, size}) != 0) {
      result = -2;
      break;
    }
  }
  inflateEnd(&zs);
  return result;
}

// The stream at the first byte, else after four bytes. Before the second try
// `restart` takes back what the first one gave. 0, -1 or -2 as inflateTo_.
int inflateEither(std::string_view compressed, const ByteSink& sink,
                  const std::function<void()>& restart, const InflateLimit& limit,
                  std::string& why) {
  why = "not a zlib stream";
  bool tried = false;
  int result = -1;
  for (const std::size_t skip : {std::size_t(0), std::size_t(4)}) {
    if (!hasZlibHeader(compressed, skip)) continue;
    if (std::exchange(tried, true)) restart();
    std::size_t produced = 0;
    result = inflateStream(compressed.substr(skip), sink, limit, why, produced);
    if (result != -1) return result;
  }
  return result;
}

int inflateFailed(const std::string& path, const std::string& why, std::string* error) {
  if (error) *error = path + ": " + why;
  return -1;
}

}  // namespace

LocalTime parseTimeStamp_(std::string_view text, const Clock& clock) {
  struct Piece {
    std::size_t start, length;
    int LocalTime::*field;
    int missing;
  };
  static constexpr Piece kPieces[] = {
      {0, 4, &LocalTime::year, 0}, {4, 2, &LocalTime::month, 1},   {6, 2, &LocalTime::day, 1},
      {8, 2, &LocalTime::hour, 0}, {10, 2, &LocalTime::minute, 0}, {12, 2, &LocalTime::second, 0},
  };
  if (text.size() < 4) return clock.now();
  LocalTime time;
  time.millisecond = 0;
  for (const Piece& piece : kPieces) {
    time.*piece.field = text.size() >= piece.start + piece.length
                            ? readNumber(text.substr(piece.start, piece.length))
                            : piece.missing;
  }
  return time.isValid() ? time : clock.now();
}

std::string colourToText_(Colour colour) {
  for (const NamedColour& named : kColours) {
    if (named.value == colour) return std::string(named.name);
  }
  char text[16];
  std::snprintf(text, sizeof text, "$%.6X", static_cast<unsigned>(colour));
  return text;
}

Colour textToColour_(std::string_view text) {
  if (isBlank_(text)) return 0;
  const char first = text.front();
  if (first == '$' || (first >= '0' && first <= '9')) {
    int base = 10;
    if (first == '$') {
      base = 16;
      text.remove_prefix(1);
    } else if (text.size() >= 2 && first == '0' && (text[1] == 'x' || text[1] == 'X')) {
      base = 16;
      text.remove_prefix(2);
    }
    Colour value = 0;  // stays 0 without digits or beyond 32 bits
    std::from_chars(text.data(), text.data() + text.size(), value, base);
    return value;
  }
  for (const NamedColour& named : kColours) {
    if (named.name == text) return named.value;
  }
  return 0;
}

const char* InflateLimit::exceededBy(std::size_t inflated, std::size_t compressed) const {
  if (inflated > total) return "inflated data too large";
  // inflated > ratio * compressed, without overflow.
  if (inflated > floor && ratio > 0 && (inflated - 1) / ratio >= compressed)
    return "inflated data too large for its compressed size";
  return nullptr;
}

int inflateBytes_(std::string_view compressed, std::string& out, std::string* error,
                  const InflateLimit& limit) {
  out.clear();
  std::string why;
  const ByteSink append = [&out](std::string_view text) {
    out += text;
    return 0;
  };
  if (inflateEither(
          compressed, append, [&out] { out.clear(); }, limit, why) == 0)
    return 0;
  out.clear();
  if (error) *error = why;
  return -1;
}

int inflateTo_(std::string_view compressed, const ByteSink& sink, std::string* error,
               const InflateLimit& limit) {
  std::string why = "not a zlib stream";
  for (const std::size_t skip : {std::size_t(0), std::size_t(4)}) {
    if (!hasZlibHeader(compressed, skip)) continue;
    std::size_t produced = 0;
    const int result = inflateStream(compressed.substr(skip), sink, limit, why, produced);
    if (result != -1 || produced > 0) {
      if (result == -1 && error) *error = why;
      return result;
    }
  }
  if (error) *error = why;
  return -1;
}

int deflateBytes_(std::string_view plain, std::string& out) {
  out.clear();
  DeflateStream stream([&out](std::string_view packed) {
    out += packed;
    return 0;
  });
  if (stream.feed(plain) == 0 && stream.finish() == 0) return 0;
  out.clear();
  return -1;
}

DeflateStream::DeflateStream(ByteSink sink, const InflateLimit& limit)
    : sink_(std::move(sink)), limit_(limit), zs_(new z_stream{}) {
  ok_ = deflateInit(zs_.get(), Z_DEFAULT_COMPRESSION) == Z_OK;
}

DeflateStream::~DeflateStream() { deflateEnd(zs_.get()); }

int DeflateStream::feed(std::string_view plain) { return run(plain, false); }

int DeflateStream::finish() { return run({}, true); }

int DeflateStream::run(std::string_view plain, bool last) {
  char buffer[1 << 16];
  while (ok_) {
    // Slices small enough that the check below stays close to what readers
    // count, and within zlib's 32-bit counts.
    const std::size_t slice = std::min<std::size_t>(plain.size(), std::size_t(1) << 20);
    zs_->next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    zs_->avail_in = static_cast<uInt>(slice);
    const bool lastSlice = slice == plain.size();
    // Whatever this slice adds, a reader has read at least the bytes already
    // written before it gives any of it back; judged by those, the stream is
    // never one that a reader refuses.
    const std::size_t writtenBefore = zs_->total_out;
    int rc = Z_OK;
    do {
      zs_->next_out = reinterpret_cast<Bytef*>(buffer);
      zs_->avail_out = sizeof buffer;
      rc = deflate(zs_.get(), last && lastSlice ? Z_FINISH : Z_NO_FLUSH);
      const std::size_t produced = sizeof buffer - zs_->avail_out;
      ok_ = rc != Z_STREAM_ERROR && (produced == 0 || sink_({buffer, produced}) == 0);
    } while (ok_ && zs_->avail_out == 0);
    if (ok_ && slice > 0 && limit_.exceededBy(zs_->total_in, writtenBefore)) ok_ = false;
    plain.remove_prefix(slice);
    if (lastSlice) return ok_ && (!last || rc == Z_STREAM_END) ? 0 : -1;
  }
  return -1;
}

int inflateLines_(std::string_view compressed, StringList& lines, std::string* error) {
  lines.clear();
  std::optional<LineSplitter> splitter(lines);
  const ByteSink split = [&splitter](std::string_view text) {
    splitter->feed(text);
    return 0;
  };
  const auto restart = [&] {
    lines.clear();
    splitter.emplace(lines);
  };
  std::string why;
  if (inflateEither(compressed, split, restart, {}, why) != 0) {
    lines.clear();
    if (error) *error = why;
    return -1;
  }
  splitter->finish();
  return 0;
}

int readCompressed_(StringList& lines, const std::string& path, std::string* error) {
  lines.clear();
  std::string packed;
  if (readFileBytes_(path, packed, error) != 0) return -1;
  std::string why;
  if (inflateLines_(packed, lines, &why) != 0) return inflateFailed(path, why, error);
  return 0;
}

int writeCompressed_(const StringList& lines, const std::string& path, std::string* error) {
  const auto fail = [&](const char* why) {
    if (error) *error = why + path;
    return -1;
  };
  try {
    const std::string plain = linesToBytes_(lines);
    std::string packed;
    // The deflater refuses a stream the readers would refuse (by size or by
    // ratio): such a file would never load again.
    if (deflateBytes_(plain, packed) != 0)
      return fail("cannot compress (more than a reader accepts for its size): ");
    if (writeFileAtomic_(path, packed, error) != 0) return -1;
    return static_cast<int>(plain.size());
  } catch (const std::bad_alloc&) {
    return fail("out of memory while compressing ");
  }
}

int decompressFile_(const std::string& source, const std::string& target, std::string* error) {
  std::string packed, why;
  if (readFileBytes_(source, packed, error) != 0) return -1;
  // Straight into the new file: the text is never held whole.
  std::optional<AtomicFileWriter> writer(target);
  const ByteSink write = [&writer](std::string_view text) { return writer->write(text); };
  const int inflated = inflateEither(
      packed, write, [&] { writer.emplace(target); }, {}, why);
  if (inflated == -1) return inflateFailed(source, why, error);
  return writer->commit(error);
}

int unpackZ_(const std::string& path, std::string* error) {
  const std::size_t n = path.size();
  // The path is UTF-8, so the extension is tested bytewise.
  if (n < 2 || path[n - 2] != '.' || (path[n - 1] != 'z' && path[n - 1] != 'Z')) return -1;
  return decompressFile_(path, path.substr(0, n - 2), error);
}

void bytesToLines_(std::string_view bytes, StringList& lines) {
  lines.clear();
  LineSplitter splitter(lines);
  splitter.feed(bytes);
  splitter.finish();
}

void LineSplitter::feed(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t end = bytes.find('\n');
    if (end == std::string_view::npos) {
      pending_.append(bytes);
      open_ = true;
      return;
    }
    std::string_view line = bytes.substr(0, end);
    bytes.remove_prefix(end + 1);
    if (open_) {
      pending_.append(line);
      open_ = false;
      if (pending_.ends_with('\r')) pending_.pop_back();
      lines_.push_back(std::move(pending_));
      pending_.clear();
      continue;
    }
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines_.emplace_back(line);
  }
}

void LineSplitter::finish() {
  if (open_) lines_.push_back(std::move(pending_));
  pending_.clear();
  open_ = false;
}

std::string linesToBytes_(const StringList& lines) {
  std::size_t total = 0;
  for (const std::string& line : lines) total += line.size() + 2;
  std::string out;
  out.reserve(total);
  for (const std::string& line : lines) out.append(line).append("\r\n");
  return out;
}

}  // namespace vrk
