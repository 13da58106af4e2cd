// HOSTNAME: the name the resolver gives for a dotted IPv4 address; any other
// text comes back as it is.
#include "frame/ComponentSet.h"
#include "net/Address.h"
#include "net/NetMacros.h"
#include "net/SocketFailure.h"
#include "platform/Sockets.h"

namespace quillet {

void HostNameMacro(IWRPDataProvider*, IWRPDataProvider* params, std::string& result) {
  // The lookup needs the socket layer that lives with the component set.
  LiveComponents();
  std::string text = GetParamStr(params, 0);
  if (!LooksLikeIPv4(text)) {
    result = std::move(text);
    return;
  }
  // The check trims; the conversion reads the text as the host gave it.
  const platform::Ipv4Address address = platform::Sockets().classicAddress(GetParamStr(params, 0));
  if (const int error = platform::Sockets().reverseLookup(address, result); error != 0)
    RaiseSocketError(error);
}

}  // namespace quillet
