// The desktop program: the start-up sequence and the message loop.
#include "commands/TFormMainRegular14.h"
#include "shell/Startup.h"

int main(int argc, char** argv) {
  return vrk::runVrk(argc, argv, [](const vrk::Services& services) {
    return std::unique_ptr<vrk::TFormMainBaseVRK>(vrk::TFormMainRegular14::create(services));
  });
}
