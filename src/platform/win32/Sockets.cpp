// The Windows Sockets layer: WSAStartup for version 2.2 and WSACleanup.
#include <winsock2.h>

#include "platform/Sockets.h"

namespace quillet::platform {

int StartSocketLayer() {
  WSADATA data{};
  return WSAStartup(MAKEWORD(2, 2), &data);
}

void StopSocketLayer() {
  WSACleanup();
}

}  // namespace quillet::platform
