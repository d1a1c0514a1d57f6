// Speed of the processor core: an integer loop and the COMSTIME network
// (P. H. Welch's channel benchmark: prefix, delta with a parallel output,
// succ, consume; four communications a round). Emulated time is counted
// from the instruction timings of cycles.h, as a T800 at 20 MHz would take
// them; the ratio is that time over the wall time taken here.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "t800/core/transputer.h"

namespace {

using namespace t800;

class SteadyClock final : public Clock {
 public:
  std::uint64_t Microseconds() override {
    return static_cast<std::uint64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
  }
};

enum Fn { J, Ldlp, Pfix, Ldnl, Ldc, Ldnlp, Nfix, Ldl, Adc, Call, Cj, Ajw, Eqc, Stl, Stnl, Opr };
enum Op { Add = 0x05, In = 0x07, Out = 0x0B, Startp = 0x0D, Endp = 0x03, Stopp = 0x15, Lend = 0x21, Ldpi = 0x1B,
          Xor = 0x33, And = 0x46, Fpldnldb = 0x8A, Fpldnlmuldb = 0xA8, Fpadd = 0x87, Fpstnldb = 0x84 };

// A small assembler: labels, and relative operands in a fixed three-byte
// form patched once every label is known.
class Asm {
 public:
  explicit Asm(std::uint32_t origin) : origin_(origin) {}
  Asm& operator()(int fn, std::int32_t e) {
    Prefix(fn, e);
    return *this;
  }
  Asm& op(int n) { return (*this)(Opr, n); }
  Asm& label(const std::string& name) {
    labels_[name] = {static_cast<std::int32_t>(bytes_.size()), items_.size()};
    return *this;
  }
  // fn with operand = target - base, where base is a label (by default the
  // end of this instruction); `back` negates it (lend's distance back).
  Asm& rel(int fn, const std::string& target, const std::string& base = "", bool back = false) {
    items_.push_back({bytes_.size(), fn, target, base, back});
    return *this;
  }
    // Lays out the relative operands in their shortest prefix form, as a
  // compiler would; sizes only grow, so the passes settle.
  std::vector<std::uint8_t> Finish() {
    std::vector<std::size_t> sizes(items_.size(), 1);
    for (bool changed = true; changed;) {
      changed = false;
      final_labels_.clear();
      for (const auto& [name, where] : labels_) {  // moved past the operands laid out before it
        std::int32_t offset = where.first;
        for (std::size_t i = 0; i < where.second; ++i) offset += static_cast<std::int32_t>(sizes[i]);
        final_labels_[name] = offset;
      }
      std::vector<std::uint8_t> out;
      std::size_t copied = 0;
      for (std::size_t i = 0; i < items_.size(); ++i) {
        const Fixup& f = items_[i];
        out.insert(out.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(copied),
                   bytes_.begin() + static_cast<std::ptrdiff_t>(f.at));
        copied = f.at;
        const auto end = static_cast<std::int32_t>(out.size() + sizes[i]);
        const std::int32_t base = f.base.empty() ? end : final_labels_.at(f.base);
        const std::int32_t v = (final_labels_.at(f.target) - base) * (f.back ? -1 : 1);
        Asm piece(0);
        piece(f.fn, v);
        if (piece.bytes_.size() > sizes[i]) {
          sizes[i] = piece.bytes_.size();
          changed = true;
        }
        // A shorter form keeps its room with pfix 0 in front, which changes nothing.
        out.insert(out.end(), sizes[i] - piece.bytes_.size(), 0x20);
        out.insert(out.end(), piece.bytes_.begin(), piece.bytes_.end());
      }
      out.insert(out.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(copied), bytes_.end());
      if (!changed) return out;
    }
    return {};
  }
  std::uint32_t final_address(const std::string& name) const {
    return origin_ + static_cast<std::uint32_t>(final_labels_.at(name));
  }

 private:
  struct Fixup {
    std::size_t at;
    int fn;
    std::string target;
    std::string base;
    bool back;
  };
  void Prefix(int fn, std::int32_t e) {
    if (e >= 0 && e < 16) {
      bytes_.push_back(static_cast<std::uint8_t>(fn << 4 | e));
      return;
    }
    if (e >= 16) Prefix(Pfix, static_cast<std::int32_t>(static_cast<std::uint32_t>(e) >> 4));
    else Prefix(Nfix, static_cast<std::int32_t>(~static_cast<std::uint32_t>(e) >> 4));
    bytes_.push_back(static_cast<std::uint8_t>(fn << 4 | (e & 15)));
  }
  std::uint32_t origin_;
  std::vector<std::uint8_t> bytes_;
  std::map<std::string, std::pair<std::int32_t, std::size_t>> labels_;  // offset, operands before
  std::vector<Fixup> items_;
  std::map<std::string, std::int32_t> final_labels_;
};

constexpr std::uint32_t kCode = 0x80001000u;
constexpr double kT800CycleNs = 50.0;  // 20 MHz

struct Result {
  double seconds;
  std::uint64_t cycles;
};

// Processor time, not wall time: the machine is shared, and the figure is
// what the emulator costs, not how busy the neighbours were.
Result RunToIdle(Transputer& cpu) {
  const std::clock_t start = std::clock();
  while (cpu.Run(1u << 20) == RunStatus::kBudgetUsed) {}
  return {static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC, cpu.cycles()};
}

// SEQ i = 0 FOR n: x := x + y; y := y + 1  (an occam replicated SEQ: lend).
void IntegerLoop() {
  constexpr std::int32_t kIterations = 100'000'000;
  constexpr int kInstructions = 10;  // ldl ldl add stl ldl adc stl ldlp ldc lend
  SteadyClock clock;
  Transputer cpu({Cpu::kT800, 1u << 20}, clock);
  Asm a(kCode);
  a(Ldc, 0)(Stl, 3)(Ldc, kIterations)(Stl, 4)
      .label("loop")(Ldl, 1)(Ldl, 2).op(Add)(Stl, 1)(Ldl, 2)(Adc, 1)(Stl, 2)
      (Ldlp, 3).rel(Ldc, "loop", "loop_end", true).op(Lend).label("loop_end").op(Stopp);
  const auto code = a.Finish();
  cpu.memory().Write(kCode, code.data(), static_cast<std::uint32_t>(code.size()));
  cpu.StartProcess(kCode, 0x80010000u, 1);
  const Result r = RunToIdle(cpu);
  const double instructions = static_cast<double>(kIterations) * kInstructions;
  const double emulated_s = static_cast<double>(r.cycles) * kT800CycleNs * 1e-9;
  std::printf("integer loop: %d iterations, %.0f M instructions/s, %.2f ns per iteration, %.1f cycles per iteration,\n"
              "  %.1f times a T800-20\n",
              kIterations, instructions / r.seconds / 1e6, r.seconds * 1e9 / kIterations,
              static_cast<double>(r.cycles) / kIterations, emulated_s / r.seconds);
}

// SEQ i = 0 FOR n: acc := acc + (x * y) in REAL64, acc kept in FA as a
// compiler would keep it: fpldnldb x, fpldnlmuldb y, fpadd per round (two
// floating-point operations). A T800-20 takes the cycles of cycles.h and
// fpu_cycles.h, 51 a round: ldlp 1, fpldnldb 3, ldlp 1, fpldnlmuldb 21,
// fpadd 6, ldlp 1, ldc 1, lend 10, and the prefixes as the emulator counts them.
void Real64MultiplyAdd() {
  constexpr std::int32_t kIterations = 20'000'000;
  SteadyClock clock;
  Transputer cpu({Cpu::kT800, 1u << 20}, clock);
  const std::uint32_t w = 0x80010000u;
  auto set_double = [&](std::uint32_t at, std::uint64_t bits) {
    cpu.memory().SetWord(at, static_cast<std::uint32_t>(bits));
    cpu.memory().SetWord(at + 4, static_cast<std::uint32_t>(bits >> 32));
  };
  set_double(w + 20, 0x3FF8000000000000ull);  // x = 1.5 at W[5]
  set_double(w + 28, 0x3FE0000000000000ull);  // y = 0.5 at W[7]
  set_double(w + 36, 0);                      // acc at W[9]
  Asm a(kCode);
  a(Ldlp, 9).op(Fpldnldb)(Ldc, 0)(Stl, 3)(Ldc, kIterations)(Stl, 4)
      .label("loop")(Ldlp, 5).op(Fpldnldb)(Ldlp, 7).op(Fpldnlmuldb).op(Fpadd)
      (Ldlp, 3).rel(Ldc, "loop", "loop_end", true).op(Lend).label("loop_end")(Ldlp, 9).op(Fpstnldb).op(Stopp);
  const auto code = a.Finish();
  cpu.memory().Write(kCode, code.data(), static_cast<std::uint32_t>(code.size()));
  cpu.StartProcess(kCode, w, 1);
  const Result r = RunToIdle(cpu);
  const std::uint64_t acc = std::uint64_t{cpu.memory().Word(w + 40)} << 32 | cpu.memory().Word(w + 36);
  const double flops = 2.0 * kIterations / r.seconds;
  const double cycles_per_round = static_cast<double>(r.cycles) / kIterations;
  const double t800_flops = 2.0 / (cycles_per_round * kT800CycleNs * 1e-9);
  std::printf("REAL64 multiply-add: %d rounds (acc bits %016llx), %.1f M FLOPS, %.2f ns per round,\n"
              "  %.1f cycles per round, a T800-20 %.2f M FLOPS: %.1f times a T800-20\n",
              kIterations, static_cast<unsigned long long>(acc), flops / 1e6, r.seconds * 1e9 / kIterations,
              cycles_per_round, t800_flops / 1e6, flops / t800_flops);
}

void Comstime() {
  constexpr std::int32_t kRounds = 2'000'000;
  constexpr double kT800RoundNs = 15049.0;
  SteadyClock clock;
  Transputer cpu({Cpu::kT800, 1u << 20}, clock);
  const std::uint32_t chan_a = 0x80002000, chan_b = chan_a + 4, chan_c = chan_a + 8, chan_d = chan_a + 12;
  for (std::uint32_t c = chan_a; c <= chan_d; c += 4) cpu.memory().SetWord(c, kNotProcess);
  const std::uint32_t w_prefix = 0x80004000, w_delta = 0x80005000, w_child = 0x80005800, w_succ = 0x80006000,
                      w_consume = 0x80007000;
  auto I = [](std::uint32_t v) { return static_cast<std::int32_t>(v); };
  // Channels are parameters in the workspaces, as an occam compiler passes them.
  auto set = [&](std::uint32_t w, int slot, std::uint32_t value) { cpu.memory().SetWord(w + 4u * static_cast<std::uint32_t>(slot), value); };
  set(w_consume, 5, chan_d);
  set(w_prefix, 2, chan_a);
  set(w_prefix, 3, chan_c);
  set(w_delta, 3, chan_a);
  set(w_delta, 4, chan_b);
  set(w_delta, 6, w_child);
  set(w_child, 2, chan_d);
  set(w_child, 3, w_delta);
  set(w_succ, 2, chan_b);
  set(w_succ, 3, chan_c);
  Asm a(kCode);
  // The first process starts the others, then becomes consume.
  for (std::uint32_t w : {w_prefix, w_delta, w_succ}) a(Ldc, I(w | 1))(Opr, 0x39);  // runp
  a(Ldc, 0)(Stl, 3)(Ldc, kRounds)(Stl, 4)
      .label("consume")(Ldlp, 1)(Ldl, 5)(Ldc, 4).op(In)(Ldlp, 3).rel(Ldc, "consume", "consume_end", true).op(Lend)
      .label("consume_end").op(Stopp);
  // prefix: a ! 0, then copy c to a.
  a.label("prefix")(Ldc, 0)(Stl, 1)
      .label("prefix_loop")(Ldlp, 1)(Ldl, 2)(Ldc, 4).op(Out)(Ldlp, 1)(Ldl, 3)(Ldc, 4).op(In).rel(J, "prefix_loop");
  // delta: a ? x; PAR (b ! x; d ! x), the PAR block in W[0..1], x in W[2].
  a.label("delta")(Ldlp, 2)(Ldl, 3)(Ldc, 4).op(In)(Ldc, 2)(Stl, 1).rel(Ldc, "join", "after_ldpi").op(Ldpi)
      .label("after_ldpi")(Stl, 0)(Ldl, 2)(Ldl, 6)(Stnl, 1)
      .rel(Ldc, "child", "after_startp")(Ldl, 6).op(Startp).label("after_startp")
      (Ldlp, 2)(Ldl, 4)(Ldc, 4).op(Out)(Ldlp, 0).op(Endp)
      .label("join").rel(J, "delta");
  a.label("child")(Ldlp, 1)(Ldl, 2)(Ldc, 4).op(Out)(Ldl, 3).op(Endp);
  // succ: b ? x; c ! x + 1.
  a.label("succ")(Ldlp, 1)(Ldl, 2)(Ldc, 4).op(In)(Ldl, 1)(Adc, 1)(Stl, 1)(Ldlp, 1)(Ldl, 3)(Ldc, 4).op(Out)
      .rel(J, "succ");
  const auto code = a.Finish();
  cpu.memory().Write(kCode, code.data(), static_cast<std::uint32_t>(code.size()));
  for (const auto& [w, name] : {std::pair{w_prefix, "prefix"}, {w_delta, "delta"}, {w_succ, "succ"}}) {
    cpu.memory().SetWord(w - 4, a.final_address(name));
  }
  cpu.StartProcess(kCode, w_consume, 1);
  const Result r = RunToIdle(cpu);
  const double round_ns = r.seconds * 1e9 / kRounds;
  if (std::getenv("BENCH_DEBUG")) {
    std::printf("status %d error %d iptr %08x wptr %08x\n", static_cast<int>(cpu.status()), cpu.error(), cpu.registers().iptr, cpu.registers().wptr);
    for (std::uint32_t c = chan_a; c <= chan_d; c += 4) std::printf("chan %08x: %08x\n", c, cpu.memory().Word(c));
    for (const char* n : {"consume", "prefix", "delta", "child", "succ", "join"}) std::printf("%s at %08x\n", n, a.final_address(n));
  }
  const double value = static_cast<double>(cpu.memory().Word(w_consume + 4));
  std::printf("comstime: %d rounds (last value %.0f), %.1f ns per round, %.1f ns per communication,\n"
              "  %.1f times a T800-20 by the cycle table, %.1f times the measured %.0f ns a round\n",
              kRounds, value, round_ns, round_ns / 4,
              static_cast<double>(r.cycles) * kT800CycleNs * 1e-9 / r.seconds, kT800RoundNs / round_ns, kT800RoundNs);
}

}  // namespace

// Optional argument: "loop", "comstime" or "fp" runs that one alone (profiling).
int main(int argc, char** argv) {
  const std::string only = argc > 1 ? argv[1] : "";
  if (only.empty() || only == "loop") IntegerLoop();
  if (only.empty() || only == "comstime") Comstime();
  if (only.empty() || only == "fp") Real64MultiplyAdd();
  return 0;
}
