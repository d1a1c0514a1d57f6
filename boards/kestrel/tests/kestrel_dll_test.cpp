// kestrel.dll loaded by file name on a system without the B004Drv driver.
#include <gtest/gtest.h>
#include <windows.h>

#include "boards/include/tests/board_dll.h"
#include "boards/include/tests/link_contract.h"
#include "boards/kestrel/b004_driver.h"

namespace {

using board::testing::BoardDll;

bool PortValueStored() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, board::b004::kParametersKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  const bool found = RegQueryValueExA(key, board::b004::kPortAddressValue, nullptr, nullptr, nullptr,
                                      nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return found;
}

TEST(KestrelDll, WithoutTheDriverOpenFailsAndTheRegistryIsUntouched) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, board::b004::kParametersKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
    RegDeleteValueA(key, board::b004::kPortAddressValue);
    RegCloseKey(key);
  }
  BoardDll dll("kestrel.dll");
  ASSERT_TRUE(dll.complete());
  board::testing::ExpectAnswersWithNothingOpen(dll);
  EXPECT_EQ(dll.OpenLink("0x150", 10), -1);
  EXPECT_EQ(dll.OpenLink(nullptr, 10), -1);
  EXPECT_FALSE(PortValueStored());
  board::testing::ExpectAnswersWithNothingOpen(dll);
  board::testing::ExpectBadHandlesAndLengthsRefused(dll);
}

}  // namespace
