// The system's TLS client, as a transformer of bytes: the caller moves every
// byte between the session and its socket, so that the socket table, the
// deadlines and the size limits of the network code hold for a TLS
// connection exactly as for a plain one. Windows' own SChannel on Windows,
// OpenSSL elsewhere. Every session speaks TLS 1.2 or newer, sends the host
// name (SNI), and checks the server's chain against the system's trusted
// roots and the host name against the certificate; no call switches the
// checks off.
#pragma once

#include <string>
#include <string_view>

namespace quillet::platform {

enum class TlsFailure {
  kNone,
  // No common protocol or cipher, an alert, or bytes that are not TLS.
  kHandshake,
  // The chain does not end in a trusted root, or a certificate in it is bad.
  kUntrusted,
  // The certificate does not name the host.
  kNameMismatch,
  // A certificate of the chain is past its end date (or not yet valid).
  kExpired,
  // After the handshake: a record that does not decrypt, or an alert.
  kProtocol,
};

// An open session; only the calls below know what it is.
struct TlsSession;

// A client session for host, which is sent as the server name and checked
// against the certificate. Null when the system's TLS cannot be set up.
TlsSession* TlsOpen(const std::string& host);
void TlsClose(TlsSession* session);

// One step of the handshake: takes all of received (bytes read from the
// peer since the last step; empty for the first step), and appends to
// toSend what must go to the peer now. done turns true once the handshake
// is complete and the server's certificate has passed the checks; the
// session keeps any bytes that came after the handshake for TlsDecrypt.
TlsFailure TlsHandshake(TlsSession* session, std::string_view received, std::string& toSend,
                        bool& done);

// Encrypts plain into records appended to toSend.
TlsFailure TlsEncrypt(TlsSession* session, std::string_view plain, std::string& toSend);

// Takes all of received (it may be empty, to drain what the session holds),
// and appends the application data of every whole record to plain; bytes of
// an incomplete record stay in the session. closed turns true when the
// peer's close-notify has come; records after it are ignored. Records that
// carry no data (session tickets, key updates) add nothing.
TlsFailure TlsDecrypt(TlsSession* session, std::string_view received, std::string& plain,
                      bool& closed);

}  // namespace quillet::platform
