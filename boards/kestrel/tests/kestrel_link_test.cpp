#include "boards/kestrel/kestrel_link.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "boards/include/tests/link_contract.h"
#include "boards/kestrel/b004_driver.h"

namespace board {
namespace {

// Records every request in order as text, and answers from settings.
class FakeDriver final : public DriverChannel {
 public:
  std::optional<DeviceHandle> Open() override {
    log.push_back("open");
    if (!installed) return std::nullopt;
    return next_handle++;
  }
  bool Control(DeviceHandle device, std::uint32_t code, const void* input, std::uint32_t input_size,
               void* output, std::uint32_t output_size, std::uint32_t* returned) override {
    char line[96];
    std::snprintf(line, sizeof line, "ioctl %u %08X in=%u out=%u", static_cast<unsigned>(device), code,
                  input_size, output_size);
    log.push_back(line);
    if (code == b004::kSetTimeout && input_size == 4) std::memcpy(&timeout, input, 4);
    if (output && output_size) std::memset(output, 0x5A, output_size);
    *returned = count;
    return refuse != code;
  }
  bool Close(DeviceHandle device) override {
    log.push_back("close " + std::to_string(device));
    return close_ok;
  }

  std::vector<std::string> log;
  bool installed = true;
  bool close_ok = true;
  std::uint32_t refuse = 0;  // the control code to refuse
  std::uint32_t count = 0;
  std::uint32_t timeout = 0;
  DeviceHandle next_handle = 7;
};

class FakeRegistry final : public RegistryWriter {
 public:
  std::optional<RegistryKey> CreateKey(const char* path) override {
    log.push_back(std::string("create ") + path);
    if (!allowed) return std::nullopt;
    return RegistryKey{42};
  }
  void SetDword(RegistryKey, const char* name, std::uint32_t value) override {
    char line[96];
    std::snprintf(line, sizeof line, "set %s %X", name, value);
    log.push_back(line);
  }
  void Flush(RegistryKey) override { log.push_back("flush"); }
  void CloseKey(RegistryKey) override { log.push_back("closekey"); }

  std::vector<std::string> log;
  bool allowed = true;
};

using Log = std::vector<std::string>;

class KestrelLinkTest : public ::testing::Test {
 protected:
  FakeDriver driver;
  FakeRegistry registry;
  KestrelLink link{driver, registry};
};

TEST_F(KestrelLinkTest, OpenWritesRegistryBeforeOpenRequestThenSetsTimeout) {
  EXPECT_EQ(link.OpenLink("336", 1234), 1);
  EXPECT_EQ(driver.log, (Log{"open", "ioctl 7 9C412400 in=0 out=0", "ioctl 7 9C412640 in=4 out=0"}));
  EXPECT_EQ(registry.log,
            (Log{"create SYSTEM\\CurrentControlSet\\Services\\B004Drv\\Parameters",
                 "set Board0PortAddress 336", "flush", "closekey"}));
  EXPECT_EQ(driver.timeout, 1234u);
}

TEST_F(KestrelLinkTest, NamesAreReadAsHexadecimal) {
  const std::pair<const char*, const char*> cases[] = {
      {nullptr, "set Board0PortAddress 150"}, {"", "set Board0PortAddress 150"},
      {"150", "set Board0PortAddress 150"},   {"#150", "set Board0PortAddress 150"},
      {"0x2A0", "set Board0PortAddress 2A0"},
  };
  for (const auto& [name, expected] : cases) {
    registry.log.clear();
    EXPECT_EQ(link.OpenLink(name, 1), 1);
    ASSERT_EQ(registry.log.size(), 4u);
    EXPECT_EQ(registry.log[1], expected);
  }
}

TEST_F(KestrelLinkTest, WithoutTheDriverOpenFailsAndWritesNothing) {
  driver.installed = false;
  EXPECT_EQ(link.OpenLink("0x150", 1), -1);
  EXPECT_TRUE(registry.log.empty());
  EXPECT_FALSE(link.has_device());
}

TEST_F(KestrelLinkTest, UnreadableNameClosesDeviceAndLeavesRegistryAlone) {
  EXPECT_EQ(link.OpenLink("xyz", 1), -1);
  EXPECT_EQ(driver.log, (Log{"open", "close 7"}));
  EXPECT_TRUE(registry.log.empty());
}

TEST_F(KestrelLinkTest, RefusedOpenOrTimeoutClosesDeviceButKeepsRegistryValue) {
  for (std::uint32_t refused : {b004::kOpen, b004::kSetTimeout}) {
    driver.log.clear();
    registry.log.clear();
    driver.refuse = refused;
    EXPECT_EQ(link.OpenLink(nullptr, 1), -1);
    EXPECT_EQ(driver.log.back(), "close " + std::to_string(driver.next_handle - 1));
    EXPECT_EQ(registry.log.size(), 4u);
    EXPECT_FALSE(link.has_device());
  }
}

TEST_F(KestrelLinkTest, RegistryRefusalDoesNotStopTheOpen) {
  registry.allowed = false;
  EXPECT_EQ(link.OpenLink(nullptr, 1), 1);
  EXPECT_EQ(registry.log.size(), 1u);
}

TEST_F(KestrelLinkTest, TransfersReturnTheDriversCountOrZero) {
  ASSERT_EQ(link.OpenLink(nullptr, 1), 1);
  driver.log.clear();
  std::uint8_t buffer[8] = {};
  driver.count = 3;
  EXPECT_EQ(link.ReadLink(1, buffer, 8), 3);
  EXPECT_EQ(link.WriteLink(1, buffer, 8), 3);
  EXPECT_EQ(driver.log, (Log{"ioctl 7 9C412480 in=0 out=8", "ioctl 7 9C4124C0 in=8 out=0"}));
  driver.refuse = b004::LinkControlCode(b004::kReadBase, 1);
  EXPECT_EQ(link.ReadLink(1, buffer, 8), 0);
  driver.count = 100;  // a driver claiming more than was asked
  EXPECT_EQ(link.WriteLink(1, buffer, 8), 8);
}

TEST_F(KestrelLinkTest, ControlRequestsUseTheirCodesAndAnswers) {
  ASSERT_EQ(link.OpenLink(nullptr, 1), 1);
  driver.log.clear();
  EXPECT_EQ(link.ResetLink(1), 1);
  EXPECT_EQ(link.AnalyseLink(1), 1);
  EXPECT_EQ(link.TestError(1), 1);
  EXPECT_EQ(link.TestRead(1), 1);
  EXPECT_EQ(link.TestWrite(1), 1);
  EXPECT_EQ(driver.log, (Log{"ioctl 7 9C412500 in=0 out=0", "ioctl 7 9C412540 in=0 out=0",
                             "ioctl 7 9C412580 in=0 out=0", "ioctl 7 9C4125C0 in=0 out=0",
                             "ioctl 7 9C412600 in=0 out=0"}));
  for (std::uint32_t base : {b004::kResetBase, b004::kAnalyseBase}) {
    driver.refuse = b004::LinkControlCode(base, 1);
    EXPECT_EQ(base == b004::kResetBase ? link.ResetLink(1) : link.AnalyseLink(1), -1);
  }
  for (std::uint32_t base : {b004::kTestErrorBase, b004::kTestReadBase, b004::kTestWriteBase}) {
    driver.refuse = b004::LinkControlCode(base, 1);
    EXPECT_EQ(link.TestError(1) + link.TestRead(1) + link.TestWrite(1), 2);
  }
}

TEST_F(KestrelLinkTest, BadHandleAndLengthSendNothing) {
  ASSERT_EQ(link.OpenLink(nullptr, 1), 1);
  driver.log.clear();
  testing::ExpectBadHandlesAndLengthsRefused(link);
  EXPECT_TRUE(driver.log.empty());
}

TEST_F(KestrelLinkTest, BeforeOpenNothingIsSentAndResultsAreFailures) {
  testing::ExpectAnswersWithNothingOpen(link);
  EXPECT_TRUE(driver.log.empty());
}

TEST_F(KestrelLinkTest, EachHandleIsClosedExactlyOnce) {
  ASSERT_EQ(link.OpenLink(nullptr, 1), 1);  // handle 7
  ASSERT_EQ(link.OpenLink(nullptr, 1), 1);  // handle 8 replaces 7
  EXPECT_EQ(link.CloseLink(1), 1);
  EXPECT_EQ(link.CloseLink(1), -1);  // nothing of ours is left open
  link.Shutdown();
  Log closes;
  for (const auto& line : driver.log)
    if (line.rfind("close", 0) == 0) closes.push_back(line);
  EXPECT_EQ(closes, (Log{"close 7", "close 8"}));
}

TEST_F(KestrelLinkTest, FailedCloseReportsMinusOne) {
  ASSERT_EQ(link.OpenLink(nullptr, 1), 1);
  driver.close_ok = false;
  EXPECT_EQ(link.CloseLink(1), -1);
}

TEST_F(KestrelLinkTest, UnloadClosesAHandleStillOpen) {
  ASSERT_EQ(link.OpenLink(nullptr, 1), 1);
  link.Shutdown();
  EXPECT_EQ(driver.log.back(), "close 7");
  link.Shutdown();
  EXPECT_EQ(driver.log.back(), "close 7");
}

}  // namespace
}  // namespace board
