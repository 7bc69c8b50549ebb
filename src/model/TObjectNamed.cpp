#include "model/TObjectNamed.h"

#include <cxxabi.h>

#include <cstdlib>
#include <typeinfo>

#include "model/LiveRegistry.h"
#include "model/ModelServices.h"
#include "model/TObjectParent.h"
#include "platform/SJ.h"

namespace vrk {

void showModelMessage_(const std::string& text) { modelServices().messages->showMessage(text); }

TObjectNamed::TObjectNamed(TObjectNamed* owner)
    : aOwner(owner), serial_(LiveRegistry::instance().enter(this)) {}

TObjectNamed::~TObjectNamed() { LiveRegistry::instance().leave(this); }

int TObjectNamed::clear() { return 0; }

std::string TObjectNamed::getNameChild_(const TObjectNamed*) const {
  showModelMessage_("Should not execute. self.classname=" + className() +
                    " in TObjectNamed.getNameChild_ ");
  return {};
}

std::string TObjectNamed::putNameChild_as_(TObjectNamed*, std::string_view) {
  showModelMessage_("Should not execute. TObjectNamed.putNameChild_as_ ");
  return {};
}

std::string TObjectNamed::getName() const {
  return aOwner ? aOwner->getNameChild_(this) : "noname";
}

std::string TObjectNamed::putName_(std::string_view name) {
  return aOwner ? aOwner->putNameChild_as_(this, name) : "noname";
}

std::unique_ptr<TObjectNamed> TObjectNamed::deepCopy() const {
  showModelMessage_(SJ("このメソッドは実行できない。in TObjectNamed.deepCopy "));
  auto copy = std::make_unique<TObjectNamed>(aOwner);
  copy->assign_(*this);
  return copy;
}

void TObjectNamed::assign_(const TObjectNamed&) {}

int TObjectNamed::moveUp() {
  auto* parent = dynamic_cast<TObjectParent*>(aOwner);
  return parent ? parent->moveChildUp_(this) : -1;
}

int TObjectNamed::moveDown() {
  auto* parent = dynamic_cast<TObjectParent*>(aOwner);
  return parent ? parent->moveChildDown_(this) : -1;
}

bool TObjectNamed::checkNIL(const TObjectNamed* object) {
  if (object) return false;
  showModelMessage_("TObjectNamed.checkNIL");
  return true;
}

std::string TObjectNamed::className() const {
  const char* mangled = typeid(*this).name();
  int status = 0;
  char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
  std::string name = status == 0 && demangled ? demangled : mangled;
  std::free(demangled);
  const std::size_t colons = name.rfind("::");
  return colons == std::string::npos ? name : name.substr(colons + 2);
}

}  // namespace vrk
