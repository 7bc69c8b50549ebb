#pragma once
// Base of every model object. Its name is not kept here: the owner lists the
// object under a name, and getName asks the owner for it.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace vrk {

class TObjectNamed {
 public:
  // A new object starts in the state its clear leaves (members are initialised
  // to it), since a constructor cannot reach a subclass's clear.
  explicit TObjectNamed(TObjectNamed* owner = nullptr);
  virtual ~TObjectNamed();
  TObjectNamed(const TObjectNamed&) = delete;
  TObjectNamed& operator=(const TObjectNamed&) = delete;

  TObjectNamed* aOwner = nullptr;  // not owned

  // Virtual operations in slot order; subclasses append theirs after these.
  virtual int clear();
  virtual std::string getNameChild_(const TObjectNamed* child) const;
  virtual std::string putNameChild_as_(TObjectNamed* child, std::string_view name);
  virtual std::string getName() const;
  virtual std::string putName_(std::string_view name);
  virtual std::unique_ptr<TObjectNamed> deepCopy() const;
  virtual void assign_(const TObjectNamed& source);
  virtual int moveUp();
  virtual int moveDown();

  // Shows a message and answers true when object is null.
  static bool checkNIL(const TObjectNamed* object);
  // The class name without namespace, for messages.
  std::string className() const;
  // Identity for WeakRef (model/LiveRegistry.h).
  std::uint64_t serial() const { return serial_; }

 private:
  std::uint64_t serial_;
};

// Shows a model message box (Shift_JIS text) through the model's message sink.
void showModelMessage_(const std::string& text);

}  // namespace vrk
