// The C-library host on real files in a scratch folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "iserver/core/stdio_host.h"

namespace iserver {
namespace {

TEST(StdioHost, FilesBehaveAsTheProgramExpects) {
  const auto folder = std::filesystem::temp_directory_path() / ("iserver_host_" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string a = (folder / "a").string(), b = (folder / "b").string();
  StdioHost host;
  {
    auto file = host.Open(a, FileType::kBinary, FileMode::kOutput);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->Write(reinterpret_cast<const std::uint8_t*>("hello"), 5), 5u);
    EXPECT_EQ(file->Tell(), 5);
    std::uint8_t byte;
    EXPECT_EQ(file->Read(&byte, 1), 0u);  // reading a write-only stream sets the error indicator
    EXPECT_TRUE(file->Error().has_value());
    EXPECT_TRUE(file->Close());
  }
  {
    auto file = host.Open(a, FileType::kBinary, FileMode::kAppend);
    EXPECT_EQ(file->Tell(), 5);  // appending starts at the end
  }
  auto file = host.Open(a, FileType::kText, FileMode::kInput);
  ASSERT_TRUE(file);
  std::uint8_t buffer[8];
  EXPECT_FALSE(file->AtEnd());
  EXPECT_EQ(file->Read(buffer, 8), 5u);
  EXPECT_TRUE(file->AtEnd());
  EXPECT_TRUE(file->Seek(-2, SeekOrigin::kEnd));
  EXPECT_FALSE(file->AtEnd());
  EXPECT_EQ(file->Read(buffer, 8), 2u);
  EXPECT_FALSE(file->Error().has_value());
  file.reset();

  EXPECT_TRUE(host.Exists(a));
  EXPECT_TRUE(host.Rename(a, b));
  EXPECT_FALSE(host.Exists(a));
  EXPECT_TRUE(host.Remove(b));
  EXPECT_FALSE(host.Remove(b));
  EXPECT_EQ(host.Open(a, FileType::kBinary, FileMode::kInput), nullptr);

  ::setenv("ISERVER_TEST_VALUE", "#200000", 1);
  EXPECT_EQ(host.Environment("ISERVER_TEST_VALUE"), "#200000");
  EXPECT_EQ(host.Environment("ISERVER_TEST_UNSET_VALUE"), std::nullopt);
  EXPECT_GT(host.Now().utc, 1600000000);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace iserver
