// The component set: its lifetime across WRP_Initialize and WRP_Finalize,
// the socket layer that lives with its network components, and the HTTP
// client's state that lives with the set.
#include <gtest/gtest.h>

#include "calendar/DateStamp.h"
#include "frame/ComponentSet.h"
#include "frame/Failure.h"
#include "frame/SetMakeUp.h"
#include "host/Provider.h"
#include "net/SocketLayer.h"
#include "net/WebMacros.h"
#include "platform/Sockets.h"
#include "support/LoopbackServer.h"

namespace quillet {
namespace {

class ComponentSet : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeComponentSet();
    sets_ = ComponentSetCount();
    components_ = SocketLayerUsers();
  }
  int sets_ = 0;
  int components_ = 0;
};

// Counts the socket layer's start and stop.
struct LayerCalls {
  static inline int starts = 0;
  static inline int stops = 0;
  static inline platform::SocketCalls calls{};
};

TEST_F(ComponentSet, TheSocketLayerLivesWithTheNetworkComponents) {
  LayerCalls::starts = LayerCalls::stops = 0;
  LayerCalls::calls = platform::Sockets();
  LayerCalls::calls.start = [] {
    ++LayerCalls::starts;
    return 0;
  };
  LayerCalls::calls.stop = [] { ++LayerCalls::stops; };
  platform::ReplaceSockets(&LayerCalls::calls);
  // Sets that live on until unload keep the layer running.
  const int expected = components_ == 0 ? 1 : 0;
  MakeComponentSet();
  EXPECT_EQ(LayerCalls::starts, expected) << "started with the first component only";
  EXPECT_EQ(LayerCalls::stops, 0);
  FreeComponentSet();
  EXPECT_EQ(LayerCalls::stops, expected) << "stopped with the last";
  platform::ReplaceSockets(nullptr);
}

TEST_F(ComponentSet, AFailingStartLeavesNoSetBehind) {
  if (components_ != 0) GTEST_SKIP() << "the socket layer runs for sets alive until unload";
  LayerCalls::calls = platform::Sockets();
  LayerCalls::calls.start = [] { return 10091; };
  platform::ReplaceSockets(&LayerCalls::calls);
  try {
    MakeComponentSet();
    ADD_FAILURE();
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.message(), "Socket Error # 10091\r\n");
  }
  platform::ReplaceSockets(nullptr);
  EXPECT_EQ(ComponentSetCount(), sets_);
  EXPECT_EQ(SocketLayerUsers(), 0);
  EXPECT_THROW(LiveComponents(), Failure);
}

// The HTTP client's connection, current URL and cookies carry over from one
// macro call to the next while the set lives, and end with it.
TEST_F(ComponentSet, TheHttpClientsStateLivesAsLongAsTheSet) {
  const std::string answer = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n";
  testing::LoopbackServer server({[&](testing::Peer& peer) {
                                    peer.ReadHead();
                                    peer.Send(answer + "Set-Cookie: s=1; Path=/\r\n\r\n");
                                    peer.ReadHead();
                                    peer.Send(answer + "\r\n");
                                    peer.AwaitClose();
                                  },
                                  [&](testing::Peer& peer) {
                                    peer.ReadHead();
                                    peer.Send(answer + "\r\n");
                                  }});
  auto putUrl = [](const std::string& url) {
    host::HostProvider context;
    host::HostProvider params({url});
    std::string result;
    PutUrlMacro(&context, &params, result);
  };
  MakeComponentSet();
  putUrl(server.Url("/a/"));
  putUrl("b");
  EXPECT_NE(server.received().find("GET /a/b HTTP/1.1\r\n"), std::string::npos);
  EXPECT_NE(server.received().find("Cookie: s=1\r\n"), std::string::npos);
  FreeComponentSet();
  EXPECT_EQ(server.accepted(), 1);
  MakeComponentSet();
  putUrl(server.Url("/"));
  FreeComponentSet();
  EXPECT_EQ(server.accepted(), 2) << "the first connection closed with its set";
  EXPECT_EQ(server.received().find("Cookie:"), server.received().rfind("Cookie:"))
      << "a new set starts without cookies";
}

TEST_F(ComponentSet, InitialiseFinaliseAndInitialiseTwice) {
  EXPECT_THROW(LiveComponents(), Failure);
  MakeComponentSet();
  const Components* first = &LiveComponents();
  EXPECT_EQ(ComponentSetCount(), sets_ + 1);
  EXPECT_EQ(SocketLayerUsers(), components_ + 2) << "ICMP and HTTP";
  MakeComponentSet();
  EXPECT_NE(&LiveComponents(), first) << "the second set is the current one";
  EXPECT_EQ(ComponentSetCount(), sets_ + 2);
  EXPECT_EQ(SocketLayerUsers(), components_ + 4);
  FreeComponentSet();
  EXPECT_THROW(LiveComponents(), Failure) << "after WRP_Finalize there is no current set";
  EXPECT_EQ(ComponentSetCount(), sets_ + 1) << "the first set lives on until unload";
  FreeComponentSet();
  EXPECT_EQ(ComponentSetCount(), sets_ + 1) << "a second WRP_Finalize frees nothing more";
}

TEST_F(ComponentSet, AThousandCyclesLeaveNothingBehind) {
  for (int i = 0; i < 1000; ++i) {
    MakeComponentSet();
    LiveComponent<DateStamp>().SetFromDateValue(45000.5);
    FreeComponentSet();
  }
  EXPECT_EQ(ComponentSetCount(), sets_);
  EXPECT_EQ(SocketLayerUsers(), components_);
}

}  // namespace
}  // namespace quillet
