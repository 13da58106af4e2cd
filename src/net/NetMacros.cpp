// The network macros.
#include "net/NetMacros.h"

#include "frame/Macros.h"

namespace quillet {

void AttachUrlMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("ATTACHURL");
}
void PutUrlMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("PUTURL");
}

}  // namespace quillet
