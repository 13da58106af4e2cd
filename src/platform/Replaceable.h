// The one way a table of system calls is made replaceable for white-box
// tests: the system's own table until a test hands in another, and again
// once it hands in none.
#pragma once

namespace quillet::platform {

template <class Calls>
class Replaceable {
 public:
  constexpr explicit Replaceable(const Calls& system) : system_(&system), current_(&system) {}

  const Calls& operator*() const { return *current_; }
  // A null table puts the system's own back.
  void Replace(const Calls* calls) { current_ = calls != nullptr ? calls : system_; }

 private:
  const Calls* system_;
  const Calls* current_;
};

}  // namespace quillet::platform
