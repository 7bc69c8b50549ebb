#pragma once
// Side effects the model needs, behind interfaces: the program plugs in the real
// ones, tests plug in doubles (tests/support). (The clock lives in platform/Clock.h.)
#include <cstdint>
#include <random>
#include <string>

namespace vrk {

// Random numbers for UIDs and MIME boundaries.
class Rng {
 public:
  virtual ~Rng() = default;
  // Uniform in [0, bound); 0 when bound is 0.
  virtual std::uint32_t below(std::uint32_t bound) = 0;
};

class SeededRng final : public Rng {
 public:
  explicit SeededRng(std::uint32_t seed) : engine_(seed) {}
  std::uint32_t below(std::uint32_t bound) override {
    if (bound == 0) return 0;
    return std::uniform_int_distribution<std::uint32_t>(0, bound - 1)(engine_);
  }

 private:
  std::mt19937 engine_;
};

// The model's fixed message boxes (modal, OK button). Texts are Shift_JIS.
class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void showMessage(const std::string& text) = 0;
};

// Fetches a web address into a local file (UTF-8 path). 0 on success, a
// negative code on failure with a message in *error.
class Downloader {
 public:
  virtual ~Downloader() = default;
  virtual int download(const std::string& url, const std::string& targetPath,
                       std::string* error) = 0;
};

}  // namespace vrk
