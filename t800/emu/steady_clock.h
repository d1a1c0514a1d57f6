// The processor's clock on a real host: monotonic microseconds.
#pragma once

#include <chrono>

#include "t800/core/transputer.h"

namespace t800emu {

class SteadyClock final : public t800::Clock {
 public:
  std::uint64_t Microseconds() override {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_).count());
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

}  // namespace t800emu
