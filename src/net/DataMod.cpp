// The component sets and their stored settings. The library owns every set it
// creates: the current one is freed by WRP_Finalize, any other when the
// library is unloaded.
#include "net/DataMod.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "frame/Failure.h"
#include "net/NetComponent.h"

namespace quillet {
namespace {

struct DataMods {
  ~DataMods() { KeepSocketLayerAtUnload(); }

  std::vector<std::unique_ptr<TDataMod>> alive;
  TDataMod* current = nullptr;
};

// Destroyed when the library is unloaded, freeing what is still alive.
DataMods& Sets() {
  static DataMods sets;
  return sets;
}

// The whois service of the regional Internet address registry for the
// Americas, which refers other address ranges on.
constexpr char kWhoisHost[] = "whois.arin.net";

}  // namespace

TDataMod::TDataMod() {
  IdWho.MaxLineAction = TIdMaxLineAction::maException;
  IdWho.ReadTimeout = 0;
  IdWho.Host = kWhoisHost;
  IdWho.Port = 43;

  IdIcmp.OnReply = [this](TIdIcmpClient& sender, const TReplyStatus& status) {
    IdIcmpReply(sender, status);
  };
}

void TDataMod::IdIcmpReply(TIdIcmpClient& sender, const TReplyStatus&) {
  // The client's own reply status is the record the event was raised with.
  const TReplyStatus& status = sender.ReplyStatus;
  std::string line = std::to_string(status.BytesReceived) + " bytes from " + status.FromIpAddress +
                     ": ICMP_seq=" + std::to_string(status.SequenceId) +
                     " TTL=" + std::to_string(status.TimeToLive) + " RoundTrip Time";
  // Within the same tick the time reads "<1", with no number after it.
  if (status.MsRoundTripTime == 0) {
    line += "<1";
  } else {
    line += '=';
    line += std::to_string(status.MsRoundTripTime);
  }
  line += " ms\r\n";
  PingReplyText() += line;
}

void CreateDataMod() {
  DataMods& sets = Sets();
  sets.alive.reserve(sets.alive.size() + 1);
  sets.alive.push_back(std::make_unique<TDataMod>());
  sets.current = sets.alive.back().get();
}

void FreeDataMod() {
  DataMods& sets = Sets();
  if (sets.current == nullptr) return;
  const auto found = std::find_if(sets.alive.begin(), sets.alive.end(),
                                  [&](const auto& set) { return set.get() == sets.current; });
  sets.current = nullptr;
  if (found != sets.alive.end()) sets.alive.erase(found);
}

TDataMod& LiveDataMod() {
  TDataMod* current = Sets().current;
  if (current == nullptr)
    Raise(kException,
          "Quillet is not initialised: the host has not called WRP_Initialize, or has called "
          "WRP_Finalize since");
  return *current;
}

int LiveDataMods() {
  return static_cast<int>(Sets().alive.size());
}

std::string& PingReplyText() {
  static std::string text;
  return text;
}

}  // namespace quillet
