// A T414 / T800 integer processor: registers, the instruction set, two-priority
// scheduling, timers, soft channels and ALT, four hard links and boot from
// link. Platform-free: the caller supplies the clock, moves link bytes in and
// out, and calls Run with a budget of cycles.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "t800/core/constants.h"
#include "t800/core/memory.h"

namespace t800 {

enum class Cpu { kT414, kT800 };

// Monotonic time in microseconds; tests pass a clock they move by hand.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::uint64_t Microseconds() = 0;
};

class Transputer;

// The T800's floating-point unit (fpu.cpp), behind an interface so tests
// and the processor can fit another.
class FloatingPointUnit {
 public:
  virtual ~FloatingPointUnit() = default;
  virtual void Reset() = 0;
  // operation: the opr code (0x80..0xAC), or 0x100 + the fpentry code in A
  // (A already popped). Returns the processor cycles taken.
  virtual int Execute(Transputer& cpu, std::uint32_t operation) = 0;
  // A high-priority process pre-empts the low one: its FP state is kept.
  virtual void SaveInterrupted() {}
  // A process starts or continues; `resumed_interrupted`: the pre-empted
  // low-priority process gets its FP state back.
  virtual void ProcessStarted(bool resumed_interrupted) { (void)resumed_interrupted; }
};
std::unique_ptr<FloatingPointUnit> MakeFloatingPointUnit();

enum class RunStatus {
  kBudgetUsed,  // still running
  kIdle,        // every process waits for a link, a timer or nothing
  kBootWait,    // after reset or analyse: waiting for boot, peek or poke on a link
  kHalted,      // Error with HaltOnError set: only reset helps
};

struct Registers {
  std::uint32_t a = 0, b = 0, c = 0, iptr = 0, wptr = 0;
  int priority = 1;  // 0 high, 1 low
};

class Transputer {
 public:
  struct Options {
    Cpu cpu = Cpu::kT800;
    std::uint32_t memory_size = 2u << 20;  // a power of two (Memory::ValidSize)
  };

  Transputer(const Options& options, Clock& clock);
  ~Transputer();
  Transputer(const Transputer&) = delete;
  Transputer& operator=(const Transputer&) = delete;

  // The reset pin: processes, queues, links and timers start afresh; memory
  // stays; the processor waits for boot, peek or poke on any link.
  void Reset();
  // Analyse then reset: the running process stops at its next descheduling
  // point, links stop taking bytes, then as Reset (testpranal answers 1).
  void Analyse();

  // Runs until about `cycles` processor cycles are used or nothing can run.
  RunStatus Run(std::uint64_t cycles);
  RunStatus status() const;

  // Bytes arriving on a link's input; returns how many the processor took.
  // Bytes not taken must be offered again later (that is the back-pressure).
  std::size_t LinkInput(int link, const std::uint8_t* bytes, std::size_t count);
  // Takes up to `capacity` bytes the link is sending; taking them is the
  // peer's acknowledge, so an `out` completes once its last byte is taken.
  std::size_t LinkOutput(int link, std::uint8_t* bytes, std::size_t capacity);
  bool LinkOutputWaiting(int link) const;

  // Microseconds from the last clock reading until the earliest timer wakes.
  std::optional<std::uint64_t> MicrosecondsToNextTimer() const;

  // The Error pin.
  bool error() const { return error_; }

  // Reports that the program cannot run faithfully (a missing FPU, an
  // invalid operation): each kind is said once per run.
  void SetDiagnostics(std::function<void(std::string_view)> sink) { diagnostics_ = std::move(sink); }
  void ReportOnce(int kind, std::string_view message);
  void SetFloatingPointUnit(std::unique_ptr<FloatingPointUnit> fpu);

  // Access for tests, the FPU and the board.
  Cpu cpu() const { return cpu_; }
  Memory& memory() { return memory_; }
  const Memory& memory() const { return memory_; }
  std::uint32_t mem_start() const { return mem_start_; }
  Registers registers() const;
  void SetRegisters(const Registers& registers);
  void SetError() { error_ = true; }
  // The integer stack in place, for the FPU on every instruction.
  struct Stack {
    std::uint32_t &a, &b, &c;
  };
  Stack stack() { return {a_, b_, c_}; }
  bool halt_on_error() const { return halt_on_error_; }
  std::uint64_t cycles() const { return cycles_; }
  // Leaves boot wait and runs one process from here (tests, benchmarks).
  void StartProcess(std::uint32_t iptr, std::uint32_t wptr, int priority);
  // The clock registers of each priority as the program reads them.
  std::uint32_t TimerValue(int priority) const;

 private:
  struct Link {
    // Output engine: a process waits while its message leaves.
    bool out_busy = false;
    std::uint32_t out_pointer = 0, out_count = 0, out_wdesc = kNotProcess;
    // Input engine: a process waits while its message arrives.
    bool in_busy = false;
    std::uint32_t in_pointer = 0, in_count = 0, in_wdesc = kNotProcess;
    // One byte held unacknowledged while nobody inputs, as the chip does.
    bool held = false;
    std::uint8_t held_byte = 0;
    // An ALT enabled on this input link.
    std::uint32_t alt_wdesc = kNotProcess;
    // Boot-time reply bytes (peek), sent before anything else.
    std::array<std::uint8_t, 4> reply{};
    std::uint8_t reply_size = 0, reply_sent = 0;
  };
  struct Boot {
    enum class Step { kCommand, kPokeAddress, kPokeValue, kPeekAddress, kCode } step = Step::kCommand;
    int link = -1;  // the link a message in progress arrives on
    std::uint32_t value = 0, address = 0, remaining = 0, count = 0;
    int shift = 0;
  };

  // execute.cpp: the interpreter.
  RunStatus Execute(std::int64_t budget);
  int ExtendedOperation(std::uint32_t operation);  // returns the cycles used
  void AtDeschedulingPoint();                      // j or looping lend with attention_
  void EndProcess(std::uint32_t block);

  // scheduler.cpp
  std::uint32_t Ws(std::uint32_t wptr, int slot) const { return memory_.Word(wptr + 4 * slot); }
  void SetWs(std::uint32_t wptr, int slot, std::uint32_t value) { memory_.SetWord(wptr + 4 * slot, value); }
  void Schedule(std::uint32_t wdesc);
  void Enqueue(int priority, std::uint32_t wptr);
  void DeschedulePrivate();  // current process saved (Iptr in W[-1]); run the next
  void StartNextProcess();
  void InterruptLowPriority();
  void Timeslice();
  void ResumeAfterRun();     // checks pre-emption and timers between budgets
  void CheckTimers();
  void TimerInsert(int priority, std::uint32_t wptr, std::uint32_t time);
  void TimerRemove(int priority, std::uint32_t wptr);
  void ReadyAlt(std::uint32_t wdesc);  // a guard became ready for an ALTing process
  std::uint32_t ClockNow(int priority) const;
  void EnterBootWait(bool analysed);
  void HaltNow();

  // channels.cpp
  void InputMessage(std::uint32_t channel, std::uint32_t pointer, std::uint32_t count);
  void OutputMessage(std::uint32_t channel, std::uint32_t pointer, std::uint32_t count);
  void EnableChannel(std::uint32_t channel);
  bool ChannelReady(std::uint32_t channel);  // for disc: also withdraws the enable
  void ResetChannel(std::uint32_t channel);
  void CompleteLinkInput(int link);
  void CompleteLinkOutput(int link);
  void FeedBoot(int link, const std::uint8_t* bytes, std::size_t count, std::size_t& used);
  void ResetLinks();

  Cpu cpu_;
  Clock& clock_;
  Memory memory_;
  std::uint32_t mem_start_;
  std::unique_ptr<FloatingPointUnit> fpu_;
  std::function<void(std::string_view)> diagnostics_;
  std::uint32_t reported_ = 0;  // kinds already reported

  // Process state.
  std::uint32_t a_ = 0, b_ = 0, c_ = 0, iptr_ = 0, wptr_ = 0;
  int pri_ = 1;
  bool running_ = false;  // a process is current
  std::uint32_t front_[2] = {kNotProcess, kNotProcess};
  std::uint32_t back_[2] = {kNotProcess, kNotProcess};
  bool low_interrupted_ = false;
  Registers saved_low_;

  bool error_ = false, halt_on_error_ = false;
  bool halted_ = false, boot_wait_ = true;
  bool analysed_ = false, analyse_pending_ = false;
  // Set between budgets when a low-priority process has used its timeslice
  // or an analyse waits: the next j or looping lend acts on it.
  bool attention_ = false;
  bool timeslice_due_ = false;
  std::uint64_t slice_start_ = 0;

  // Timers: not running until sttimer.
  bool timers_running_ = false;
  std::uint32_t timer_base_value_ = 0;
  std::uint64_t timer_base_us_ = 0;
  std::uint64_t now_us_ = 0;  // last clock reading

  // Two-dimensional block move parameters (move2dinit).
  std::uint32_t move2d_rows_ = 0, move2d_dest_stride_ = 0, move2d_source_stride_ = 0;

  std::array<Link, kLinkCount> links_{};
  Boot boot_;
  bool links_frozen_ = false;  // analyse asserted, not yet halted

  std::uint64_t cycles_ = 0;
};

}  // namespace t800
