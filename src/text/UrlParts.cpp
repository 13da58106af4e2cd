// The URL parser. Every search goes character by character under the system
// code page, so that the second byte of a double-byte character is never
// taken for a separator.
#include "text/UrlParts.h"

#include "text/CodePageText.h"

namespace quillet {
namespace {

constexpr size_t npos = std::string_view::npos;

struct Halves {
  std::string before;
  std::string after;
  bool found;
};

// text cut at the first separator, which belongs to neither half; without a
// separator everything is before it.
Halves CutAtFirst(std::string_view text, std::string_view separator) {
  const size_t at = FindText(text, separator);
  if (at == npos) return {std::string(text), {}, false};
  return {std::string(text.substr(0, at)), std::string(text.substr(at + separator.size())), true};
}

void TakeAuthority(std::string_view authority, UrlParts& parts) {
  Halves user = CutAtFirst(authority, "@");
  std::string hostAndPort = std::move(user.after);
  if (!user.found) {
    hostAndPort = std::move(user.before);
  } else {
    Halves login = CutAtFirst(user.before, ":");
    parts.userName = std::move(login.before);
    if (!parts.userName.empty()) parts.password = std::move(login.after);
  }
  Halves server = CutAtFirst(hostAndPort, ":");
  parts.host = std::move(server.before);
  parts.port = std::move(server.after);
}

}  // namespace

UrlParts ParseUrl(std::string_view url) {
  UrlParts parts;
  if (url.empty()) return parts;
  std::string rest = SlashesForBackslashes(url);

  const size_t scheme = FindText(rest, "://");
  const bool hasScheme = scheme != npos;
  if (hasScheme) {
    parts.protocol = rest.substr(0, scheme);
    Halves server = CutAtFirst(std::string_view(rest).substr(scheme + 3), "/");
    TakeAuthority(server.before, parts);
    rest = std::move(server.after);
  }

  // The parameters start at the first "?", or at the first "=" when there is
  // no "?"; the document ends with them and begins after the last "/" before.
  size_t query = FindText(rest, "?");
  if (query == npos) query = FindText(rest, "=");
  const size_t lastSlash = FindLastOf(rest, "/", query == npos ? rest.size() : query);
  const size_t documentStart = lastSlash == npos ? 0 : lastSlash + 1;

  if (hasScheme) parts.path = '/';
  parts.path.append(rest, 0, documentStart);
  if (query == npos) {
    parts.document = rest.substr(documentStart);
  } else {
    parts.document = rest.substr(documentStart, query - documentStart);
    parts.parameters = rest.substr(query);
  }

  if (hasScheme) {
    Halves document = CutAtFirst(parts.document, "#");
    parts.document = std::move(document.before);
    parts.bookmark = std::move(document.after);
  }
  if (parts.bookmark.empty()) {
    Halves parameters = CutAtFirst(parts.parameters, "#");
    parts.parameters = std::move(parameters.before);
    parts.bookmark = std::move(parameters.after);
  }
  return parts;
}

}  // namespace quillet
