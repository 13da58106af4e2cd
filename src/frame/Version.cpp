// The version text, the information page and the QLVERSION macro.
#include "frame/Version.h"

#include "frame/Macros.h"

namespace quillet {

std::string GetVersionText() {
  return "0.3.21";
}

std::string GetInfoPage() {
  return "<html><body>Quillet " + GetVersionText() + "</body></html>";
}

void QlVersionMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("QLVERSION");
}

}  // namespace quillet
