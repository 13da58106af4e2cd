// URL merging. The parser cuts the requested URL; the rules here decide what
// the current URL keeps.
#include "net/UrlMerge.h"

#include <cstdint>
#include <vector>

#include "base/Ascii.h"
#include "frame/Failure.h"
#include "net/Scan.h"
#include "text/CodePageText.h"
#include "text/UrlParts.h"

namespace quillet {
namespace {

// The standard ports, after which a URL without a port of its own takes its
// protocol's default.
constexpr uint64_t kHttpPort = 80;
constexpr uint64_t kHttpsPort = 443;

// A port text as a number, 0 when it is not a decimal number.
uint64_t PortNumberOrZero(std::string_view port) {
  return ReadDigits(port, kPortCap).value_or(0);
}

std::string DefaultPort(std::string_view protocol) {
  if (EqualsIgnoringAsciiCase(protocol, "http")) return std::to_string(kHttpPort);
  if (EqualsIgnoringAsciiCase(protocol, "https")) return std::to_string(kHttpsPort);
  Raise(kEIdUnknownProtocol, "");
}

bool IsStandardPort(std::string_view port) {
  const uint64_t number = PortNumberOrZero(port);
  return number == 0 || number == kHttpPort || number == kHttpsPort;
}

// Bytes that cannot stand in a request line as they are.
bool BreaksRequestLine(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= ' ' || byte == 0x7F;
}

}  // namespace

std::string ResolvePath(std::string_view base, std::string_view relative) {
  std::string joined(base);
  if (joined.empty() || joined.back() != '/') joined += '/';
  joined.append(relative);
  std::vector<std::string_view> segments;
  std::string_view rest(joined);
  while (!rest.empty()) {
    const std::string_view segment = CutAt(rest, '/');
    if (segment.empty()) continue;
    if (segment == "..") {
      if (!segments.empty()) segments.pop_back();
      continue;
    }
    segments.push_back(segment);
  }
  std::string path = "/";
  for (size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) path += '/';
    path.append(segments[i]);
  }
  const bool trailing = relative.empty() || relative.back() == '/';
  if (trailing && !segments.empty()) path += '/';
  return path;
}

void MergeUrl(CurrentUrl& current, std::string_view url, bool keepProtocol) {
  const UrlParts parts = ParseUrl(url);
  const bool absolute = FindText(SlashesForBackslashes(url), "://") != std::string_view::npos;

  if (!parts.path.empty() && parts.path.front() == '/') {
    current.path = parts.path;
  } else {
    current.path = ResolvePath(current.path, parts.path);
  }
  current.document = parts.document;
  current.parameters = parts.parameters;
  if (!parts.host.empty()) current.host = parts.host;
  if (!parts.protocol.empty())
    current.protocol = parts.protocol;
  else if (absolute || !keepProtocol || current.protocol.empty())
    current.protocol = "http";

  if (!parts.port.empty()) {
    current.port = parts.port;
  } else if (absolute || IsStandardPort(current.port)) {
    // Only a URL without "://" stays on a non-standard port it came to
    // before; "http://b/" after "http://a:8080/" goes to b's port 80.
    current.port = DefaultPort(current.protocol);
  }
}

std::string RequestTarget(const CurrentUrl& url) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string target;
  for (const std::string* part : {&url.path, &url.document, &url.parameters}) {
    for (const char c : *part) {
      if (!BreaksRequestLine(c)) {
        target += c;
        continue;
      }
      const auto byte = static_cast<unsigned char>(c);
      target += '%';
      target += kHex[byte >> 4];
      target += kHex[byte & 0xF];
    }
  }
  return target;
}

std::string HostValue(const CurrentUrl& url) {
  if (url.port == "80") return url.host;
  return url.host + ':' + url.port;
}

}  // namespace quillet
