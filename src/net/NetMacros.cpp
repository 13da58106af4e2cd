// The network macros.
#include "net/NetMacros.h"

#include "frame/Macros.h"

namespace quillet {

void HostNameMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("HOSTNAME");
}
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
