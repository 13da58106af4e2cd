// The one error kind of every failing socket operation, with its message
// "Socket Error # N" CR LF and the number's text.
#pragma once

#include <string>

namespace quillet {

inline constexpr const char* kEIdSocketError = "EIdSocketError";

// The message for a Windows Sockets error number; a number without a text of
// its own (every resolver number among them) ends right after the CR LF.
std::string SocketErrorMessage(int number);

[[noreturn]] void RaiseSocketError(int number);

}  // namespace quillet
