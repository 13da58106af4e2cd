// The settings file as an INI file: lines of "[section]", "key=value" and
// comments, in any of the line ends an editor writes.
#include "frame/Options.h"

#include "base/Ascii.h"
#include "frame/Failure.h"
#include "platform/FileInfo.h"

namespace quillet {
namespace {

constexpr std::string_view kSection = "Quillet";

// The file holds a few lines; more than this is not a settings file of ours
// and only its start is read.
constexpr size_t kLargestSettingsFile = 65536;

// Notepad's UTF-8 signature, which it may write at the start of the file.
constexpr std::string_view kUtf8Signature = "\xEF\xBB\xBF";

[[noreturn]] void RaiseInvalid(std::string_view key, std::string_view value, int line,
                               const std::string& fileName) {
  Raise(kESettingsError, "Invalid value '" + std::string(value) + "' for '" + std::string(key) +
                             "' in line " + std::to_string(line) + " of " + fileName);
}

// A decimal number of one or two digits up to most, or false.
bool SmallNumber(std::string_view text, uint32_t most, uint32_t& value) {
  if (text.empty() || text.size() > 2) return false;
  value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + static_cast<uint32_t>(c - '0');
  }
  return value <= most;
}

// The system's INI reader drops one pair of double quotes around a value.
std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

Options ParseOptions(std::string_view text, const std::string& fileName) {
  if (text.substr(0, kUtf8Signature.size()) == kUtf8Signature)
    text.remove_prefix(kUtf8Signature.size());
  Options options;
  bool inSection = false;
  bool sawHttps = false;
  bool sawRedirects = false;
  int number = 0;
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    const std::string_view line = Trim(text.substr(0, end));
    text.remove_prefix(end == std::string_view::npos ? text.size() : end);
    if (text.substr(0, 2) == "\r\n")
      text.remove_prefix(2);
    else if (!text.empty())
      text.remove_prefix(1);
    ++number;
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const size_t close = line.find(']');
      inSection = close != std::string_view::npos &&
                  EqualsIgnoringAsciiCase(Trim(line.substr(1, close - 1)), kSection);
      continue;
    }
    const size_t equals = line.find('=');
    if (!inSection || equals == std::string_view::npos) continue;
    const std::string_view key = Trim(line.substr(0, equals));
    const std::string_view value = Unquoted(Trim(line.substr(equals + 1)));
    uint32_t parsed = 0;
    if (EqualsIgnoringAsciiCase(key, "Https")) {
      if (value != "0" && value != "1") RaiseInvalid(key, value, number, fileName);
      parsed = value == "1" ? 1 : 0;
      if (!sawHttps) options.https = parsed == 1;
      sawHttps = true;
    } else if (EqualsIgnoringAsciiCase(key, "Redirects")) {
      if (!SmallNumber(value, kMostRedirects, parsed)) RaiseInvalid(key, value, number, fileName);
      if (!sawRedirects) options.redirects = parsed;
      sawRedirects = true;
    }
  }
  return options;
}

void LoadOptions(const std::string& path) {
  std::string text;
  CurrentOptions() = platform::ReadFileStart(path, kLargestSettingsFile, text)
                         ? ParseOptions(text, path)
                         : Options();
}

Options& CurrentOptions() {
  static Options options;
  return options;
}

}  // namespace quillet
