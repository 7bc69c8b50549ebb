#include "model/AgentAPLAbs.h"

namespace vrk {
namespace {

void notImplemented(std::string_view what) {
  showModelMessage_("Still not implemented. " + std::string(what));
}

}  // namespace

bool AgentAPLAbs::getFlagBreak() {
  notImplemented("AgentAPLAbs.getFlagBreak ");
  return false;
}

int AgentAPLAbs::sendMessage_(std::string_view) {
  notImplemented("AgentAPLAbs.sendMessage_ ");
  return -1;
}

std::string AgentAPLAbs::query_(std::string_view) {
  notImplemented("AgentAPLAbs.query_ ");
  return {};
}

int AgentAPLAbs::reserved1_(std::string_view) {
  notImplemented("AgentAPLAbs.reserved1_ ");
  return -1;
}

int AgentAPLAbs::reserved2_(std::string_view) {
  notImplemented("AgentAPLAbs.reserved2_ ");
  return -1;
}

}  // namespace vrk
