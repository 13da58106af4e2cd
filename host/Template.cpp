// Expansion of the reference host's template language.
#include "host/Template.h"

#include "base/Ascii.h"

namespace quillet::host {
namespace {

bool IsNameChar(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '_';
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Parses "(a, "b")" starting at text[pos] == '('; on success pos is past ')'.
bool ParseParams(std::string_view text, size_t& pos, std::vector<std::string>& params) {
  size_t at = pos + 1;
  while (at < text.size() && IsBlank(text[at])) ++at;
  if (at < text.size() && text[at] == ')') {
    pos = at + 1;
    return true;
  }
  while (at < text.size()) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    std::string param;
    if (at < text.size() && text[at] == '"') {
      ++at;
      for (;;) {
        if (at >= text.size()) return false;
        if (text[at] == '"') {
          if (at + 1 < text.size() && text[at + 1] == '"') {
            param += '"';
            at += 2;
            continue;
          }
          ++at;
          break;
        }
        param += text[at++];
      }
      while (at < text.size() && IsBlank(text[at])) ++at;
    } else {
      while (at < text.size() && text[at] != ',' && text[at] != ')') param += text[at++];
      while (!param.empty() && IsBlank(param.back())) param.pop_back();
    }
    params.push_back(param);
    if (at >= text.size()) return false;
    if (text[at] == ')') {
      pos = at + 1;
      return true;
    }
    if (text[at] != ',') return false;
    ++at;
  }
  return false;
}

}  // namespace

std::string ExpandText(std::string_view text, const MacroRunner& run) {
  std::string out;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t percent = text.find('%', pos);
    if (percent == std::string_view::npos) {
      out.append(text.substr(pos));
      break;
    }
    out.append(text.substr(pos, percent - pos));
    if (percent + 1 < text.size() && text[percent + 1] == '%') {
      out += '%';
      pos = percent + 2;
      continue;
    }
    size_t end = percent + 1;
    while (end < text.size() && IsNameChar(text[end])) ++end;
    if (end == percent + 1) {
      out += '%';
      pos = percent + 1;
      continue;
    }
    const std::string name(text.substr(percent + 1, end - percent - 1));
    std::vector<std::string> params;
    size_t after = end;
    if (after < text.size() && text[after] == '(') {
      size_t close = after;
      if (ParseParams(text, close, params)) {
        after = close;
      } else {
        params.clear();
      }
    }
    const std::optional<std::string> result = run(name, params);
    if (result) {
      out += *result;
    } else {
      out.append(text.substr(percent, after - percent));
    }
    pos = after;
  }
  return out;
}

}  // namespace quillet::host
