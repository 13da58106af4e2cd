// The count of network components and the socket layer's lifetime.
#include "net/NetComponent.h"

#include "net/SocketError.h"
#include "platform/Sockets.h"

namespace quillet {
namespace {

int gLive = 0;
bool gUnloading = false;

}  // namespace

TIdNetComponent::TIdNetComponent() {
  if (gLive == 0) {
    if (const int error = platform::Sockets().start(); error != 0) RaiseSocketError(error);
  }
  ++gLive;
}

TIdNetComponent::~TIdNetComponent() {
  if (--gLive == 0 && !gUnloading) platform::Sockets().stop();
}

int LiveNetComponents() {
  return gLive;
}

void KeepSocketLayerAtUnload() {
  gUnloading = true;
}

}  // namespace quillet
