// The socket layer on POSIX is part of the C library and always ready; there
// is nothing to start or stop.
#include "platform/Sockets.h"

namespace quillet::platform {

int StartSocketLayer() {
  return 0;
}

void StopSocketLayer() {}

}  // namespace quillet::platform
