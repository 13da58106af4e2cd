// The one list of the components a set is made of, so that WRP_Initialize
// and the tests make the same sets.
#include "frame/SetMakeUp.h"

#include "calendar/DateStamp.h"
#include "frame/ComponentSet.h"
#include "net/EchoClient.h"
#include "net/HttpClient.h"

namespace quillet {

void MakeComponentSet() {
  Components components;
  components.push_back(std::make_unique<DateStamp>());
  components.push_back(std::make_unique<EchoClient>());
  components.push_back(std::make_unique<HttpClient>());
  AddComponentSet(std::move(components));
}

}  // namespace quillet
