#include "model/ModelServices.h"

#include <iostream>
#include <random>

namespace vrk {
namespace {

class StderrMessageSink final : public MessageSink {
 public:
  void showMessage(const std::string& text) override { std::cerr << text << '\n'; }
};

// Until the program plugs in a network downloader, downloads fail.
class FailingDownloader final : public Downloader {
 public:
  int download(const std::string& url, const std::string&, std::string* error) override {
    if (error) *error = "no downloader: " + url;
    return -1;
  }
};

ModelServices makeDefaults() {
  static SeededRng rng(std::random_device{}());
  static StderrMessageSink messages;
  static FailingDownloader downloader;
  return ModelServices{&SystemClock::instance(), &rng, &messages, &downloader, {}};
}

}  // namespace

ModelServices& modelServices() {
  static ModelServices services = makeDefaults();
  return services;
}

ScopedModelServices::ScopedModelServices(const ModelServices& replacement)
    : saved_(modelServices()) {
  ModelServices& current = modelServices();
  if (replacement.clock) current.clock = replacement.clock;
  if (replacement.rng) current.rng = replacement.rng;
  if (replacement.messages) current.messages = replacement.messages;
  if (replacement.downloader) current.downloader = replacement.downloader;
  current.tempDir = replacement.tempDir;
}

ScopedModelServices::~ScopedModelServices() { modelServices() = saved_; }

}  // namespace vrk
