// Writing requests.
#include "net/HttpRequest.h"

namespace quillet {
namespace {

// The longest header line written without folding; a continuation line with
// its leading blank keeps to it too.
constexpr size_t kFoldWidth = 1024;

bool IsBreak(char c) {
  return c == '\t' || c == ' ' || c == ',';
}

std::string_view WithoutTrailingBlanks(std::string_view piece) {
  while (!piece.empty() && (piece.back() == ' ' || piece.back() == '\t')) piece.remove_suffix(1);
  return piece;
}

void AppendHeader(std::string& request, std::string_view name, std::string_view value) {
  if (value.empty()) return;
  std::string line(name);
  line += ": ";
  line.append(value);
  request += FoldHeaderLine(line);
}

}  // namespace

std::string FoldHeaderLine(std::string_view line) {
  std::string folded;
  bool continuation = false;
  while (!line.empty()) {
    const size_t room = continuation ? kFoldWidth - 1 : kFoldWidth;
    size_t cut = line.size();
    if (line.size() > room) {
      // The last break within the room that lies outside double quotes.
      bool quoted = false;
      size_t lastBreak = std::string_view::npos;
      for (size_t i = 0; i < room; ++i) {
        if (line[i] == '"') quoted = !quoted;
        if (!quoted && IsBreak(line[i])) lastBreak = i;
      }
      if (lastBreak != std::string_view::npos) cut = lastBreak + 1;
    }
    if (continuation) folded += ' ';
    folded.append(WithoutTrailingBlanks(line.substr(0, cut)));
    folded += "\r\n";
    line.remove_prefix(cut);
    while (!line.empty() && IsBreak(line.front())) line.remove_prefix(1);
    continuation = true;
  }
  return folded;
}

std::string BuildRequest(std::string_view target, std::string_view host, std::string_view cookie) {
  std::string request = "GET ";
  request.append(target);
  request += " HTTP/1.1\r\n";
  AppendHeader(request, "Content-Type", kRequestContentType);
  AppendHeader(request, "Host", host);
  AppendHeader(request, "Accept", kRequestAccept);
  AppendHeader(request, "User-Agent", kRequestUserAgent);
  AppendHeader(request, "Cookie", cookie);
  request += "\r\n";
  return request;
}

}  // namespace quillet
