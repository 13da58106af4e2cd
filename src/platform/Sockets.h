// Start-up and shut-down of the system's socket layer, which must be running
// while any network component exists.
#pragma once

namespace quillet::platform {

// 0 when the socket layer is ready, else the system's error number.
int StartSocketLayer();

// Undoes one successful StartSocketLayer.
void StopSocketLayer();

}  // namespace quillet::platform
