// PUTURL over loopback beside libcurl, measured in the same run against the
// same server: a 256 MiB body with Content-Length, the same body chunked, and
// 1,000 small pages over one kept connection, over http and over https (a
// certificate for localhost made at start, trusted by both clients). Prints
// MB/s or requests per second for both, the ratio (ours / curl's), and the
// peak memory PUTURL added while it read each large body. Run the Release
// build's http_bench.
#include <arpa/inet.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
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

#include "frame/Options.h"
#include "frame/SetMakeUp.h"
#include "host/Provider.h"
#include "net/WebMacros.h"

using namespace quillet;

namespace {

using Clock = std::chrono::steady_clock;

constexpr size_t kLargeBody = size_t{256} << 20;
constexpr size_t kBlock = size_t{1} << 20;
constexpr int kSmallPages = 1000;
constexpr int kRounds = 3;
const std::string kSmallPage(512, 's');

// A self-signed certificate for localhost in a PEM file, which is the only
// trusted root of both clients, and the server's context with it.
class TestCertificate {
 public:
  TestCertificate() {
    EVP_PKEY* key = EVP_EC_gen("P-256");
    X509* cert = X509_new();
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 86400);
    X509_set_pubkey(cert, key);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
    X509_set_issuer_name(cert, name);
    X509V3_CTX v3;
    X509V3_set_ctx_nodb(&v3);
    X509V3_set_ctx(&v3, cert, cert, nullptr, nullptr, 0);
    for (const auto& [field, value] :
         {std::pair{"subjectAltName", "DNS:localhost"}, std::pair{"basicConstraints", "CA:TRUE"}}) {
      X509_EXTENSION* made = X509V3_EXT_conf(nullptr, &v3, field, value);
      X509_add_ext(cert, made, -1);
      X509_EXTENSION_free(made);
    }
    if (key == nullptr || X509_sign(cert, key, EVP_sha256()) == 0) Fail("certificate");
    char pattern[] = "/tmp/http_bench_XXXXXX";
    const int fd = mkstemp(pattern);
    FILE* file = fd < 0 ? nullptr : fdopen(fd, "w");
    if (file == nullptr || PEM_write_X509(file, cert) != 1) Fail("certificate file");
    std::fclose(file);
    path_ = pattern;
    context_ = SSL_CTX_new(TLS_server_method());
    if (SSL_CTX_use_certificate(context_, cert) != 1 || SSL_CTX_use_PrivateKey(context_, key) != 1)
      Fail("server context");
    X509_free(cert);
    EVP_PKEY_free(key);
  }
  ~TestCertificate() {
    SSL_CTX_free(context_);
    unlink(path_.c_str());
  }
  const std::string& path() const { return path_; }
  SSL_CTX* context() const { return context_; }

 private:
  [[noreturn]] static void Fail(const char* what) {
    std::fprintf(stderr, "http_bench: %s failed\n", what);
    ERR_print_errors_fp(stderr);
    std::exit(1);
  }
  std::string path_;
  SSL_CTX* context_ = nullptr;
};

// Answers GET /length, /chunked and /small, each connection on a thread,
// writing large bodies from one block so that the server's memory stays flat;
// over TLS when given a context.
class Server {
 public:
  explicit Server(SSL_CTX* tls = nullptr) : tls_(tls), block_(kBlock, 'b') {
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
    return (tls_ != nullptr ? "https://localhost:" : "http://127.0.0.1:") + std::to_string(port_) +
           path;
  }

 private:
  void Run() {
    for (;;) {
      const int fd = accept(listener_, nullptr, nullptr);
      if (fd < 0) return;
      const int on = 1;
      setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
      connections_.emplace_back([this, fd] {
        SSL* tls = nullptr;
        if (tls_ != nullptr) {
          tls = SSL_new(tls_);
          SSL_set_fd(tls, fd);
          if (SSL_accept(tls) != 1) {
            SSL_free(tls);
            tls = nullptr;
          }
        }
        if (tls_ == nullptr || tls != nullptr) Serve(fd, tls);
        if (tls != nullptr) {
          SSL_shutdown(tls);
          SSL_free(tls);
        }
        close(fd);
      });
    }
  }

  // One connection's reads and writes, in the clear or through its session.
  struct Peer {
    int fd;
    SSL* tls;
  };
  static bool Send(Peer peer, const char* data, size_t size) {
    while (size > 0) {
      const ssize_t sent =
          peer.tls != nullptr
              ? SSL_write(peer.tls, data, static_cast<int>(std::min<size_t>(size, 1 << 30)))
              : send(peer.fd, data, size, MSG_NOSIGNAL);
      if (sent <= 0) return false;
      data += sent;
      size -= static_cast<size_t>(sent);
    }
    return true;
  }
  static bool Send(Peer peer, const std::string& text) {
    return Send(peer, text.data(), text.size());
  }

  void Serve(int fd, SSL* tls) {
    const Peer peer{fd, tls};
    std::string pending;
    char buffer[8192];
    for (;;) {
      size_t end;
      while ((end = pending.find("\r\n\r\n")) == std::string::npos) {
        const ssize_t count = tls != nullptr ? SSL_read(tls, buffer, sizeof buffer)
                                             : recv(fd, buffer, sizeof buffer, 0);
        if (count <= 0) return;
        pending.append(buffer, static_cast<size_t>(count));
      }
      const std::string head = pending.substr(0, end);
      pending.erase(0, end + 4);
      bool sent = true;
      if (head.find(" /length ") != std::string::npos) {
        sent = Send(
            peer, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kLargeBody) + "\r\n\r\n");
        for (size_t done = 0; sent && done < kLargeBody; done += kBlock) sent = Send(peer, block_);
      } else if (head.find(" /chunked ") != std::string::npos) {
        sent = Send(peer, "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n");
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", kBlock);
        for (size_t done = 0; sent && done < kLargeBody; done += kBlock)
          sent = Send(peer, size) && Send(peer, block_) && Send(peer, "\r\n");
        sent = sent && Send(peer, "0\r\n\r\n");
      } else {
        sent =
            Send(peer, "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(kSmallPage.size()) +
                           "\r\n\r\n" + kSmallPage);
      }
      if (!sent) return;
    }
  }

  SSL_CTX* tls_;
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

// The three cases against one server, PUTURL beside curl.
void Measure(const Server& server, CURL* curl, const char* scheme) {
  const double megabytes = static_cast<double>(kLargeBody) / 1e6;
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
    const std::string name =
        std::string(scheme) + (path[1] == 'l' ? " 256 MiB, Content-Length" : " 256 MiB, chunked");
    std::printf("%-34s %7.0f MB/s %7.0f MB/s %7.2f %9.1f MiB (body %zu MiB)\n", name.c_str(),
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
  const std::string name = std::string(scheme) + " 1,000 pages, kept connection";
  std::printf("%-34s %8.0f req/s %8.0f req/s %6.2f\n", name.c_str(), kSmallPages / ours,
              kSmallPages / theirs, theirs / ours);
}

}  // namespace

int main() {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const TestCertificate certificate;
  // Both clients trust the test certificate alone.
  setenv("SSL_CERT_FILE", certificate.path().c_str(), 1);
  curl_global_init(CURL_GLOBAL_DEFAULT);
  CURL* curl = curl_easy_init();
  curl_easy_setopt(curl, CURLOPT_CAINFO, certificate.path().c_str());
  MakeComponentSet();
  CurrentOptions().https = true;

  std::printf("%-34s %12s %12s %7s %16s\n", "case", "Quillet", "curl", "ratio", "Quillet peak");
  // The servers stop only once both clients have closed their connections.
  const Server plain;
  const Server secure(certificate.context());
  Measure(plain, curl, "http");
  Measure(secure, curl, "https");

  FreeComponentSet();
  curl_easy_cleanup(curl);
  curl_global_cleanup();
  return 0;
}
