// The component set's make-up (in the older vocabulary CreateDataMod): the
// date stamp, the echo client and the HTTP client, made in that order by each
// WRP_Initialize. It sits at the top of the build with the macro table, as it
// knows the calendar's component and the network's; the set itself is
// frame/ComponentSet.h, which frees it.
#pragma once

#include "frame/ComponentSet.h"

namespace quillet {

// Makes a new component set and makes it the current one. Fails with
// EIdSocketError when the socket layer cannot start; then no set is made.
void MakeComponentSet();

}  // namespace quillet
