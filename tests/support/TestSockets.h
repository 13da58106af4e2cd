// The server side of TCP on loopback, for tests only: the plug-in itself
// never listens. Same-named POSIX and Windows files implement it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet::testing {

using TestSocket = intptr_t;
inline constexpr TestSocket kNoTestSocket = -1;

// True under Wine, whose sockets differ from Windows' in places (a reset
// reaches the reader as an orderly end there).
bool RunningUnderWine();

// Starts the system's socket layer for the test program (once).
void StartTestSockets();

// A listening socket on 127.0.0.1 at a port of the system's choice.
TestSocket ListenOnLoopback(uint16_t& port);

// The next connection, or kNoTestSocket when none came within timeoutMs.
TestSocket AcceptWithin(TestSocket listener, int timeoutMs);

// Waits up to timeoutMs for something to read; true when there is.
bool ReadableWithin(TestSocket socket, int timeoutMs);

// Bytes received (0 when the peer closed, -1 on an error).
long ReceiveSome(TestSocket socket, char* buffer, size_t size);

// False when the peer is gone.
bool SendAll(TestSocket socket, const std::string& bytes);

// Ends the sending direction (the peer reads the end of the stream) but
// keeps reading.
void ShutdownSending(TestSocket socket);

void CloseTestSocket(TestSocket socket);

// Closes so that the peer sees a reset instead of an orderly end.
void ResetTestSocket(TestSocket socket);

}  // namespace quillet::testing
