// Reading canned exchanges and playing them.
#include "support/CannedExchange.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace quillet::testing {
namespace {

// How long a silent server waits for the client to give up.
constexpr std::chrono::milliseconds kSilenceWait{5000};

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "canned exchange: %s\n", what.c_str());
  std::abort();
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A section's lines with their line ends.
std::string SectionBytes(const std::vector<std::string>& lines) {
  std::string bytes;
  for (const std::string& line : lines) {
    if (EndsWith(line, "%LF")) {
      bytes += line.substr(0, line.size() - 3) + "\n";
    } else if (EndsWith(line, "%NOEOL")) {
      bytes += line.substr(0, line.size() - 6);
    } else {
      bytes += line + "\r\n";
    }
  }
  return bytes;
}

enum class Ending { kOpen, kClose, kReset };

struct Connection {
  std::vector<std::string> responses;
  bool silent = false;
  Ending ending = Ending::kOpen;
};

Script Play(std::shared_ptr<const Connection> connection) {
  return [connection](Peer& peer) {
    for (const std::string& response : connection->responses) {
      if (peer.ReadHead().empty()) return;
      peer.Send(response);
    }
    if (connection->silent) {
      peer.ReadHead();
      peer.AwaitClose(kSilenceWait);
    }
    if (connection->ending == Ending::kClose) peer.Close();
    if (connection->ending == Ending::kReset) peer.Reset();
  };
}

}  // namespace

std::string CannedExchange::Requests(uint16_t port) const {
  std::string all;
  for (const std::string& request : requests)
    all += Replace(request, "%PORT", std::to_string(port));
  return all;
}

CannedExchange LoadCanned(const std::string& name) {
  const std::string path = std::string(QUILLET_HTTP_DATA_DIR) + "/" + name + ".txt";
  std::ifstream file(path, std::ios::binary);
  if (!file) Fail("cannot read " + path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) {
    if (!line.empty() && line.back() == '\r') Fail(path + " must have LF line ends");
    lines.push_back(line);
  }

  CannedExchange exchange;
  auto current = std::make_shared<Connection>();
  std::string kind;
  std::vector<std::string> section;
  auto finishSection = [&] {
    if (kind == "request") exchange.requests.push_back(SectionBytes(section));
    if (kind == "response") current->responses.push_back(SectionBytes(section));
    section.clear();
  };
  auto finishConnection = [&](Ending ending) {
    current->ending = ending;
    exchange.scripts.push_back(Play(current));
    current = std::make_shared<Connection>();
  };
  for (const std::string& line : lines) {
    if (line.rfind("--- ", 0) != 0) {
      if (!kind.empty()) section.push_back(line);
      continue;
    }
    finishSection();
    kind = line.substr(4);
    if (kind == "close") finishConnection(Ending::kClose);
    if (kind == "reset") finishConnection(Ending::kReset);
    if (kind == "silence") current->silent = true;
    if (kind != "request" && kind != "response" && kind != "close" && kind != "reset" &&
        kind != "silence")
      Fail(path + ": unknown section " + kind);
  }
  finishSection();
  if (!current->responses.empty() || current->silent) finishConnection(Ending::kOpen);
  return exchange;
}

CannedServer::CannedServer(const std::string& name)
    : exchange_(LoadCanned(name)), server_(exchange_.scripts) {}

}  // namespace quillet::testing
