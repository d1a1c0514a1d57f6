#include "server/core/binding.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "server/core/tests/fake_libraries.h"

namespace server {
namespace {

using ::testing::ElementsAre;
using testing::FakeLibraries;
using testing::FakeLoader;
using testing::PassThroughGuard;
using testing::RecordingUi;

class BindingTest : public ::testing::Test {
 protected:
  BindingTest() { FillDefaults(config, nullptr); }

  FakeLibraries libraries;
  FakeLoader loader{libraries};
  RecordingUi ui{libraries};
  PassThroughGuard guard;
  Configuration config;
  LibraryBinding binding{loader};
};

TEST_F(BindingTest, SuccessLoadsProtocolFirstResolvesAllThenProbesAndSetsUp) {
  EXPECT_TRUE(binding.BindLibraries(config));
  EXPECT_TRUE(binding.valid());
  EXPECT_THAT(libraries.log,
              ElementsAre("load iserver.dll", "resolve 11 SetupServer", "resolve 11 CallServer",
                          "resolve 11 TerminateServer", "resolve 11 SuspendServer", "load link.dll",
                          "resolve 22 OpenLink", "resolve 22 ResetLink", "resolve 22 CloseLink",
                          "OpenLink 0x150 10000", "CloseLink 1", "SetupServer 22"));
}

TEST_F(BindingTest, MissingProtocolEntryFailsAfterResolvingAllFourAndStaysLoaded) {
  loader.missing_exports = {"CallServer"};
  EXPECT_FALSE(binding.BindLibraries(config));
  EXPECT_THAT(libraries.log,
              ElementsAre("load iserver.dll", "resolve 11 SetupServer", "resolve 11 CallServer",
                          "resolve 11 TerminateServer", "resolve 11 SuspendServer"));
  EXPECT_EQ(binding.protocol_module(), 11u);
  libraries.log.clear();
  loader.missing_exports.clear();
  // The next binding releases what the failed one left loaded.
  EXPECT_TRUE(binding.BindLibraries(config));
  EXPECT_EQ(libraries.log.front(), "release 11");
}

TEST_F(BindingTest, EachFailingStepEndsTheBindingThere) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    const char* last_step;
  } cases[] = {
      {"protocol missing", [&] { loader.modules.erase("iserver.dll"); }, "load iserver.dll"},
      {"board missing", [&] { loader.modules.erase("link.dll"); }, "load link.dll"},
      {"board entry missing", [&] { loader.missing_exports = {"OpenLink"}; }, "resolve 22 CloseLink"},
      {"probe fails", [&] { libraries.open_result = -1; }, "OpenLink 0x150 10000"},
      {"setup refuses", [&] { libraries.setup_result = 0; }, "SetupServer 22"},
  };
  const auto all_modules = loader.modules;
  for (const Case& c : cases) {
    binding.ReleaseLibraries();
    loader.modules = all_modules;
    loader.missing_exports.clear();
    libraries.open_result = 1;
    libraries.setup_result = 1;
    c.arrange();
    libraries.log.clear();
    EXPECT_FALSE(binding.BindLibraries(config)) << c.name;
    EXPECT_EQ(libraries.log.back(), c.last_step) << c.name;
    EXPECT_FALSE(binding.valid());
  }
}

TEST_F(BindingTest, OpenLinkReturningZeroPassesTheProbeAndClosesHandleZero) {
  libraries.open_result = 0;
  EXPECT_TRUE(binding.BindLibraries(config));
  EXPECT_THAT(libraries.log, ::testing::Contains("CloseLink 0"));
}

TEST_F(BindingTest, ProbeUsesTheCurrentBoardsNameAndTimeoutValue) {
  config.board.link_name.Set("#340");
  config.board.link_timeout.Set("soon");
  EXPECT_TRUE(binding.BindLibraries(config));
  EXPECT_THAT(libraries.log, ::testing::Contains("OpenLink #340 100000"));
}

TEST_F(BindingTest, ReleaseGoesProtocolFirstAndForgetsEverything) {
  ASSERT_TRUE(binding.BindLibraries(config));
  libraries.log.clear();
  binding.ReleaseLibraries();
  binding.ReleaseLibraries();
  EXPECT_THAT(libraries.log, ElementsAre("release 11", "release 22"));
  EXPECT_FALSE(binding.valid());
  EXPECT_EQ(binding.entries().call_server, nullptr);
}

TEST_F(BindingTest, FailureMessagesCarryCodesAsEightUpperCaseHexDigits) {
  MessageBuffer buffer;
  FormatBindFailure(buffer, 0x7e);
  EXPECT_STREQ(buffer.data(),
               "Protocol and/or board DLL not found or not valid (0000007E). \"Run\" command will "
               "not be available.");
  FormatFaultMessage(buffer, FaultSite::kBinding, 0xC0000005u);
  EXPECT_STREQ(buffer.data(), "Exception occured when loading DLLs, code: C0000005");
  FormatFaultMessage(buffer, FaultSite::kProtocolLibrary, 0xC0000094u);
  EXPECT_STREQ(buffer.data(), "Exception occured in the protocol DLL, code: C0000094. Tessera will close.");
  FormatFaultMessage(buffer, FaultSite::kBoardLibrary, 0xC0000005u);
  EXPECT_STREQ(buffer.data(), "Exception occured in the board DLL, code: C0000005. Tessera will close.");
}

TEST_F(BindingTest, LoadDefaultsReportsFailureWithCurrentLastErrorOwnedByMainWindow) {
  libraries.setup_result = 0;
  loader.last_error = 0xABCDEF12u;
  EXPECT_FALSE(LoadDefaults(config, binding, "0x300", guard, ui));
  EXPECT_EQ(guard.runs, 1);
  EXPECT_FALSE(binding.valid());
  EXPECT_THAT(libraries.log, ::testing::Contains("OpenLink 0x300 10000"));
  EXPECT_EQ(libraries.log.back(),
            "box main [Error...] Protocol and/or board DLL not found or not valid (ABCDEF12). "
            "\"Run\" command will not be available. ok exclamation");
}

TEST_F(BindingTest, RebindReportsToTheDialogWithCaptionError) {
  ASSERT_TRUE(LoadDefaults(config, binding, nullptr, guard, ui));
  config.protocol.library.Set("other.dll");
  libraries.log.clear();
  EXPECT_FALSE(Rebind(config, binding, guard, ui));
  EXPECT_THAT(libraries.log,
              ElementsAre("release 11", "release 22", "load other.dll",
                          "box dialog [Error] Protocol and/or board DLL not found or not valid "
                          "(00000000). \"Run\" command will not be available. ok exclamation"));
}

}  // namespace
}  // namespace server
