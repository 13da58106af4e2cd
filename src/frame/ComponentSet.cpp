// The component sets. The library owns every set it makes: the current one is
// freed by WRP_Finalize, any other when the library is unloaded.
#include "frame/ComponentSet.h"

#include <algorithm>

namespace quillet {
namespace {

// Each set frees its components last made first, as members are destroyed.
struct Set {
  explicit Set(Components made) : components(std::move(made)) {}
  ~Set() {
    while (!components.empty()) components.pop_back();
  }
  Set(const Set&) = delete;
  Set& operator=(const Set&) = delete;
  Components components;
};

struct Sets {
  ~Sets() {
    for (const std::unique_ptr<Set>& set : alive)
      for (const std::unique_ptr<Component>& component : set->components) component->Unloading();
  }

  std::vector<std::unique_ptr<Set>> alive;
  Set* current = nullptr;
};

// Destroyed when the library is unloaded, freeing what is still alive.
Sets& AllSets() {
  static Sets sets;
  return sets;
}

}  // namespace

void AddComponentSet(Components components) {
  Sets& sets = AllSets();
  sets.alive.reserve(sets.alive.size() + 1);
  sets.alive.push_back(std::make_unique<Set>(std::move(components)));
  sets.current = sets.alive.back().get();
}

void FreeComponentSet() {
  Sets& sets = AllSets();
  if (sets.current == nullptr) return;
  const auto found = std::find_if(sets.alive.begin(), sets.alive.end(),
                                  [&](const auto& set) { return set.get() == sets.current; });
  sets.current = nullptr;
  if (found != sets.alive.end()) sets.alive.erase(found);
}

int ComponentSetCount() {
  return static_cast<int>(AllSets().alive.size());
}

const Components& LiveComponents() {
  const Set* current = AllSets().current;
  if (current == nullptr)
    Raise(kException,
          "Quillet is not initialised: the host has not called WRP_Initialize, or has called "
          "WRP_Finalize since");
  return current->components;
}

}  // namespace quillet
