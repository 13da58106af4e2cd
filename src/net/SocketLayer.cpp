// The socket layer's lifetime, counted over the network components.
#include "net/SocketLayer.h"

#include "net/SocketFailure.h"
#include "platform/Sockets.h"

namespace quillet {
namespace {

int gLive = 0;
bool gUnloading = false;

}  // namespace

SocketLayerUser::SocketLayerUser() {
  if (gLive == 0) {
    if (const int error = platform::Sockets().start(); error != 0) RaiseSocketError(error);
  }
  ++gLive;
}

SocketLayerUser::~SocketLayerUser() {
  if (--gLive == 0 && !gUnloading) platform::Sockets().stop();
}

void SocketLayerUser::Unloading() {
  gUnloading = true;
}

int SocketLayerUsers() {
  return gLive;
}

}  // namespace quillet
