// The component set: its components' stored settings, its lifetime across
// WRP_Initialize and WRP_Finalize, and the socket layer that lives with its
// network components.
#include <gtest/gtest.h>

#include "frame/Failure.h"
#include "net/DataMod.h"
#include "net/NetComponent.h"

namespace quillet {
namespace {

class ComponentSet : public ::testing::Test {
 protected:
  void SetUp() override {
    FreeDataMod();
    sets_ = LiveDataMods();
    components_ = LiveNetComponents();
  }
  int sets_ = 0;
  int components_ = 0;
};

TEST_F(ComponentSet, StoredSettings) {
  CreateDataMod();
  const TDataMod& set = LiveDataMod();
  EXPECT_EQ(set.IdWho.MaxLineAction, TIdMaxLineAction::maException);
  EXPECT_EQ(set.IdWho.ReadTimeout, 0);
  EXPECT_FALSE(set.IdWho.Host.empty());
  EXPECT_EQ(set.IdWho.Port, 43);
  EXPECT_TRUE(static_cast<bool>(set.IdIcmp.OnReply));
  EXPECT_EQ(set.IdIcmp.SequenceCounter, 3489);
  EXPECT_EQ(set.IdH.MaxLineAction, TIdMaxLineAction::maException);
  EXPECT_EQ(set.IdH.ReadTimeout, 0);
  EXPECT_TRUE(set.IdH.AllowCookies);
  EXPECT_FALSE(set.IdH.ProxyParams.BasicAuthentication);
  EXPECT_EQ(set.IdH.ProxyParams.ProxyPort, 0);
  EXPECT_EQ(set.IdH.Request.ContentLength, -1);
  EXPECT_EQ(set.IdH.Request.ContentRangeEnd, 0);
  EXPECT_EQ(set.IdH.Request.ContentRangeStart, 0);
  EXPECT_EQ(set.IdH.Request.ContentType, "text/html");
  EXPECT_EQ(set.IdH.Request.Accept, "text/html, */*");
  EXPECT_FALSE(set.IdH.Request.BasicAuthentication);
  EXPECT_EQ(set.IdH.Request.UserAgent, "Mozilla/3.0 (compatible; Indy Library)");
  EXPECT_EQ(set.IdH.HTTPOptions, uint32_t{hoForceEncodeParams});
  FreeDataMod();
}

TEST_F(ComponentSet, InitialiseFinaliseAndInitialiseTwice) {
  EXPECT_THROW(LiveDataMod(), Failure);
  CreateDataMod();
  TDataMod* first = &LiveDataMod();
  EXPECT_EQ(LiveDataMods(), sets_ + 1);
  EXPECT_EQ(LiveNetComponents(), components_ + 3) << "whois, ICMP and HTTP";
  CreateDataMod();
  EXPECT_NE(&LiveDataMod(), first) << "the second set is the current one";
  EXPECT_EQ(LiveDataMods(), sets_ + 2);
  EXPECT_EQ(LiveNetComponents(), components_ + 6);
  FreeDataMod();
  EXPECT_THROW(LiveDataMod(), Failure) << "after WRP_Finalize there is no current set";
  EXPECT_EQ(LiveDataMods(), sets_ + 1) << "the first set lives on until unload";
  FreeDataMod();
  EXPECT_EQ(LiveDataMods(), sets_ + 1) << "a second WRP_Finalize frees nothing more";
}

TEST_F(ComponentSet, AThousandCyclesLeaveNothingBehind) {
  for (int i = 0; i < 1000; ++i) {
    CreateDataMod();
    LiveDataMod().IdDTS.SetFromDateValue(45000.5);
    FreeDataMod();
  }
  EXPECT_EQ(LiveDataMods(), sets_);
  EXPECT_EQ(LiveNetComponents(), components_);
}

TEST_F(ComponentSet, ThePingReplyHandlerWritesOneLinePerEcho) {
  CreateDataMod();
  TDataMod& set = LiveDataMod();
  PingReplyText().clear();
  set.IdIcmp.ReplyStatus = {84, "127.0.0.1", 0, 3489, 12, 64, TReplyStatusTypes::rsEcho};
  set.IdIcmp.OnReply(set.IdIcmp, set.IdIcmp.ReplyStatus);
  set.IdIcmp.ReplyStatus = {0, "0.0.0.0", 0, 3490, 0, 0, TReplyStatusTypes::rsTimeOut};
  set.IdIcmp.OnReply(set.IdIcmp, set.IdIcmp.ReplyStatus);
  EXPECT_EQ(PingReplyText(),
            "84 bytes from 127.0.0.1: ICMP_seq=3489 TTL=64 RoundTrip Time=12 ms\r\n"
            "0 bytes from 0.0.0.0: ICMP_seq=3490 TTL=0 RoundTrip Time<1 ms\r\n");
  PingReplyText().clear();
  FreeDataMod();
}

}  // namespace
}  // namespace quillet
