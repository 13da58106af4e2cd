// CONVERTURL: a URL turned into commands for a web-by-mail robot, either an
// FTP-style sequence (form "f") or an HTTP request block (form "g").
#include <string_view>
#include <vector>

#include "base/Ascii.h"
#include "frame/Failure.h"
#include "text/CodePageText.h"
#include "text/TextMacros.h"
#include "text/UrlParts.h"

namespace quillet {
namespace {

// The error kind of a URL that cannot be written out as a request.
constexpr const char* kEIdURIException = "EIdURIException";

constexpr std::string_view kLineEnd = "\r\n";

// The path cut at every "/", empty pieces included: "/pub/dir/" gives "",
// "pub", "dir", "".
std::vector<std::string_view> PathPieces(std::string_view path) {
  std::vector<std::string_view> pieces;
  for (size_t slash = FindText(path, "/"); slash != std::string_view::npos;
       slash = FindText(path, "/")) {
    pieces.push_back(path.substr(0, slash));
    path.remove_prefix(slash + 1);
  }
  pieces.push_back(path);
  return pieces;
}

std::string FtpCommands(const UrlParts& url) {
  const std::string login = url.userName + " " + url.password;
  std::string out = "OPEN " + url.host + " ";
  out.append(Trim(login)).append(kLineEnd);
  const std::vector<std::string_view> pieces = PathPieces(url.path);
  for (size_t i = 1; i + 1 < pieces.size(); ++i)
    out.append("CD ").append(pieces[i]).append(kLineEnd);
  out.append("GET ").append(url.document).append(kLineEnd);
  return out;
}

// What the robot is to fetch: everything but the login and the bookmark.
std::string RequestUrl(const UrlParts& url) {
  if (url.protocol.empty()) Raise(kEIdURIException, "Protocol field is empty");
  if (url.host.empty()) Raise(kEIdURIException, "Host field is empty");
  std::string out = url.protocol + "://" + url.host;
  if (!url.port.empty()) out.append(":").append(url.port);
  return out.append(url.path).append(url.document).append(url.parameters);
}

std::string HttpRequest(const UrlParts& url) {
  const std::string request = RequestUrl(url);
  std::string out;
  out.append("Split=500K").append(kLineEnd);
  out.append("Name=").append(request).append(kLineEnd);
  out.append("Type=9").append(kLineEnd);
  // The robot always connects to port 80; a port of the URL lives in the
  // request URL only.
  out.append("Port=80").append(kLineEnd);
  out.append("Path=GET ").append(request).append(kLineEnd);
  out.append("Host=").append(url.host).append(kLineEnd);
  return out;
}

}  // namespace

void ConvertUrlMacro(IWRPDataProvider*, IWRPDataProvider* params, std::string& result) {
  const UrlParts url = ParseUrl(GetParamStr(params, 0));
  const std::string form = AsciiLowerCase(GetParamStr(params, 1));
  if (form == "f") {
    result = FtpCommands(url);
  } else if (form == "g") {
    result = HttpRequest(url);
  }
}

}  // namespace quillet
