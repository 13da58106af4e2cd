// The common base of the network components: the socket layer is started
// with the first of them and shut down with the last.
#pragma once

namespace quillet {

class TIdNetComponent {
 public:
  TIdNetComponent(const TIdNetComponent&) = delete;
  TIdNetComponent& operator=(const TIdNetComponent&) = delete;

 protected:
  // Fails with EIdSocketError when the socket layer cannot start.
  TIdNetComponent();
  ~TIdNetComponent();
};

// How many network components exist now, in every component set.
int LiveNetComponents();

// Components freed from now on leave the socket layer running. Called when
// the library is unloaded: on Windows that runs under the loader lock, where
// shutting the socket layer down may deadlock; the process's end releases it.
void KeepSocketLayerAtUnload();

}  // namespace quillet
