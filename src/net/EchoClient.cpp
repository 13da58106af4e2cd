// The echo loop. Each echo opens a raw ICMP socket of its
// own and closes it when done. A user who may not open one (Windows without
// administrator rights, Linux without CAP_NET_RAW) is served by the system's
// echo service instead, and the answer is reported in the same terms: the
// datagram's length counts a 20-byte IP header before the ICMP message, and
// the sequence number is the client's own.
#include "net/EchoClient.h"

#include <algorithm>
#include <array>
#include <span>

#include "frame/Failure.h"
#include "net/Address.h"
#include "net/EchoPacket.h"
#include "net/SocketFailure.h"
#include "platform/Icmp.h"

namespace quillet {
namespace {

using platform::SocketHandle;

constexpr const char* kEIdIcmpException = "EIdIcmpException";

// The time to live of Windows' own echoes, so that an echo reaches as far
// as the system's ping does.
constexpr uint8_t kTimeToLive = 128;
// How long one echo waits for its answer, across packets that do not match.
constexpr uint32_t kReceiveTimeoutMs = 5000;
// The receive buffer: the largest datagram read, its IP header included.
constexpr size_t kReceiveBufferSize = 1024;
// The IP header that the echo service's answers are counted with: RFC 791's
// header without options.
constexpr int32_t kPlainIpHeaderSize = 20;
constexpr char kNoAddress[] = "0.0.0.0";

// Closes a socket or service through the table when the echo is done with
// it, also when the echo fails.
class Closing {
 public:
  Closing(void (*close)(SocketHandle), SocketHandle handle) : close_(close), handle_(handle) {}
  ~Closing() { close_(handle_); }
  Closing(const Closing&) = delete;
  Closing& operator=(const Closing&) = delete;

 private:
  void (*close_)(SocketHandle);
  SocketHandle handle_;
};

void RaiseIfFailed(int error) {
  if (error != 0) RaiseSocketError(error);
}

EchoStatus TimedOut(uint16_t sequence) {
  return {0, kNoAddress, 0, sequence, 0, 0, EchoOutcome::kTimeOut};
}

// Every datagram that is not the answer, however short, long or foreign, is
// skipped: the raw socket sees all ICMP traffic of the machine, and none of
// it may end the wait before its time.
EchoStatus EchoOverRawSocket(const platform::IcmpCalls& system, SocketHandle socket,
                             std::span<const uint8_t> request, platform::Ipv4Address address,
                             uint16_t identifier, uint16_t sequence) {
  const Closing closing(system.close, socket);
  RaiseIfFailed(system.setTimeToLive(socket, kTimeToLive));
  RaiseIfFailed(system.sendTo(socket, request, address));
  std::array<uint8_t, kReceiveBufferSize> buffer{};
  const uint32_t waitStart = system.tickCount();
  uint32_t remaining = kReceiveTimeoutMs;
  EchoStatus status;
  for (;;) {
    bool readable = false;
    RaiseIfFailed(system.waitReadable(socket, remaining, readable));
    if (!readable) break;
    size_t received = 0;
    const int error = system.receive(socket, buffer, received);
    if (error != platform::kWsaMessageTooLong) {
      RaiseIfFailed(error);
      const std::span<const uint8_t> datagram(buffer.data(), std::min(received, buffer.size()));
      switch (CheckEchoReply(datagram, identifier, sequence, address, status)) {
        case ReplyCheck::kAccepted:
          return status;
        case ReplyCheck::kNonEchoType:
          Raise(kEIdIcmpException, "Non-echo type response received");
        case ReplyCheck::kNoMatch:
          break;
      }
    }
    const uint32_t elapsed = system.tickCount() - waitStart;
    if (elapsed >= kReceiveTimeoutMs) break;
    remaining = kReceiveTimeoutMs - elapsed;
  }
  return TimedOut(sequence);
}

EchoStatus EchoThroughService(const platform::IcmpCalls& system, std::span<const uint8_t> request,
                              platform::Ipv4Address address, uint16_t sequence) {
  SocketHandle service = platform::kNoSocket;
  // Where the service is closed too, the raw socket's refusal is the answer.
  if (system.serviceOpen(service) != 0) RaiseSocketError(platform::kWsaAccessDenied);
  const Closing closing(system.serviceClose, service);
  platform::EchoAnswer answer;
  RaiseIfFailed(
      system.serviceEcho(service, request, address, kTimeToLive, kReceiveTimeoutMs, answer));
  if (!answer.answered) return TimedOut(sequence);
  const std::optional<EchoOutcome> kind = StatusOfIcmpType(answer.type);
  if (!kind) Raise(kEIdIcmpException, "Non-echo type response received");
  return {kPlainIpHeaderSize + static_cast<int32_t>(answer.messageSize),
          DottedAddress(answer.source),
          answer.type,
          sequence,
          0,
          answer.timeToLive,
          *kind};
}

}  // namespace

void EchoClient::Ping() {
  const platform::IcmpCalls& system = platform::Icmp();
  const auto identifier = static_cast<uint16_t>(system.processId());
  const std::array<uint8_t, kEchoRequestSize> request =
      BuildEchoRequest(identifier, sequence, system.tickCount());
  // The round trip counts the name resolution and the send.
  const uint32_t start = system.tickCount();
  const platform::Ipv4Address address = ResolveHost(host);
  SocketHandle socket = platform::kNoSocket;
  const int error = system.rawOpen(socket);
  if (error != 0 && error != platform::kWsaAccessDenied) RaiseSocketError(error);
  EchoStatus answer =
      error == 0 ? EchoOverRawSocket(system, socket, request, address, identifier, sequence)
                 : EchoThroughService(system, request, address, sequence);
  answer.roundTripMs = system.tickCount() - start;
  status = std::move(answer);
  sequence = static_cast<uint16_t>(sequence + 1);
}

}  // namespace quillet
