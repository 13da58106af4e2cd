// PUTURL reads the body straight into the result text, up to its bound;
// ATTACHURL streams it into a placeholder file that becomes the target only
// once the exchange has succeeded, so that a failed download leaves an
// existing file untouched and memory never holds the body.
#include "net/WebMacros.h"

#include "base/Ascii.h"
#include "frame/ComponentSet.h"
#include "frame/Failure.h"
#include "net/HttpClient.h"
#include "net/ResultText.h"
#include "platform/TempFiles.h"
#include "text/UrlParts.h"

namespace quillet {
namespace {

// The placeholder files' name prefix, which a user sees in the temporary
// folder while a download runs; never changed.
constexpr char kPlaceholderPrefix[] = "Indy";

constexpr const char* kEFCreateError = "EFCreateError";
constexpr const char* kEWriteError = "EWriteError";

// Windows' reserved device names, the consoles among them; COM and LPT take
// a digit 0 to 9 or a superscript one, two or three (bytes B9, B2 and B3 of
// the ANSI code page).
bool IsDeviceName(std::string_view base) {
  const std::string name = AsciiUpperCase(base);
  if (name == "CON" || name == "PRN" || name == "AUX" || name == "NUL" || name == "CONIN$" ||
      name == "CONOUT$")
    return true;
  if (name.size() != 4 || (name.compare(0, 3, "COM") != 0 && name.compare(0, 3, "LPT") != 0))
    return false;
  const auto digit = static_cast<unsigned char>(name[3]);
  return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

[[noreturn]] void RaiseCannotCreate(const std::string& path) {
  Raise(kEFCreateError, "Cannot create file " + path);
}

// The file a download of document goes to. Refused before anything is
// written: the body never goes to a device or an alternate data stream, and
// the path cannot leave the command's quotes.
std::string TargetFile(const std::string& document) {
  std::string target = platform::TemporaryDirectory() + document;
  if (IsRefusedFileName(document)) RaiseCannotCreate(target);
  return target;
}

// The placeholder, written and then renamed to the target; deleted instead
// when the download does not succeed.
class PlaceholderFile final : public BodySink {
 public:
  PlaceholderFile() {
    if (!platform::CreateUniqueFile(platform::TemporaryDirectory(), kPlaceholderPrefix, path_,
                                    file_))
      RaiseCannotCreate(platform::TemporaryDirectory() + kPlaceholderPrefix);
  }
  ~PlaceholderFile() {
    if (file_ != platform::kNoFile) platform::CloseFile(file_);
    if (!path_.empty()) platform::RemoveFile(path_);
  }
  PlaceholderFile(const PlaceholderFile&) = delete;
  PlaceholderFile& operator=(const PlaceholderFile&) = delete;

  void Expect(uint64_t) override {}
  void Write(std::string_view bytes) override {
    if (!platform::WriteAll(file_, bytes.data(), bytes.size()))
      Raise(kEWriteError, "Stream write error");
  }

  // Makes the written body the target file, replacing one that is there.
  void Commit(const std::string& target) {
    const bool kept = platform::CloseFile(file_);
    file_ = platform::kNoFile;
    if (!kept) Raise(kEWriteError, "Stream write error");
    if (!platform::MoveReplacing(path_, target)) RaiseCannotCreate(target);
    path_.clear();
  }

 private:
  std::string path_;
  platform::FileHandle file_ = platform::kNoFile;
};

}  // namespace

bool IsRefusedFileName(std::string_view document) {
  if (document.find_first_not_of(". ") == std::string_view::npos) return true;
  for (const char c : document) {
    if (static_cast<unsigned char>(c) < ' ') return true;
    if (std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) return true;
  }
  // Windows reads "CON.txt" and "con .log" as the device too.
  return IsDeviceName(TrimRight(document.substr(0, document.find('.'))));
}

void PutUrlMacro(IWRPDataProvider*, IWRPDataProvider* params, std::string& result) {
  const std::string url = GetParamStr(params, 0);
  ResultText sink(result);
  LiveComponent<HttpClient>().Get(url, sink);
}

void AttachUrlMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string&) {
  const std::string url = GetParamStr(params, 0);
  HttpClient& client = LiveComponent<HttpClient>();
  std::string target = TargetFile(ParseUrl(url).document);
  {
    PlaceholderFile file;
    client.Get(url, file);
    // After redirects, the file is named as the page that answered.
    if (client.redirected()) target = TargetFile(client.url().document);
    file.Commit(target);
  }
  ExpandHostTemplate(context, "%ATTACHFILE=\"" + target + "\"", nullptr);
  GetParamStr(context, 0);
}

}  // namespace quillet
