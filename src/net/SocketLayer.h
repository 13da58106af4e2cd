// A reference count on the socket layer (in the older vocabulary the network
// component, "TIdNetComponent"): the layer is started with the first network
// component of any set and shut down with the last.
#pragma once

#include "frame/ComponentSet.h"

namespace quillet {

class SocketLayerUser : public Component {
 public:
  // Components freed from now on leave the socket layer running: on Windows
  // the library's unload runs under the loader lock, where shutting the layer
  // down may deadlock; the process's end releases it.
  void Unloading() override;

 protected:
  // Fails with EIdSocketError when the socket layer cannot start.
  SocketLayerUser();
  ~SocketLayerUser() override;
};

// How many network components exist now, in every component set.
int SocketLayerUsers();

}  // namespace quillet
