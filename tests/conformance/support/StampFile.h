// The stamp file at the plug-in's fixed path, made and timed by each
// system's own calls: on Windows at that very path, natively at the path
// mapped under $QUILLET_DRIVES in a fresh folder, in a time zone with summer
// time.
#pragma once

#include <optional>
#include <string>

#include "support/SelfDescription.h"

namespace quillet::conformance {

class StampFile : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Makes the stamp file, or a folder of that name.
  void Create() const;
  void CreateFolder() const;

  // Sets the stamp's last-write time to a local time.
  void Touch(int year, int month, int day, int hour, int minute, int second) const;

  std::string path_;                      // the stamp in the system's own form
  std::string root_;                      // natively: the fresh folder that holds the drives
  std::optional<std::string> savedZone_;  // natively: TZ before the test
};

}  // namespace quillet::conformance
