// The TLS client on Windows: SChannel through SSPI (secur32), the server's
// chain and name checked with CryptoAPI (crypt32) once the handshake is
// complete, since the credential asks SChannel to leave that to us. Only
// TLS 1.2 is enabled: Microsoft documents TLS 1.3 for the newer
// SCH_CREDENTIALS credential only, not for the SCHANNEL_CRED one used here,
// which older Windows versions understand. Received bytes that no call could use yet wait
// in the session, within a bound, for the next call.
#include <windows.h>

#include <wincrypt.h>

#define SECURITY_WIN32
#include <security.h>

#include <schannel.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/Tls.h"

namespace quillet::platform {

struct TlsSession {
  enum class State { kHandshaking, kOpen, kClosed, kBroken };

  std::string host;
  std::wstring wideHost;
  CredHandle credentials{};
  CtxtHandle context{};
  bool hasContext = false;
  State state = State::kHandshaking;
  // Received bytes not used yet: the rest of a handshake message or record.
  std::string held;
  SecPkgContext_StreamSizes sizes{};
  bool hasSizes = false;
};

namespace {

using State = TlsSession::State;

// The largest TLS record on the wire: a 5-byte header and at most 2^14 + 2048
// bytes of ciphertext (RFC 5246, 6.2.3).
constexpr size_t kLargestRecord = 5 + 16384 + 2048;
// The most the network code hands in at one call (its read size).
constexpr size_t kLargestFeed = 32 * 1024;
// After the handshake a call leaves at most one incomplete record behind, to
// which the next call adds at most one feed.
constexpr size_t kHeldAfterHandshake = kLargestRecord + kLargestFeed;
// During the handshake SChannel may want a whole handshake message, such as
// a certificate chain spread over several records, before it takes any of it.
constexpr size_t kLargestServerFlight = 64 * 1024;
constexpr size_t kHeldInHandshake = kLargestServerFlight + kLargestFeed;

// The content type of an alert record (RFC 5246, 6.2.1), visible in the
// record header up to TLS 1.2.
constexpr unsigned char kAlertRecord = 21;

constexpr ULONG kContextRequests = ISC_REQ_SEQUENCE_DETECT | ISC_REQ_REPLAY_DETECT |
                                   ISC_REQ_CONFIDENTIALITY | ISC_REQ_EXTENDED_ERROR |
                                   ISC_REQ_ALLOCATE_MEMORY | ISC_REQ_STREAM;

SecBuffer Buffer(ULONG type, void* data = nullptr, size_t size = 0) {
  return SecBuffer{static_cast<ULONG>(size), type, data};
}

template <size_t N>
SecBufferDesc Description(SecBuffer (&buffers)[N]) {
  return SecBufferDesc{SECBUFFER_VERSION, N, buffers};
}

// The count of bytes at the end of the input that a call left unused.
size_t ExtraBytes(const SecBuffer& buffer) {
  return buffer.BufferType == SECBUFFER_EXTRA ? buffer.cbBuffer : 0;
}

// Appends the token SChannel allocated for the peer, and frees it.
void TakeToken(SecBuffer& token, std::string& toSend) {
  if (token.pvBuffer == nullptr) return;
  toSend.append(static_cast<const char*>(token.pvBuffer), token.cbBuffer);
  FreeContextBuffer(token.pvBuffer);
  token.pvBuffer = nullptr;
}

bool ToWide(const std::string& text, std::wstring& wide) {
  const int size = static_cast<int>(text.size());
  const int count =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, nullptr, 0);
  if (count <= 0) return false;
  wide.resize(static_cast<size_t>(count));
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), size, wide.data(),
                             count) == count;
}

// Faults of a chain that Windows' SSL policy reports and Wine's lets pass
// (a chain that ends in no root at all, for one).
constexpr DWORD kUntrustedChain = CERT_TRUST_IS_UNTRUSTED_ROOT | CERT_TRUST_IS_PARTIAL_CHAIN |
                                  CERT_TRUST_IS_NOT_SIGNATURE_VALID | CERT_TRUST_IS_REVOKED |
                                  CERT_TRUST_IS_CYCLIC | CERT_TRUST_IS_NOT_VALID_FOR_USAGE |
                                  CERT_TRUST_INVALID_BASIC_CONSTRAINTS;

// The SSL policy's verdict on a chain for the host, held to the faults the
// chain itself reports.
TlsFailure PolicyFailure(PCCERT_CHAIN_CONTEXT chain, std::wstring& wideHost) {
  SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl{};
  ssl.cbSize = sizeof ssl;
  ssl.dwAuthType = AUTHTYPE_SERVER;
  ssl.pwszServerName = wideHost.data();
  CERT_CHAIN_POLICY_PARA policy{};
  policy.cbSize = sizeof policy;
  policy.pvExtraPolicyPara = &ssl;
  CERT_CHAIN_POLICY_STATUS status{};
  status.cbSize = sizeof status;
  if (!CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status))
    return TlsFailure::kUntrusted;
  switch (static_cast<HRESULT>(status.dwError)) {
    case S_OK:
      return (chain->TrustStatus.dwErrorStatus & kUntrustedChain) != 0 ? TlsFailure::kUntrusted
                                                                       : TlsFailure::kNone;
    case CERT_E_EXPIRED:
    case CERT_E_VALIDITYPERIODNESTING:
      return TlsFailure::kExpired;
    case CERT_E_CN_NO_MATCH:
      return TlsFailure::kNameMismatch;
    default:
      return TlsFailure::kUntrusted;
  }
}

// The server's certificate, chained for server authentication with the
// certificates it sent, against the system's roots and the host name.
TlsFailure CheckServer(TlsSession& session) {
  PCCERT_CONTEXT certificate = nullptr;
  if (QueryContextAttributesA(&session.context, SECPKG_ATTR_REMOTE_CERT_CONTEXT, &certificate) !=
          SEC_E_OK ||
      certificate == nullptr)
    return TlsFailure::kUntrusted;
  char serverAuth[] = szOID_PKIX_KP_SERVER_AUTH;
  LPSTR usages[] = {serverAuth};
  CERT_CHAIN_PARA para{};
  para.cbSize = sizeof para;
  para.RequestedUsage.dwType = USAGE_MATCH_TYPE_AND;
  para.RequestedUsage.Usage.cUsageIdentifier = 1;
  para.RequestedUsage.Usage.rgpszUsageIdentifier = usages;
  PCCERT_CHAIN_CONTEXT chain = nullptr;
  TlsFailure failure = TlsFailure::kUntrusted;
  if (CertGetCertificateChain(nullptr, certificate, nullptr, certificate->hCertStore, &para, 0,
                              nullptr, &chain)) {
    failure = PolicyFailure(chain, session.wideHost);
    CertFreeCertificateChain(chain);
  }
  CertFreeCertificateContext(certificate);
  return failure;
}

TlsFailure Fail(TlsSession& session, TlsFailure failure) {
  session.state = State::kBroken;
  return failure;
}

// A handshake message that came after the handshake: a renegotiation the
// server asks for, or a TLS 1.3 message such as a session ticket, which
// SChannel takes through InitializeSecurityContext with the bytes that
// follow it. Nothing may be sent from here, so a renegotiation, which needs
// an answer, ends the session.
TlsFailure Renegotiate(TlsSession& session) {
  SecBuffer input[] = {Buffer(SECBUFFER_TOKEN, session.held.data(), session.held.size()),
                       Buffer(SECBUFFER_EMPTY)};
  SecBuffer output[] = {Buffer(SECBUFFER_TOKEN)};
  SecBufferDesc inputs = Description(input);
  SecBufferDesc outputs = Description(output);
  ULONG attributes = 0;
  const SECURITY_STATUS status = InitializeSecurityContextA(
      &session.credentials, &session.context, session.host.data(), kContextRequests, 0, 0, &inputs,
      0, &session.context, &outputs, &attributes, nullptr);
  std::string answer;
  TakeToken(output[0], answer);
  if (status != SEC_E_OK || !answer.empty()) return Fail(session, TlsFailure::kProtocol);
  session.held.erase(0, session.held.size() - std::min(ExtraBytes(input[1]), session.held.size()));
  return TlsFailure::kNone;
}

}  // namespace

TlsSession* TlsOpen(const std::string& host) {
  if (host.empty() || host.find('\0') != std::string::npos) return nullptr;
  TlsSession* session = new (std::nothrow) TlsSession;
  if (session == nullptr) return nullptr;
  session->host = host;
  SCHANNEL_CRED credential{};
  credential.dwVersion = SCHANNEL_CRED_VERSION;
  credential.grbitEnabledProtocols = SP_PROT_TLS1_2_CLIENT;
  credential.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
  char package[] = UNISP_NAME_A;
  TimeStamp expiry{};
  if (!ToWide(host, session->wideHost) ||
      AcquireCredentialsHandleA(nullptr, package, SECPKG_CRED_OUTBOUND, nullptr, &credential,
                                nullptr, nullptr, &session->credentials, &expiry) != SEC_E_OK) {
    delete session;
    return nullptr;
  }
  return session;
}

void TlsClose(TlsSession* session) {
  if (session == nullptr) return;
  if (session->hasContext) DeleteSecurityContext(&session->context);
  FreeCredentialsHandle(&session->credentials);
  delete session;
}

// The first pass of the loop opens the context; every later one returns or
// takes at least one held byte, so the loop ends within the bound on them.
TlsFailure TlsHandshake(TlsSession* session, std::string_view received, std::string& toSend,
                        bool& done) {
  done = false;
  if (session == nullptr) return TlsFailure::kHandshake;
  if (session->state == State::kOpen) {
    if (session->held.size() + received.size() > kHeldAfterHandshake)
      return Fail(*session, TlsFailure::kProtocol);
    session->held.append(received);
    done = true;
    return TlsFailure::kNone;
  }
  if (session->state != State::kHandshaking) return TlsFailure::kHandshake;
  if (session->held.size() + received.size() > kHeldInHandshake)
    return Fail(*session, TlsFailure::kHandshake);
  session->held.append(received);
  for (;;) {
    const bool first = !session->hasContext;
    if (!first && session->held.empty()) return TlsFailure::kNone;
    const size_t offered = session->held.size();
    SecBuffer input[] = {Buffer(SECBUFFER_TOKEN, session->held.data(), offered),
                         Buffer(SECBUFFER_EMPTY)};
    SecBuffer output[] = {Buffer(SECBUFFER_TOKEN)};
    SecBufferDesc inputs = Description(input);
    SecBufferDesc outputs = Description(output);
    ULONG attributes = 0;
    const SECURITY_STATUS status = InitializeSecurityContextA(
        &session->credentials, first ? nullptr : &session->context, session->host.data(),
        kContextRequests, 0, 0, first ? nullptr : &inputs, 0, &session->context, &outputs,
        &attributes, nullptr);
    if (first && (status == SEC_E_OK || status == SEC_I_CONTINUE_NEEDED))
      session->hasContext = true;
    // With extended errors, a failing step may leave an alert for the peer.
    TakeToken(output[0], toSend);
    if (status == SEC_E_INCOMPLETE_MESSAGE) return TlsFailure::kNone;
    if (status != SEC_E_OK && status != SEC_I_CONTINUE_NEEDED)
      return Fail(*session, TlsFailure::kHandshake);
    if (!first) {
      const size_t extra = std::min(ExtraBytes(input[1]), offered);
      session->held.erase(0, offered - extra);
    }
    if (status == SEC_E_OK) {
      const TlsFailure failure = CheckServer(*session);
      if (failure != TlsFailure::kNone) return Fail(*session, failure);
      if (session->held.size() > kHeldAfterHandshake) return Fail(*session, TlsFailure::kProtocol);
      session->state = State::kOpen;
      done = true;
      return TlsFailure::kNone;
    }
    if (!first && session->held.size() == offered) return TlsFailure::kNone;
  }
}

TlsFailure TlsEncrypt(TlsSession* session, std::string_view plain, std::string& toSend) {
  if (session == nullptr || (session->state != State::kOpen && session->state != State::kClosed))
    return TlsFailure::kProtocol;
  if (!session->hasSizes) {
    if (QueryContextAttributesA(&session->context, SECPKG_ATTR_STREAM_SIZES, &session->sizes) !=
            SEC_E_OK ||
        session->sizes.cbMaximumMessage == 0)
      return Fail(*session, TlsFailure::kProtocol);
    session->hasSizes = true;
  }
  const SecPkgContext_StreamSizes& sizes = session->sizes;
  const size_t start = toSend.size();
  // Each pass encrypts one piece of at most the largest message.
  while (!plain.empty()) {
    const size_t piece = std::min<size_t>(plain.size(), sizes.cbMaximumMessage);
    const size_t at = toSend.size();
    toSend.resize(at + sizes.cbHeader + piece + sizes.cbTrailer);
    char* record = toSend.data() + at;
    memcpy(record + sizes.cbHeader, plain.data(), piece);
    SecBuffer buffers[] = {
        Buffer(SECBUFFER_STREAM_HEADER, record, sizes.cbHeader),
        Buffer(SECBUFFER_DATA, record + sizes.cbHeader, piece),
        Buffer(SECBUFFER_STREAM_TRAILER, record + sizes.cbHeader + piece, sizes.cbTrailer),
        Buffer(SECBUFFER_EMPTY)};
    SecBufferDesc message = Description(buffers);
    if (EncryptMessage(&session->context, 0, &message, 0) != SEC_E_OK) {
      toSend.resize(start);
      return Fail(*session, TlsFailure::kProtocol);
    }
    toSend.resize(at + buffers[0].cbBuffer + buffers[1].cbBuffer + buffers[2].cbBuffer);
    plain.remove_prefix(piece);
  }
  return TlsFailure::kNone;
}

// Every pass of the loop either returns or takes at least one held byte.
TlsFailure TlsDecrypt(TlsSession* session, std::string_view received, std::string& plain,
                      bool& closed) {
  closed = false;
  if (session == nullptr) return TlsFailure::kProtocol;
  if (session->state == State::kClosed) {
    closed = true;
    return TlsFailure::kNone;
  }
  if (session->state != State::kOpen) return TlsFailure::kProtocol;
  if (session->held.size() + received.size() > kHeldAfterHandshake)
    return Fail(*session, TlsFailure::kProtocol);
  session->held.append(received);
  while (!session->held.empty()) {
    const size_t offered = session->held.size();
    SecBuffer buffers[] = {Buffer(SECBUFFER_DATA, session->held.data(), offered),
                           Buffer(SECBUFFER_EMPTY), Buffer(SECBUFFER_EMPTY),
                           Buffer(SECBUFFER_EMPTY)};
    SecBufferDesc message = Description(buffers);
    const bool alert = static_cast<unsigned char>(session->held[0]) == kAlertRecord;
    const SECURITY_STATUS status = DecryptMessage(&session->context, &message, 0, nullptr);
    if (status == SEC_E_INCOMPLETE_MESSAGE) return TlsFailure::kNone;
    if (status != SEC_E_OK && status != SEC_I_RENEGOTIATE && status != SEC_I_CONTEXT_EXPIRED)
      return Fail(*session, TlsFailure::kProtocol);
    size_t data = 0;
    size_t extra = 0;
    for (const SecBuffer& buffer : buffers) {
      if (buffer.BufferType == SECBUFFER_DATA && buffer.pvBuffer != nullptr) {
        plain.append(static_cast<const char*>(buffer.pvBuffer), buffer.cbBuffer);
        data += buffer.cbBuffer;
      }
      extra = std::max(extra, ExtraBytes(buffer));
    }
    // Windows reports the close-notify as the context's end; Wine's SChannel
    // as an alert record that decrypts to nothing.
    if (status == SEC_I_CONTEXT_EXPIRED || (status == SEC_E_OK && alert && data == 0)) {
      session->state = State::kClosed;
      session->held.clear();
      closed = true;
      return TlsFailure::kNone;
    }
    if (extra >= offered) return Fail(*session, TlsFailure::kProtocol);
    session->held.erase(0, offered - extra);
    if (status == SEC_I_RENEGOTIATE) {
      const TlsFailure failure = Renegotiate(*session);
      if (failure != TlsFailure::kNone) return failure;
    }
  }
  return TlsFailure::kNone;
}

}  // namespace quillet::platform
