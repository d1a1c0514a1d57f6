// Reset, analyse, the run queues, pre-emption, timeslicing and the timers.
#include <algorithm>

#include "t800/core/transputer.h"

namespace t800 {

Transputer::Transputer(const Options& options, Clock& clock)
    : cpu_(options.cpu),
      clock_(clock),
      memory_(options.memory_size),
      mem_start_(options.cpu == Cpu::kT800 ? kMemStartT800 : kMemStartT414),
      fpu_(MakeFloatingPointUnit()) {
  Reset();
}

Transputer::~Transputer() = default;

void Transputer::SetFloatingPointUnit(std::unique_ptr<FloatingPointUnit> fpu) {
  fpu_ = std::move(fpu);
  fpu_->Reset();
}

void Transputer::ReportOnce(int kind, std::string_view message) {
  const std::uint32_t bit = 1u << (kind & 31);
  if (reported_ & bit) return;
  reported_ |= bit;
  if (diagnostics_) diagnostics_(message);
}

void Transputer::Reset() {
  analysed_ = false;
  EnterBootWait(false);
  // Empty channel words, timer queues and event channel, as every Inmos
  // bootstrap sets them, so code that skips that step still runs.
  for (std::uint32_t address = kLinkOutChannel0; address <= kTimerQueueHead[1]; address += 4) {
    memory_.SetWord(address, kNotProcess);
  }
}

void Transputer::Analyse() {
  analysed_ = true;
  if (running_ && !boot_wait_ && !halted_) {
    analyse_pending_ = true;
    attention_ = true;
    links_frozen_ = true;  // bytes for the boot wait must not reach the program
  } else {
    EnterBootWait(true);
  }
}

void Transputer::EnterBootWait(bool analysed) {
  analysed_ = analysed;
  // Iptr and Wptr stay as they were: the boot hands them over in A and B.
  running_ = false;
  boot_wait_ = true;
  halted_ = false;
  analyse_pending_ = attention_ = timeslice_due_ = false;
  links_frozen_ = false;
  front_[0] = front_[1] = back_[0] = back_[1] = kNotProcess;
  low_interrupted_ = false;
  error_ = halt_on_error_ = false;
  timers_running_ = false;
  timer_base_value_ = 0;
  reported_ = 0;
  boot_ = Boot{};
  ResetLinks();
  if (fpu_) fpu_->Reset();
}

void Transputer::HaltNow() {
  halted_ = true;
  running_ = false;
}

RunStatus Transputer::status() const {
  if (halted_) return RunStatus::kHalted;
  if (boot_wait_) return RunStatus::kBootWait;
  return running_ || front_[0] != kNotProcess || front_[1] != kNotProcess || low_interrupted_ ? RunStatus::kBudgetUsed
                                                                                                : RunStatus::kIdle;
}

RunStatus Transputer::Run(std::uint64_t cycles) {
  if (halted_) return RunStatus::kHalted;
  if (boot_wait_) return RunStatus::kBootWait;
  now_us_ = clock_.Microseconds();
  CheckTimers();
  if (!running_) StartNextProcess();
  if (boot_wait_) return RunStatus::kBootWait;
  if (!running_) return RunStatus::kIdle;
  if (pri_ == 1 && front_[0] != kNotProcess) InterruptLowPriority();
  if (pri_ == 1 && now_us_ - slice_start_ >= kTimesliceMicroseconds) timeslice_due_ = true;
  attention_ = timeslice_due_ || analyse_pending_;
  const std::int64_t budget = static_cast<std::int64_t>(std::min<std::uint64_t>(cycles, 1ull << 62));
  return Execute(budget);
}

Registers Transputer::registers() const { return {a_, b_, c_, iptr_, wptr_, pri_}; }

void Transputer::SetRegisters(const Registers& r) {
  a_ = r.a;
  b_ = r.b;
  c_ = r.c;
  iptr_ = r.iptr;
  wptr_ = r.wptr & ~3u;
  pri_ = r.priority & 1;
}

void Transputer::StartProcess(std::uint32_t iptr, std::uint32_t wptr, int priority) {
  boot_wait_ = false;
  running_ = true;
  SetRegisters({0, 0, 0, iptr, wptr, priority});
  now_us_ = clock_.Microseconds();
  slice_start_ = now_us_;
}

void Transputer::Enqueue(int priority, std::uint32_t wptr) {
  if (front_[priority] == kNotProcess) {
    front_[priority] = wptr;
  } else {
    SetWs(back_[priority], kSlotLink, wptr);
  }
  back_[priority] = wptr;
}

void Transputer::Schedule(std::uint32_t wdesc) { Enqueue(static_cast<int>(wdesc & 1), wdesc & ~3u); }

void Transputer::DeschedulePrivate() {
  SetWs(wptr_, kSlotIptr, iptr_);
  running_ = false;
  StartNextProcess();
}

void Transputer::StartNextProcess() {
  running_ = false;
  if (analyse_pending_) {
    EnterBootWait(true);
    return;
  }
  for (int priority = 0; priority < 2; ++priority) {
    if (priority == 1 && low_interrupted_) {
      const Registers& r = saved_low_;
      a_ = r.a, b_ = r.b, c_ = r.c, iptr_ = r.iptr, wptr_ = r.wptr, pri_ = 1;
      low_interrupted_ = false;
      memory_.SetWord(kSaveArea, kNotProcess);
      running_ = true;
      if (fpu_) fpu_->ProcessStarted(true);
      return;
    }
    const std::uint32_t wptr = front_[priority];
    if (wptr == kNotProcess) continue;
    front_[priority] = wptr == back_[priority] ? kNotProcess : Ws(wptr, kSlotLink);
    wptr_ = wptr;
    pri_ = priority;
    iptr_ = Ws(wptr, kSlotIptr);
    running_ = true;
    if (fpu_) fpu_->ProcessStarted(false);
    if (priority == 1) {
      slice_start_ = now_us_;
      timeslice_due_ = false;
      attention_ = analyse_pending_;
    }
    return;
  }
}

void Transputer::InterruptLowPriority() {
  // The interrupted process keeps its whole state, stack included, and goes
  // on no queue: it resumes when no high-priority process is left.
  saved_low_ = {a_, b_, c_, iptr_, wptr_, 1};
  low_interrupted_ = true;
  if (fpu_) fpu_->SaveInterrupted();
  const std::uint32_t save[] = {wptr_ | 1u, iptr_, a_, b_, c_};
  for (std::uint32_t i = 0; i < 5; ++i) memory_.SetWord(kSaveArea + 4 * i, save[i]);
  StartNextProcess();
}

void Transputer::Timeslice() {
  timeslice_due_ = false;
  attention_ = analyse_pending_;
  slice_start_ = now_us_;
  if (pri_ != 1 || front_[1] == kNotProcess) return;
  SetWs(wptr_, kSlotIptr, iptr_);
  Enqueue(1, wptr_);
  StartNextProcess();
}

std::uint32_t Transputer::ClockNow(int priority) const {
  if (!timers_running_) return timer_base_value_;
  const std::uint64_t elapsed = now_us_ - timer_base_us_;
  return timer_base_value_ + static_cast<std::uint32_t>(priority == 0 ? elapsed : elapsed / kLowTimerTickMicroseconds);
}

std::uint32_t Transputer::TimerValue(int priority) const { return ClockNow(priority); }

// A corrupted queue must not hang the emulator: walks stop after as many
// steps as there are workspaces in memory.
static std::uint32_t WalkLimit(const Memory& memory) { return memory.size() / 16 + 1; }

void Transputer::CheckTimers() {
  if (!timers_running_) return;
  for (int priority = 0; priority < 2; ++priority) {
    const std::uint32_t now = ClockNow(priority);
    std::uint32_t head = memory_.Word(kTimerQueueHead[priority]);
    for (std::uint32_t steps = WalkLimit(memory_); head != kNotProcess && steps > 0; --steps) {
      if (!After(now, Ws(head, kSlotTime))) break;
      const std::uint32_t next = Ws(head, kSlotTLink);
      memory_.SetWord(kTimerQueueHead[priority], next);
      if (Ws(head, kSlotState) == kWaiting) {  // a timer ALT: its time guard is ready
        SetWs(head, kSlotState, kReady);
        SetWs(head, kSlotTLink, kTimeSet);
      }
      Enqueue(priority, head);
      head = next;
    }
  }
}

void Transputer::TimerInsert(int priority, std::uint32_t wptr, std::uint32_t time) {
  SetWs(wptr, kSlotTime, time);
  std::uint32_t link = kTimerQueueHead[priority];
  std::uint32_t current = memory_.Word(link);
  for (std::uint32_t steps = WalkLimit(memory_); current != kNotProcess && steps > 0; --steps) {
    if (After(Ws(current, kSlotTime), time)) break;  // later entries wake after this one
    link = current + 4 * kSlotTLink;
    current = memory_.Word(link);
  }
  SetWs(wptr, kSlotTLink, current);
  memory_.SetWord(link, wptr);
}

void Transputer::TimerRemove(int priority, std::uint32_t wptr) {
  std::uint32_t link = kTimerQueueHead[priority];
  std::uint32_t current = memory_.Word(link);
  for (std::uint32_t steps = WalkLimit(memory_); current != kNotProcess && steps > 0; --steps) {
    if (current == wptr) {
      memory_.SetWord(link, Ws(current, kSlotTLink));
      SetWs(wptr, kSlotTLink, kTimeSet);
      return;
    }
    link = current + 4 * kSlotTLink;
    current = memory_.Word(link);
  }
}

void Transputer::ReadyAlt(std::uint32_t wdesc) {
  const std::uint32_t wptr = wdesc & ~3u;
  const std::uint32_t state = Ws(wptr, kSlotState);
  if (state == kEnabling) {
    SetWs(wptr, kSlotState, kReady);
  } else if (state == kWaiting) {
    // Scheduled once, and off the timer queue if a timeout was pending.
    SetWs(wptr, kSlotState, kReady);
    const std::uint32_t tlink = Ws(wptr, kSlotTLink);
    if (tlink != kTimeSet && tlink != kTimeNotSet) TimerRemove(static_cast<int>(wdesc & 1), wptr);
    Schedule(wdesc);
  }
}

std::optional<std::uint64_t> Transputer::MicrosecondsToNextTimer() const {
  if (!timers_running_) return std::nullopt;
  std::optional<std::uint64_t> soonest;
  for (int priority = 0; priority < 2; ++priority) {
    const std::uint32_t head = memory_.Word(kTimerQueueHead[priority]);
    if (head == kNotProcess) continue;
    // Ticks until the clock is AFTER the entry's time.
    const std::int64_t ticks = static_cast<std::int64_t>(static_cast<std::int32_t>(Ws(head, kSlotTime) - ClockNow(priority))) + 1;
    std::uint64_t wait = 0;
    if (ticks > 0) {
      if (priority == 0) {
        wait = static_cast<std::uint64_t>(ticks);
      } else {
        const std::uint64_t phase = (now_us_ - timer_base_us_) % kLowTimerTickMicroseconds;
        wait = static_cast<std::uint64_t>(ticks) * kLowTimerTickMicroseconds - phase;
      }
    }
    soonest = soonest ? std::min(*soonest, wait) : wait;
  }
  return soonest;
}

}  // namespace t800
