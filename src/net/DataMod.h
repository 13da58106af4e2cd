// The component set kept from WRP_Initialize to WRP_Finalize: the date-time
// stamp, the whois client, the ICMP echo client and the HTTP client, created
// in that order with their stored settings.
#pragma once

#include <string>

#include "net/IdDateTimeStamp.h"
#include "net/IdHTTP.h"
#include "net/IdIcmpClient.h"
#include "net/IdWhois.h"

namespace quillet {

class TDataMod {
 public:
  TDataMod();
  TDataMod(const TDataMod&) = delete;
  TDataMod& operator=(const TDataMod&) = delete;

  TIdDateTimeStamp IdDTS;
  TIdWhois IdWho;
  TIdIcmpClient IdIcmp;
  TIdHTTP IdH;

  // The ICMP client's reply event: appends one line for the echo to the
  // reply text, from the client's current reply status.
  void IdIcmpReply(TIdIcmpClient& sender, const TReplyStatus& status);
};

// Creates a new component set and makes it the current one. A set that was
// current before stays alive until the library is unloaded.
void CreateDataMod();

// Frees the current component set, if any; then there is none.
void FreeDataMod();

// The current component set. Fails with a clear message when the host has not
// called WRP_Initialize, or has called WRP_Finalize since.
TDataMod& LiveDataMod();

// How many component sets exist now.
int LiveDataMods();

// The reply lines of the current PING call, one process-wide text.
std::string& PingReplyText();

}  // namespace quillet
