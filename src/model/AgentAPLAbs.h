#pragma once
// How model helpers and views reach the running application without knowing
// its windows. The base answers neutral values after a message.
#include <string>
#include <string_view>

#include "model/TObjectNamed.h"

namespace vrk {

class AgentAPLAbs : public TObjectNamed {
 public:
  using TObjectNamed::TObjectNamed;

  // Virtual operations in slot order, after those of TObjectNamed.
  virtual bool getFlagBreak();                       // Break was pressed
  virtual int sendMessage_(std::string_view text);   // status line; 0 when shown
  virtual std::string query_(std::string_view key);  // "getUIInternet": "true"/"false"
  // Reserved slots no agent implements.
  virtual int reserved1_(std::string_view text);
  virtual int reserved2_(std::string_view text);
};

}  // namespace vrk
