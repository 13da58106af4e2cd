// The network macros.
#include "net/NetMacros.h"

#include "frame/Macros.h"

namespace quillet {

void AttachUrlMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("ATTACHURL");
}
void PingMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("PING");
}
void PutUrlMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("PUTURL");
}

}  // namespace quillet
