#include "shell/Services.h"

#include <random>

#include "platform/PosixProcessRunner.h"
#include "platform/qt/QtDesktopShell.h"
#include "platform/qt/QtDownloader.h"
#include "platform/qt/QtPrompter.h"

namespace vrk {

ModelPorts::ModelPorts(const Services& services)
    : scope_(ModelServices{services.clock, services.rng, services.messages, services.downloader,
                           modelServices().tempDir}) {}

void ModelPorts::putTempDir_(const std::string& dir) { modelServices().tempDir = dir; }

RealServices::RealServices()
    : rng_(std::make_unique<SeededRng>(std::random_device{}())),
      prompter_(std::make_unique<QtPrompter>(QStringLiteral("vrk"))),
      desktop_(std::make_unique<QtDesktopShell>()),
      processes_(std::make_unique<PosixProcessRunner>()),
      downloader_(std::make_unique<QtDownloader>()),
      messages_(std::make_unique<PrompterMessageSink>(*prompter_)),
      printers_(std::make_unique<QtPrinters>()),
      services_{&SystemClock::instance(), rng_.get(),        prompter_.get(), desktop_.get(),
                processes_.get(),         downloader_.get(), messages_.get(), printers_.get()} {}

RealServices::~RealServices() = default;

}  // namespace vrk
