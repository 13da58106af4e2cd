// ENCODEURL: parameter 0 percent-encoded for use in a URL.
#include "text/PercentEncode.h"
#include "text/TextMacros.h"

namespace quillet {

void EncodeUrlMacro(IWRPDataProvider*, IWRPDataProvider* params, std::string& result) {
  result = PercentEncode(GetParamStr(params, 0), '%', UrlEscapeSet);
}

}  // namespace quillet
