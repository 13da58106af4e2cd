// The TLS client on POSIX: an OpenSSL session between two memory BIOs, so
// that it never touches a socket. What the caller received goes into the
// read BIO; whatever OpenSSL writes for the peer is taken from the write BIO.
//
// Every session builds its own SSL_CTX and hands it to the SSL object, which
// keeps it alive: no OpenSSL state outlives a session, so nothing needs
// guarding between threads or tearing down at unload, and each connection
// reads the trusted roots as they are now (SSL_CERT_FILE and SSL_CERT_DIR
// included). The cost is one read of the system's bundle per connection.
//
// The error queue of OpenSSL is per thread and outlives a call; it is
// cleared before each step and after each failure, so that a failure never
// shows in the next step or session. A session that has failed stays failed
// with the same value: OpenSSL must not be driven on after a fatal error.
#include "platform/Tls.h"

#include <arpa/inet.h>
#include <openssl/bio.h>
#include <openssl/err.h>
#include <openssl/ssl.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

#include <cstddef>
#include <memory>
#include <new>

namespace quillet::platform {

struct TlsSession {
  // Owns both memory BIOs.
  SSL* ssl = nullptr;
  BIO* received = nullptr;
  BIO* toSend = nullptr;
  TlsFailure failure = TlsFailure::kNone;
  bool peerClosed = false;
};

namespace {

// The largest plaintext of one record (RFC 8446 section 5.1, as RFC 5246
// section 6.2.1): one SSL_read takes at most this much.
constexpr size_t kRecordPlaintext = 16384;

// What the session answers the peer on its own while decrypting (the
// refusal of a renegotiation; a key update, should OpenSSL answer one there
// rather than at the next write) waits in the write BIO and goes out with
// the next TlsEncrypt, ahead of its records, in the order the peer must
// read them. A peer that makes the session hold more than this between two
// sends is flooding it: the session fails rather than grow.
constexpr size_t kHeldAnswerLimit = 64 * 1024;

struct CtxFree {
  void operator()(SSL_CTX* ctx) const { SSL_CTX_free(ctx); }
};
struct SslFree {
  void operator()(SSL* ssl) const { SSL_free(ssl); }
};

// A context for one session: TLS 1.2 or newer, the system's roots, the
// peer's chain required, and no renegotiation (a server's request for one
// is refused with a warning; the session goes on under the first keys).
std::unique_ptr<SSL_CTX, CtxFree> NewContext() {
  std::unique_ptr<SSL_CTX, CtxFree> ctx(SSL_CTX_new(TLS_client_method()));
  if (!ctx || SSL_CTX_set_min_proto_version(ctx.get(), TLS1_2_VERSION) != 1 ||
      SSL_CTX_set_default_verify_paths(ctx.get()) != 1) {
    return nullptr;
  }
  SSL_CTX_set_verify(ctx.get(), SSL_VERIFY_PEER, nullptr);
  SSL_CTX_set_options(ctx.get(), SSL_OP_NO_RENEGOTIATION);
  return ctx;
}

// The name the certificate must carry: a dotted IPv4 address is checked
// against the certificate's IP addresses and, as RFC 6066 section 3 wants,
// not sent as the server name; any other host is a DNS name, sent and
// checked as one, with a wildcard only as a whole left-most label. The
// host's length is passed along, so that a host with a NUL byte is refused
// rather than checked as its first part; an empty host, which OpenSSL would
// take as no name to check, is refused too.
bool SetPeerName(SSL* ssl, const std::string& host) {
  if (host.empty()) return false;
  X509_VERIFY_PARAM* param = SSL_get0_param(ssl);
  in_addr address{};
  if (host.find('\0') == std::string::npos && inet_pton(AF_INET, host.c_str(), &address) == 1) {
    return X509_VERIFY_PARAM_set1_ip_asc(param, host.c_str()) == 1;
  }
  X509_VERIFY_PARAM_set_hostflags(param, X509_CHECK_FLAG_NO_PARTIAL_WILDCARDS);
  return X509_VERIFY_PARAM_set1_host(param, host.data(), host.size()) == 1 &&
         SSL_set_tlsext_host_name(ssl, host.c_str()) == 1;
}

bool Feed(TlsSession& session, std::string_view received) {
  if (received.empty()) return true;
  size_t written = 0;
  return BIO_write_ex(session.received, received.data(), received.size(), &written) == 1 &&
         written == received.size();
}

// Moves everything the session has written for the peer to toSend.
bool Drain(TlsSession& session, std::string& toSend) {
  const size_t pending = BIO_ctrl_pending(session.toSend);
  if (pending == 0) return true;
  const size_t start = toSend.size();
  toSend.resize(start + pending);
  size_t read = 0;
  const bool ok = BIO_read_ex(session.toSend, toSend.data() + start, pending, &read) == 1;
  toSend.resize(start + read);
  return ok && read == pending;
}

// A failed handshake: the verification result tells a refused certificate
// from the other failures, which it leaves at X509_V_OK.
TlsFailure HandshakeFailure(const SSL* ssl) {
  switch (SSL_get_verify_result(ssl)) {
    case X509_V_OK:
      return TlsFailure::kHandshake;
    case X509_V_ERR_CERT_HAS_EXPIRED:
    case X509_V_ERR_CERT_NOT_YET_VALID:
      return TlsFailure::kExpired;
    case X509_V_ERR_HOSTNAME_MISMATCH:
    case X509_V_ERR_IP_ADDRESS_MISMATCH:
      return TlsFailure::kNameMismatch;
    default:
      return TlsFailure::kUntrusted;
  }
}

TlsFailure Fail(TlsSession& session, TlsFailure failure) {
  session.failure = failure;
  ERR_clear_error();
  return failure;
}

}  // namespace

TlsSession* TlsOpen(const std::string& host) {
  ERR_clear_error();
  std::unique_ptr<SSL, SslFree> ssl;
  if (auto ctx = NewContext()) ssl.reset(SSL_new(ctx.get()));
  std::unique_ptr<TlsSession> session(new (std::nothrow) TlsSession);
  BIO* received = BIO_new(BIO_s_mem());
  BIO* toSend = BIO_new(BIO_s_mem());
  if (!ssl || !session || !received || !toSend) {
    BIO_free(received);
    BIO_free(toSend);
    ERR_clear_error();
    return nullptr;
  }
  SSL_set_bio(ssl.get(), received, toSend);
  SSL_set_connect_state(ssl.get());
  if (!SetPeerName(ssl.get(), host)) {
    ERR_clear_error();
    return nullptr;
  }
  session->ssl = ssl.release();
  session->received = received;
  session->toSend = toSend;
  return session.release();
}

void TlsClose(TlsSession* session) {
  if (session == nullptr) return;
  SSL_free(session->ssl);
  delete session;
}

TlsFailure TlsHandshake(TlsSession* session, std::string_view received, std::string& toSend,
                        bool& done) {
  ERR_clear_error();
  done = false;
  if (session->failure != TlsFailure::kNone) return session->failure;
  if (!Feed(*session, received)) return Fail(*session, TlsFailure::kHandshake);
  const int result = SSL_do_handshake(session->ssl);
  // Sent even when the handshake fails: it then holds the alert that says why.
  const bool drained = Drain(*session, toSend);
  if (result == 1 && drained) {
    done = true;
    return TlsFailure::kNone;
  }
  if (drained && SSL_get_error(session->ssl, result) == SSL_ERROR_WANT_READ) {
    return TlsFailure::kNone;
  }
  return Fail(*session, drained ? HandshakeFailure(session->ssl) : TlsFailure::kHandshake);
}

TlsFailure TlsEncrypt(TlsSession* session, std::string_view plain, std::string& toSend) {
  ERR_clear_error();
  if (session->failure != TlsFailure::kNone) return session->failure;
  if (!SSL_is_init_finished(session->ssl)) return TlsFailure::kProtocol;
  if (plain.empty()) return TlsFailure::kNone;
  size_t written = 0;
  if (SSL_write_ex(session->ssl, plain.data(), plain.size(), &written) != 1 ||
      written != plain.size() || !Drain(*session, toSend)) {
    return Fail(*session, TlsFailure::kProtocol);
  }
  return TlsFailure::kNone;
}

TlsFailure TlsDecrypt(TlsSession* session, std::string_view received, std::string& plain,
                      bool& closed) {
  ERR_clear_error();
  closed = session->peerClosed;
  if (session->failure != TlsFailure::kNone) return session->failure;
  if (!SSL_is_init_finished(session->ssl)) return TlsFailure::kProtocol;
  if (session->peerClosed) return TlsFailure::kNone;
  if (!Feed(*session, received)) return Fail(*session, TlsFailure::kProtocol);
  for (;;) {
    const size_t start = plain.size();
    plain.resize(start + kRecordPlaintext);
    size_t read = 0;
    const int result = SSL_read_ex(session->ssl, plain.data() + start, kRecordPlaintext, &read);
    plain.resize(start + read);
    if (result == 1) continue;
    const int error = SSL_get_error(session->ssl, result);
    if (error == SSL_ERROR_ZERO_RETURN) {
      session->peerClosed = closed = true;
      break;
    }
    if (error != SSL_ERROR_WANT_READ) return Fail(*session, TlsFailure::kProtocol);
    break;
  }
  if (BIO_ctrl_pending(session->toSend) > kHeldAnswerLimit) {
    return Fail(*session, TlsFailure::kProtocol);
  }
  return TlsFailure::kNone;
}

}  // namespace quillet::platform
