// The program's console through tessel.exe's console services (GETS, GETCH,
// KBHIT, STREAD, STWRITE), resolved by name from the program's own module.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "iserver/core/console_io.h"

namespace iserver {

struct ConsoleServices {
  using GetsFn = std::int32_t(WINAPI*)(char*);
  using KeyFn = std::int32_t(WINAPI*)();
  using StreadFn = std::int32_t(WINAPI*)(std::uint8_t*, std::int32_t);
  using StwriteFn = std::int32_t(WINAPI*)(const std::uint8_t*, std::int32_t);

  GetsFn gets = nullptr;
  KeyFn getch = nullptr;
  KeyFn kbhit = nullptr;
  StreadFn stread = nullptr;
  StwriteFn stwrite = nullptr;

  static ConsoleServices Resolve(HMODULE program);
  bool complete() const { return gets && getch && kbhit && stread && stwrite; }
};

class TesselConsole final : public ConsoleIo {
 public:
  // wait_given_up: whether a wait that ended without a key ended because the
  // task is being ended (GETCH answers -1 then, as it does for byte 255).
  TesselConsole(const ConsoleServices& services, std::function<bool()> wait_given_up)
      : services_(services), wait_given_up_(std::move(wait_given_up)) {}

  void Write(ConsoleStream stream, std::span<const std::uint8_t> bytes) override;
  std::size_t ReadLine(std::uint8_t* buffer, std::size_t count) override;
  std::optional<std::uint8_t> GetKey() override;
  std::optional<std::uint8_t> PollKey() override;

 private:
  ConsoleServices services_;
  std::function<bool()> wait_given_up_;
};

}  // namespace iserver
