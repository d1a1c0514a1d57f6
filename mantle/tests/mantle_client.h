// A client of mantle.dll as outside programs are: the library loaded by name,
// each entry resolved by its exported name, the thread's messages pumped by
// the client itself.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "mantle/mantle.h"

// The library loaded once per test suite; entries resolved by name.
class MantleModule : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module = LoadLibraryA("mantle.dll");
    ASSERT_NE(module, nullptr) << "mantle.dll: error " << GetLastError();
  }
  static void TearDownTestSuite() {
    if (module != nullptr) FreeLibrary(module);
    module = nullptr;
  }

  template <class Function>
  static Function* Call(const char* name) {
    const FARPROC proc = GetProcAddress(module, name);
    EXPECT_NE(proc, nullptr) << name;
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(proc));
  }

  static inline HMODULE module = nullptr;
};

// A client that enables the library around each test.
class MantleClient : public MantleModule {
 protected:
  void SetUp() override { Call<decltype(_EnableMantle)>("_EnableMantle")(1); }
  void TearDown() override {
    Pump();
    Call<decltype(_EnableMantle)>("_EnableMantle")(0);
  }

  // Get, translate, dispatch: what the client's loop does.
  static void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }

  // Every record in the queue, with its id as retrieval fills it.
  static std::vector<QueuedMessage> Drain() {
    std::vector<QueuedMessage> records;
    auto* retrieve = Call<decltype(_RetrieveMessage)>("_RetrieveMessage");
    for (;;) {
      QueuedMessage record{0, 0xFFFFFFFFu, 0, 0, 0};
      retrieve(&record);
      if (record.message == 0xFFFFFFFFu) return records;
      records.push_back(record);
    }
  }

  static std::vector<UINT> Messages(const std::vector<QueuedMessage>& records) {
    std::vector<UINT> messages;
    for (const QueuedMessage& r : records) messages.push_back(r.message);
    return messages;
  }

  static HWND Handle(const QueuedMessage& record) {
    return reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(record.hwnd)));
  }
};

#define MANTLE(name) Call<decltype(name)>(#name)
