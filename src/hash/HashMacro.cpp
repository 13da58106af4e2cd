// The HASH macro.
#include "hash/HashMacro.h"

#include "frame/Macros.h"

namespace quillet {

void HashMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("HASH");
}

}  // namespace quillet
