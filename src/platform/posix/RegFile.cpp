// Reading one key out of a registry export text. The format is line based:
// the header "REGEDIT4", then sections "[KEY]" (or "[-KEY]", which deletes
// the key) holding value lines "NAME"=DATA, where NAME is quoted or "@" (the
// default value) and DATA is a quoted text (string), "-" (deletes the value),
// dword:HHHHHHHH, hex:BB,BB,... (binary) or hex(T):BB,BB,... (type T, such as
// 2 for an expandable string). Quoted texts know the escapes \\ and \".
// A byte list may go on over lines that end with a backslash. Blank lines
// and lines starting with ";" are ignored, and so are blanks and control
// characters around the items of a line.
#include "platform/posix/RegFile.h"

#include "base/Ascii.h"
#include "platform/Registry.h"

namespace quillet::platform {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";

bool StartsIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = AsciiLower(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// A number of one to maxDigits hexadecimal digits, all of text.
bool ReadHexNumber(std::string_view text, size_t maxDigits, uint32_t& number) {
  if (text.empty() || text.size() > maxDigits) return false;
  number = 0;
  for (char c : text) {
    const int digit = HexDigit(c);
    if (digit < 0) return false;
    number = number * 16 + static_cast<uint32_t>(digit);
  }
  return true;
}

// The lines of the text without their line ends (LF or CR LF).
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// Reads a quoted text that starts at rest's first byte, leaving rest after
// the closing quote.
bool ReadQuoted(std::string_view& rest, std::string& text, std::string& reason) {
  rest.remove_prefix(1);
  while (!rest.empty()) {
    const char c = rest.front();
    rest.remove_prefix(1);
    if (c == '"') return true;
    if (c == '\\') {
      if (rest.empty() || (rest.front() != '\\' && rest.front() != '"')) {
        reason = "a backslash in a quoted text must be followed by \\ or \"";
        return false;
      }
      text += rest.front();
      rest.remove_prefix(1);
    } else {
      text += c;
    }
  }
  reason = "a quoted text is not closed";
  return false;
}

// A comma-separated list of bytes in hexadecimal; none for an empty text.
bool ReadByteList(std::string_view list, std::string& bytes, std::string& reason) {
  list = Trim(list);
  if (list.empty()) return true;
  while (true) {
    const size_t comma = list.find(',');
    uint32_t byte = 0;
    if (!ReadHexNumber(Trim(list.substr(0, comma)), 2, byte)) {
      reason = "a byte list holds something other than two-digit hexadecimal bytes";
      return false;
    }
    bytes += static_cast<char>(byte);
    if (comma == std::string_view::npos) return true;
    list.remove_prefix(comma + 1);
  }
}

struct Parser {
  std::vector<std::string_view> lines;
  size_t next = 0;  // index of the next line to read
  std::string reason;
};

// The byte list of a hex form; lines that end with a backslash continue on
// the next line.
bool ReadContinuedByteList(Parser& parser, std::string_view first, std::string& bytes) {
  std::string joined;
  std::string_view piece = TrimRight(first);
  while (!piece.empty() && piece.back() == '\\') {
    piece.remove_suffix(1);
    joined += piece;
    if (parser.next >= parser.lines.size()) {
      parser.reason = "a byte list continues past the end of the file";
      return false;
    }
    piece = Trim(parser.lines[parser.next++]);
  }
  joined += piece;
  return ReadByteList(joined, bytes, parser.reason);
}

// The data of a value line after the "=": its type and bytes, or deleted.
bool ReadData(Parser& parser, std::string_view rest, bool& deleted, RegFileValue& value) {
  deleted = false;
  if (rest.empty()) {
    parser.reason = "a value has no data after \"=\"";
    return false;
  }
  if (rest.front() == '"') {
    value.type = kRegSz;
    if (!ReadQuoted(rest, value.data, parser.reason)) return false;
    if (!TrimLeft(rest).empty()) {
      parser.reason = "text follows the closing quote of a value";
      return false;
    }
    return true;
  }
  if (TrimRight(rest) == "-") {
    deleted = true;
    return true;
  }
  if (StartsIgnoringCase(rest, "dword:")) {
    uint32_t number = 0;
    if (!ReadHexNumber(TrimRight(rest.substr(6)), 8, number)) {
      parser.reason = "a dword value needs one to eight hexadecimal digits";
      return false;
    }
    value.type = kRegDword;
    for (int shift = 0; shift < 32; shift += 8)
      value.data += static_cast<char>((number >> shift) & 0xFFu);
    return true;
  }
  if (StartsIgnoringCase(rest, "hex:")) {
    value.type = kRegBinary;
    return ReadContinuedByteList(parser, rest.substr(4), value.data);
  }
  if (StartsIgnoringCase(rest, "hex(")) {
    const size_t close = rest.find("):");
    if (close == std::string_view::npos ||
        !ReadHexNumber(rest.substr(4, close - 4), 8, value.type)) {
      parser.reason = "a typed byte list needs the form hex(T): with T in hexadecimal";
      return false;
    }
    return ReadContinuedByteList(parser, rest.substr(close + 2), value.data);
  }
  parser.reason = "a value's data is neither quoted text, -, dword:, hex: nor hex(T):";
  return false;
}

void SetValue(RegFileKey& key, RegFileValue value) {
  for (RegFileValue& known : key.values) {
    if (EqualsIgnoringAsciiCase(known.name, value.name)) {
      known = std::move(value);
      return;
    }
  }
  key.values.push_back(std::move(value));
}

void DeleteValue(RegFileKey& key, std::string_view name) {
  std::erase_if(key.values, [&](const RegFileValue& known) {
    return EqualsIgnoringAsciiCase(known.name, name);
  });
}

enum class Section { kNone, kWanted, kOther };

// A section line "[KEY]" or "[-KEY]".
bool ReadSection(Parser& parser, std::string_view line, std::string_view keyName, Section& section,
                 RegFileKey& key) {
  line = TrimRight(line);
  if (line.size() < 3 || line.back() != ']') {
    parser.reason = "a key line must have the form [KEY]";
    return false;
  }
  std::string_view name = line.substr(1, line.size() - 2);
  if (name.front() == '-') {
    name.remove_prefix(1);
    // Deleting the key or one of its parents deletes the key.
    const bool parent = name.size() < keyName.size() && keyName[name.size()] == '\\' &&
                        StartsIgnoringCase(keyName, name);
    if (EqualsIgnoringAsciiCase(name, keyName) || parent) key = RegFileKey{};
    section = Section::kOther;
    return true;
  }
  if (EqualsIgnoringAsciiCase(name, keyName)) {
    key.present = true;
    section = Section::kWanted;
  } else {
    section = Section::kOther;
  }
  return true;
}

// A value line "NAME"=DATA or @=DATA.
bool ReadValue(Parser& parser, std::string_view line, Section section, RegFileKey& key) {
  if (section == Section::kNone) {
    parser.reason = "a value comes before any [KEY] line";
    return false;
  }
  RegFileValue value{};
  if (line.front() == '@') {
    line.remove_prefix(1);
  } else if (!ReadQuoted(line, value.name, parser.reason)) {
    return false;
  }
  line = TrimLeft(line);
  if (line.empty() || line.front() != '=') {
    parser.reason = "a value name must be followed by \"=\"";
    return false;
  }
  bool deleted = false;
  if (!ReadData(parser, TrimLeft(line.substr(1)), deleted, value)) return false;
  if (section != Section::kWanted) return true;
  if (deleted) {
    DeleteValue(key, value.name);
  } else {
    SetValue(key, std::move(value));
  }
  return true;
}

}  // namespace

bool ParseRegFile(std::string_view text, std::string_view keyName, RegFileKey& key,
                  std::string& error) {
  key = RegFileKey{};
  Parser parser;
  parser.lines = SplitLines(text);
  if (parser.lines.empty() || TrimRight(parser.lines.front()) != kHeader) {
    error = "line 1: the file does not begin with the line REGEDIT4";
    return false;
  }
  parser.next = 1;
  Section section = Section::kNone;
  while (parser.next < parser.lines.size()) {
    const size_t lineNumber = parser.next + 1;
    const std::string_view line = TrimLeft(parser.lines[parser.next++]);
    bool read = true;
    if (line.empty() || line.front() == ';') continue;
    if (line.front() == '[') {
      read = ReadSection(parser, line, keyName, section, key);
    } else if (line.front() == '"' || line.front() == '@') {
      read = ReadValue(parser, line, section, key);
    } else {
      parser.reason = "a line is neither a [KEY] line, a value line nor a ; comment";
      read = false;
    }
    if (!read) {
      error = "line " + std::to_string(lineNumber) + ": " + parser.reason;
      key = RegFileKey{};
      return false;
    }
  }
  return true;
}

const RegFileValue* FindRegFileValue(const RegFileKey& key, std::string_view name) {
  for (const RegFileValue& value : key.values)
    if (EqualsIgnoringAsciiCase(value.name, name)) return &value;
  return nullptr;
}

}  // namespace quillet::platform
