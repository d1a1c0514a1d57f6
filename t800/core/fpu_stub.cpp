// The floating-point unit until the real one is fitted: every floating-point
// instruction sets Error, and the first one says so.
#include "t800/core/transputer.h"

namespace t800 {
namespace {

class FloatingPointStub final : public FloatingPointUnit {
 public:
  void Reset() override {}
  void Execute(Transputer& cpu, std::uint32_t) override {
    cpu.ReportOnce(0, "t800emu: floating-point instructions are not emulated yet; Error set");
    cpu.SetError();
  }
};

}  // namespace

std::unique_ptr<FloatingPointUnit> MakeFloatingPointStub() { return std::make_unique<FloatingPointStub>(); }

}  // namespace t800
