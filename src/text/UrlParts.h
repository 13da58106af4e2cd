// The one URL parser of the plug-in: it cuts a URL text into its nine parts
// and never fails.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

struct UrlParts {
  std::string protocol;
  std::string userName;
  std::string password;
  std::string host;
  std::string port;
  std::string path;
  std::string document;
  std::string parameters;
  std::string bookmark;
};

// Splits url. Backslashes count as slashes. With "://" the path starts with
// "/" and ends with the last "/" before the parameters; without it protocol,
// user name, password, host and port stay empty and the path is the text up
// to that last "/". The parameters begin with the first "?" (or, without one,
// the first "="); the bookmark is what follows the first "#" of the document,
// or else of the parameters.
UrlParts ParseUrl(std::string_view url);

}  // namespace quillet
