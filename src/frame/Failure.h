// The one error model of the plug-in: an exception that carries an error kind
// (such as "EConvertError") and the exact message the host is to see. Handlers
// never catch; the export boundary turns a Failure into the host's abnormal end.
#pragma once

#include <exception>
#include <string>

namespace quillet {

class Failure : public std::exception {
 public:
  Failure(std::string kind, std::string message)
      : kind_(std::move(kind)), message_(std::move(message)) {}

  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& kind() const noexcept { return kind_; }
  const std::string& message() const noexcept { return message_; }

 private:
  std::string kind_;
  std::string message_;
};

// Error kinds shared by several subsystems.
inline constexpr const char* kEConvertError = "EConvertError";
inline constexpr const char* kEOutOfMemory = "EOutOfMemory";
inline constexpr const char* kException = "Exception";
inline constexpr const char* kEExternalException = "EExternalException";

[[noreturn]] inline void Raise(const char* kind, std::string message) {
  throw Failure(kind, std::move(message));
}

}  // namespace quillet
