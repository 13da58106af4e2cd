// The count of network components and the socket layer's lifetime.
#include "net/NetComponent.h"

#include <string>

#include "frame/Failure.h"
#include "platform/Sockets.h"

namespace quillet {
namespace {

int gLive = 0;
bool gUnloading = false;

}  // namespace

TIdNetComponent::TIdNetComponent() {
  if (gLive == 0) {
    const int error = platform::StartSocketLayer();
    if (error != 0) Raise("EIdSocketError", "Socket Error # " + std::to_string(error) + "\r\n");
  }
  ++gLive;
}

TIdNetComponent::~TIdNetComponent() {
  if (--gLive == 0 && !gUnloading) platform::StopSocketLayer();
}

int LiveNetComponents() {
  return gLive;
}

void KeepSocketLayerAtUnload() {
  gUnloading = true;
}

}  // namespace quillet
