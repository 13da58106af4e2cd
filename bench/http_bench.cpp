// PUTURL over loopback beside libcurl, measured in the same run against the
// same server: a 256 MiB body with Content-Length, the same body chunked, and
// 1,000 small pages over one kept connection. Prints MB/s or requests per
// second for both, the ratio (ours / curl's), and the peak memory PUTURL
// added while it read each large body. Run the Release build's http_bench.
#include <arpa/inet.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "host/Provider.h"
#include "net/DataMod.h"
#include "net/WebMacros.h"

using namespace quillet;

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kLargeBody = size_t{256} << 20;
constexpr size_t kBlock = size_t{1} << 20;
constexpr int kSmallPages = 1000;
constexpr int kRounds = 3;
const std::string kSmallPage(512, 's');

// Answers GET /length, /chunked and /small, each connection on a thread,
// writing large bodies from one block so that the server's memory stays flat.
class Server {
 public:
  Server() : block_(kBlock, 'b') {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof where;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&where), size) != 0 ||
        listen(listener_, 8) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&where), &size) != 0) {
      std::perror("http_bench: listen");
      std::exit(1);
    }
    port_ = ntohs(where.sin_port);
    thread_ = std::thread([this] { Run(); });
  }
  // The clients have closed their connections by now.
  ~Server() {
    shutdown(listener_, SHUT_RDWR);
    close(listener_);
    thread_.join();
    for (std::thread& connection : connections_) connection.join();
  }
  std::string Url(const char* path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

 private:
  void Run() {
    for (;;) {
      const int fd = accept(listener_, nullptr, nullptr);
      if (fd < 0) return;
      const int on = 1;
      setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
      connections_.emplace_back([this, fd] {
        Serve(fd);
        close(fd);
      });
    }
  }

  bool Send(int fd, const char* data, size_t size) {
    while (size > 0) {
      const ssize_t sent = send(fd, data, size, MSG_NOSIGNAL);
      if (sent <= 0) return false;
      data += sent;
      size -= static_cast<size_t>(sent);
    }
    return true;
  }
  bool Send(int fd, const std::string& text) { return Send(fd, text.data(), text.size()); }

  void Serve(int fd) {
    std::string pending;
    char buffer[8192];
    for (;;) {
      size_t end;
      while ((end = pending.find("\r\n\r\n")) == std::string::npos) {
        const ssize_t count = recv(fd, buffer, sizeof buffer, 0);
        if (count <= 0) return;
        pending.append(buffer, static_cast<size_t>(count));
      }
      const std::string head = pending.substr(0, end);
      pending.erase(0, end + 4);
      bool sent = true;
      if (head.find(" /length ") != std::string::npos) {
        sent = Send(
            fd, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kLargeBody) + "\r\n\r\n");
        for (size_t done = 0; sent && done < kLargeBody; done += kBlock) sent = Send(fd, block_);
      } else if (head.find(" /chunked ") != std::string::npos) {
        sent = Send(fd, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", kBlock);
        for (size_t done = 0; sent && done < kLargeBody; done += kBlock)
          sent = Send(fd, size) && Send(fd, block_) && Send(fd, "\r\n");
        sent = sent && Send(fd, "0\r\n\r\n");
      } else {
        sent = Send(fd, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kSmallPage.size()) +
                            "\r\n\r\n" + kSmallPage);
      }
      if (!sent) return;
    }
  }

  int listener_ = -1;
  uint16_t port_ = 0;
  std::string block_;
  std::thread thread_;
  std::vector<std::thread> connections_;
};

// The process's resident peak since the last reset, in bytes.
size_t PeakResident() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
  return 0;
}
size_t Resident() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmRSS:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
  return 0;
}
void ResetPeak() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

std::string PutUrl(const std::string& url) {
  host::HostProvider context;
  host::HostProvider params({url});
  std::string result;
  PutUrlMacro(&context, &params, result);
  return result;
}

size_t Append(char* data, size_t size, size_t count, void* text) {
  static_cast<std::string*>(text)->append(data, size * count);
  return size * count;
}

std::string CurlGet(CURL* curl, const std::string& url) {
  std::string text;
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, Append);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &text);
  if (curl_easy_perform(curl) != CURLE_OK) {
    std::fprintf(stderr, "http_bench: curl failed on %s\n", url.c_str());
    std::exit(1);
  }
  return text;
}

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

// The best of kRounds runs of work, in seconds.
template <typename Work>
double Best(Work&& work) {
  double best = 1e300;
  for (int round = 0; round < kRounds; ++round) {
    const Clock::time_point start = Clock::now();
    work();
    best = std::min(best, Seconds(Clock::now() - start));
  }
  return best;
}

void Check(size_t got, size_t want, const char* what) {
  if (got == want) return;
  std::fprintf(stderr, "http_bench: %s gave %zu bytes, not %zu\n", what, got, want);
  std::exit(1);
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  curl_global_init(CURL_GLOBAL_DEFAULT);
  CURL* curl = curl_easy_init();
  CreateDataMod();
  Server server;
  const double megabytes = static_cast<double>(kLargeBody) / 1e6;

  std::printf("%-28s %12s %12s %7s %16s\n", "case", "Quillet", "curl", "ratio", "Quillet peak");
  for (const char* path : {"/length", "/chunked"}) {
    const std::string url = server.Url(path);
    size_t peak = 0;
    const double ours = Best([&] {
      const size_t before = Resident();
      ResetPeak();
      const std::string body = PutUrl(url);
      peak = std::max(peak, PeakResident() - before);
      Check(body.size(), kLargeBody, "PUTURL");
    });
    const double theirs = Best([&] { Check(CurlGet(curl, url).size(), kLargeBody, "curl"); });
    std::printf("%-28s %7.0f MB/s %7.0f MB/s %7.2f %9.1f MiB (body %zu MiB)\n",
                path[1] == 'l' ? "256 MiB with Content-Length" : "256 MiB chunked",
                megabytes / ours, megabytes / theirs, theirs / ours,
                static_cast<double>(peak) / (1 << 20), kLargeBody >> 20);
  }

  const std::string small = server.Url("/small");
  const double ours = Best([&] {
    for (int i = 0; i < kSmallPages; ++i) Check(PutUrl(small).size(), kSmallPage.size(), "PUTURL");
  });
  const double theirs = Best([&] {
    for (int i = 0; i < kSmallPages; ++i)
      Check(CurlGet(curl, small).size(), kSmallPage.size(), "curl");
  });
  std::printf("%-28s %8.0f req/s %8.0f req/s %6.2f\n", "1,000 pages, kept connection",
              kSmallPages / ours, kSmallPages / theirs, theirs / ours);

  FreeDataMod();
  curl_easy_cleanup(curl);
  curl_global_cleanup();
  return 0;
}
