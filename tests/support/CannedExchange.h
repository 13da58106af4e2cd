// Canned HTTP exchanges for the loopback server, read from the data files in
// tests/data/http. A file is a sequence of sections, each opened by a marker
// line:
//
//   --- request    the exact bytes the client must send for the next answer
//   --- response   the bytes the server sends after reading one request head
//   --- close      the server closes the connection (the next sections play
//                  on the next connection)
//   --- reset      the same with a reset
//   --- silence    the server reads the request and answers nothing
//
// Lines before the first marker are comments. In a section every line ends
// with CR LF; a line ending in "%LF" ends with a bare LF instead, and one
// ending in "%NOEOL" with nothing. "%PORT" stands for the server's port.
#pragma once

#include <string>
#include <vector>

#include "support/LoopbackServer.h"

namespace quillet::testing {

struct CannedExchange {
  // One script per connection.
  std::vector<Script> scripts;
  // Every request section in order, for a server on port.
  std::string Requests(uint16_t port) const;

  std::vector<std::string> requests;
};

// Reads tests/data/http/NAME.txt; a missing or malformed file fails the test
// program at once.
CannedExchange LoadCanned(const std::string& name);

// A loopback server playing a canned exchange.
class CannedServer {
 public:
  explicit CannedServer(const std::string& name);
  uint16_t port() const { return server_.port(); }
  std::string Url(const std::string& path) const { return server_.Url(path); }
  int accepted() const { return server_.accepted(); }
  std::string received() const { return server_.received(); }
  std::string expected() const { return exchange_.Requests(server_.port()); }

 private:
  CannedExchange exchange_;
  LoopbackServer server_;
};

}  // namespace quillet::testing
