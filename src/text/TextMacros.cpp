// The text and URL macros.
#include "text/TextMacros.h"

#include "frame/Macros.h"

namespace quillet {

void EncodeUrlMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("ENCODEURL");
}
void ConvertUrlMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("CONVERTURL");
}
void XFaceMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("XFACE");
}
void FolderPathMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("FOLDERPATH");
}

}  // namespace quillet
