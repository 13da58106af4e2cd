// The component set.
#include "net/DataMod.h"

namespace quillet {

void CreateDataMod() {}

void FreeDataMod() {}

}  // namespace quillet
