#pragma once
// Checked weak handles: whatever keeps a model object beyond the current call
// (history, result lists, node windows) keeps pointer + serial and asks the
// registry before touching it, so a freed object is skipped instead of used.
#include <cstdint>
#include <unordered_map>

namespace vrk {

class LiveRegistry {
 public:
  static LiveRegistry& instance();

  // A fresh serial for a new object at p.
  std::uint64_t enter(const void* p);
  void leave(const void* p);
  // True while the object at p that got `serial` is alive; a new object at the
  // same address has another serial.
  bool isAlive(const void* p, std::uint64_t serial) const;
  std::size_t countOfLive() const { return live_.size(); }

 private:
  std::unordered_map<const void*, std::uint64_t> live_;
  std::uint64_t nextSerial_ = 1;
};

// T is a model object (it answers serial()).
template <class T>
class WeakRef {
 public:
  WeakRef() = default;
  WeakRef(T* object) : object_(object), serial_(object ? object->serial() : 0) {}  // NOLINT

  // The object, or null when it was freed.
  T* get() const {
    return object_ && LiveRegistry::instance().isAlive(object_, serial_) ? object_ : nullptr;
  }
  explicit operator bool() const { return get() != nullptr; }
  bool operator==(const WeakRef& other) const {
    return object_ == other.object_ && serial_ == other.serial_;
  }

 private:
  T* object_ = nullptr;
  std::uint64_t serial_ = 0;
};

}  // namespace vrk
