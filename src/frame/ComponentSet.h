// The plug-in's state from WRP_Initialize to WRP_Finalize (in the older
// vocabulary the data module, "TDataMod"): a set of components, each owned by
// the module that uses it, which the frame keeps alive without knowing them.
#pragma once

#include <memory>
#include <vector>

#include "frame/Failure.h"

namespace quillet {

// One piece of the state; the module that defines it finds it again with
// LiveComponent.
class Component {
 public:
  Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;
  virtual ~Component() = default;
  // Called on every component still alive when the library is unloaded,
  // before any of them is freed.
  virtual void Unloading() {}
};

using Components = std::vector<std::unique_ptr<Component>>;

// Makes a new set of the components and makes it the current one. A set that
// was current before stays alive until the library is unloaded.
void AddComponentSet(Components components);

// Frees the current set, if any; then there is none.
void FreeComponentSet();

// How many sets exist now, the current one and those kept until unload.
int ComponentSetCount();

// The current set's components, first made first. Fails with a clear message
// when the host has not called WRP_Initialize, or has called WRP_Finalize
// since.
const Components& LiveComponents();

// The current set's component of type T.
template <class T>
T& LiveComponent() {
  for (const std::unique_ptr<Component>& component : LiveComponents())
    if (auto* found = dynamic_cast<T*>(component.get())) return *found;
  // Every set is made with every component, so this only reports a set list
  // that lost one, without ending the host's process.
  Raise(kException, "The component set holds no such component");
}

}  // namespace quillet
