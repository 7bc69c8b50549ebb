#include "model/LiveRegistry.h"

namespace vrk {

LiveRegistry& LiveRegistry::instance() {
  // Never destroyed: objects freed during static destruction still leave it.
  static LiveRegistry* registry = new LiveRegistry;
  return *registry;
}

std::uint64_t LiveRegistry::enter(const void* p) {
  const std::uint64_t serial = nextSerial_++;
  live_[p] = serial;
  return serial;
}

void LiveRegistry::leave(const void* p) { live_.erase(p); }

bool LiveRegistry::isAlive(const void* p, std::uint64_t serial) const {
  const auto it = live_.find(p);
  return it != live_.end() && it->second == serial;
}

}  // namespace vrk
