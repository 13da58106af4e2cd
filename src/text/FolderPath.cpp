// FOLDERPATH: where the host's current folder lies on disk, found by name in
// the account's directory tree and answered relative to the account's
// directory (form "r", the default) or in full (form "f").
#include <string_view>

#include "base/Ascii.h"
#include "text/FolderSearch.h"
#include "text/TextMacros.h"

namespace quillet {
namespace {

// A value of the host's template language, such as "%ACCOUNTDIR": the host
// expands it into the context, which then holds the value as item 0.
std::string AskHost(IWRPDataProvider* context, const std::string& name) {
  ExpandHostTemplate(context, name, context);
  return GetParamStr(context, 0);
}

}  // namespace

void FolderPathMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result) {
  std::string form = "r";
  if (GetParamCount(params) == 1) form = AsciiLowerCase(GetParamStr(params, 0));
  const std::string accountDir = AskHost(context, "%ACCOUNTDIR");
  const std::string folderName = AskHost(context, "%FolderName");
  // Without an account directory the base would be "\" alone: the root of
  // the current drive, searched to its last folder while the host waits.
  if (accountDir.empty()) return;
  const std::string base = accountDir + "\\";

  const bool full = form == "f";
  bool first = true;
  for (const std::string& match : FindFolders(base + folderName)) {
    if (!first) result.append("\r\n");
    first = false;
    result.append(full ? match : PathAfterBase(match, base));
  }
}

}  // namespace quillet
