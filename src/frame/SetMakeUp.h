// The component set's make-up: the date stamp, the echo client and the HTTP
// client, made in that order by each WRP_Initialize. It sits in the network
// module, the one module that may know both the calendar's component and its
// own; the set itself is frame/ComponentSet.h.
#pragma once

namespace quillet {

// Makes a new component set and makes it the current one. Fails with
// EIdSocketError when the socket layer cannot start; then no set is made.
void CreateDataMod();

// Frees the current component set, if any.
void FreeDataMod();

}  // namespace quillet
