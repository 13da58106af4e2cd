// The whois client of the component set. The WHOIS macro does no work, so
// the component is configured and never called.
#pragma once

#include <cstdint>
#include <string>

#include "net/IdSettings.h"
#include "net/NetComponent.h"

namespace quillet {

class TIdWhois : public TIdNetComponent {
 public:
  TIdMaxLineAction MaxLineAction = TIdMaxLineAction::maException;
  int32_t ReadTimeout = 0;
  std::string Host;
  uint16_t Port = 0;
};

}  // namespace quillet
