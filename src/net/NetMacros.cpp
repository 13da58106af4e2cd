// The network macros.
#include "net/NetMacros.h"

#include "frame/Macros.h"

namespace quillet {

void PingMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("PING");
}

}  // namespace quillet
