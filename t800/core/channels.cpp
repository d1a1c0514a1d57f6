// Channel communication: soft channels in memory, the four hard links and
// the boot-from-link protocol that runs on them after reset.
#include <algorithm>

#include "t800/core/transputer.h"

namespace t800 {
namespace {

bool IsHard(std::uint32_t channel) { return channel - kMostNeg < kHardChannelEnd - kMostNeg; }
bool IsEvent(std::uint32_t channel) { return (channel & ~3u) == kEventChannel; }
int LinkOf(std::uint32_t channel) { return static_cast<int>(((channel - kMostNeg) >> 2) & 3); }
bool IsAltState(std::uint32_t state) { return state == kEnabling || state == kWaiting || state == kReady; }
// A negative count moves nothing (but still synchronises).
std::uint32_t Bytes(std::uint32_t count) { return static_cast<std::int32_t>(count) > 0 ? count : 0; }

}  // namespace

void Transputer::ResetLinks() {
  for (Link& link : links_) link = Link{};
}

void Transputer::InputMessage(std::uint32_t channel, std::uint32_t pointer, std::uint32_t count) {
  const std::uint32_t wdesc = wptr_ | static_cast<std::uint32_t>(pri_);
  count = Bytes(count);
  if (IsHard(channel)) {
    if (IsEvent(channel)) {  // no events reach this board: the process waits for ever
      memory_.SetWord(channel, wdesc);
      DeschedulePrivate();
      return;
    }
    Link& link = links_[static_cast<std::size_t>(LinkOf(channel))];
    if (count > 0 && link.held) {
      memory_.SetByte(pointer++, link.held_byte);
      link.held = false;
      --count;
    }
    if (count == 0) return;
    link.in_busy = true;
    link.in_pointer = pointer;
    link.in_count = count;
    link.in_wdesc = wdesc;
    memory_.SetWord(channel, wdesc);
    DeschedulePrivate();
    return;
  }
  const std::uint32_t partner = memory_.Word(channel);
  if (partner == kNotProcess) {
    memory_.SetWord(channel, wdesc);
    SetWs(wptr_, kSlotState, pointer);
    DeschedulePrivate();
    return;
  }
  memory_.Copy(pointer, Ws(partner & ~3u, kSlotState), count);
  memory_.SetWord(channel, kNotProcess);
  Schedule(partner);
}

void Transputer::OutputMessage(std::uint32_t channel, std::uint32_t pointer, std::uint32_t count) {
  const std::uint32_t wdesc = wptr_ | static_cast<std::uint32_t>(pri_);
  count = Bytes(count);
  if (IsHard(channel)) {
    if (IsEvent(channel)) {
      memory_.SetWord(channel, wdesc);
      DeschedulePrivate();
      return;
    }
    if (count == 0) return;
    Link& link = links_[static_cast<std::size_t>(LinkOf(channel))];
    link.out_busy = true;
    link.out_pointer = pointer;
    link.out_count = count;
    link.out_wdesc = wdesc;
    memory_.SetWord(channel, wdesc);
    DeschedulePrivate();
    return;
  }
  const std::uint32_t partner = memory_.Word(channel);
  if (partner == kNotProcess) {
    memory_.SetWord(channel, wdesc);
    SetWs(wptr_, kSlotState, pointer);
    DeschedulePrivate();
    return;
  }
  const std::uint32_t partner_wptr = partner & ~3u;
  const std::uint32_t state = Ws(partner_wptr, kSlotState);
  if (IsAltState(state)) {
    // The partner is still choosing: wait for its `in`, telling it this
    // guard is ready.
    memory_.SetWord(channel, wdesc);
    SetWs(wptr_, kSlotState, pointer);
    ReadyAlt(partner);
    DeschedulePrivate();
    return;
  }
  memory_.Copy(state, pointer, count);
  memory_.SetWord(channel, kNotProcess);
  Schedule(partner);
}

void Transputer::EnableChannel(std::uint32_t channel) {
  const std::uint32_t wdesc = wptr_ | static_cast<std::uint32_t>(pri_);
  if (IsHard(channel)) {
    if (IsEvent(channel)) {
      memory_.SetWord(channel, wdesc);
      return;
    }
    Link& link = links_[static_cast<std::size_t>(LinkOf(channel))];
    if (link.held) {
      SetWs(wptr_, kSlotState, kReady);
    } else {
      link.alt_wdesc = wdesc;
      memory_.SetWord(channel, wdesc);
    }
    return;
  }
  const std::uint32_t word = memory_.Word(channel);
  if (word == kNotProcess) {
    memory_.SetWord(channel, wdesc);
  } else if (word != wdesc) {
    SetWs(wptr_, kSlotState, kReady);  // an outputter waits
  }
}

bool Transputer::ChannelReady(std::uint32_t channel) {
  const std::uint32_t wdesc = wptr_ | static_cast<std::uint32_t>(pri_);
  const std::uint32_t word = memory_.Word(channel);
  if (word == wdesc) memory_.SetWord(channel, kNotProcess);
  if (IsHard(channel)) {
    if (IsEvent(channel)) return false;
    Link& link = links_[static_cast<std::size_t>(LinkOf(channel))];
    if (link.alt_wdesc == wdesc) link.alt_wdesc = kNotProcess;
    return link.held;
  }
  return word != kNotProcess && word != wdesc;
}

void Transputer::ResetChannel(std::uint32_t channel) {
  if (!IsHard(channel) || IsEvent(channel)) return;
  Link& link = links_[static_cast<std::size_t>(LinkOf(channel))];
  if (channel - kMostNeg < kLinkInChannel0 - kMostNeg) {
    link.out_busy = false;
    link.out_count = 0;
  } else {
    link.in_busy = false;
    link.in_count = 0;
    link.held = false;
    link.alt_wdesc = kNotProcess;
  }
}

void Transputer::CompleteLinkInput(int index) {
  Link& link = links_[static_cast<std::size_t>(index)];
  link.in_busy = false;
  memory_.SetWord(kLinkInChannel0 + 4u * static_cast<std::uint32_t>(index), kNotProcess);
  Schedule(link.in_wdesc);
}

void Transputer::CompleteLinkOutput(int index) {
  Link& link = links_[static_cast<std::size_t>(index)];
  link.out_busy = false;
  memory_.SetWord(kLinkOutChannel0 + 4u * static_cast<std::uint32_t>(index), kNotProcess);
  Schedule(link.out_wdesc);
}

std::size_t Transputer::LinkInput(int index, const std::uint8_t* bytes, std::size_t count) {
  if (index < 0 || index >= kLinkCount || halted_ || links_frozen_) return 0;
  std::size_t used = 0;
  if (boot_wait_) {
    FeedBoot(index, bytes, count, used);
    if (boot_wait_) return used;
  }
  Link& link = links_[static_cast<std::size_t>(index)];
  while (used < count) {
    if (link.in_busy) {
      const auto chunk = static_cast<std::uint32_t>(std::min<std::size_t>(count - used, link.in_count));
      memory_.Write(link.in_pointer, bytes + used, chunk);
      link.in_pointer += chunk;
      link.in_count -= chunk;
      used += chunk;
      if (link.in_count == 0) CompleteLinkInput(index);
    } else if (!link.held) {
      link.held = true;
      link.held_byte = bytes[used++];
      if (link.alt_wdesc != kNotProcess) ReadyAlt(link.alt_wdesc);
    } else {
      break;  // unacknowledged until a process inputs
    }
  }
  return used;
}

std::size_t Transputer::LinkOutput(int index, std::uint8_t* bytes, std::size_t capacity) {
  if (index < 0 || index >= kLinkCount) return 0;
  Link& link = links_[static_cast<std::size_t>(index)];
  std::size_t done = 0;
  while (done < capacity && link.reply_sent < link.reply_size) bytes[done++] = link.reply[link.reply_sent++];
  while (done < capacity && link.out_busy) {
    const auto chunk = static_cast<std::uint32_t>(std::min<std::size_t>(capacity - done, link.out_count));
    memory_.Read(link.out_pointer, bytes + done, chunk);
    link.out_pointer += chunk;
    link.out_count -= chunk;
    done += chunk;
    if (link.out_count == 0) CompleteLinkOutput(index);
  }
  return done;
}

bool Transputer::LinkOutputWaiting(int index) const {
  if (index < 0 || index >= kLinkCount) return false;
  const Link& link = links_[static_cast<std::size_t>(index)];
  return link.reply_sent < link.reply_size || link.out_busy;
}

void Transputer::FeedBoot(int index, const std::uint8_t* bytes, std::size_t count, std::size_t& used) {
  Link& link = links_[static_cast<std::size_t>(index)];
  using Step = Boot::Step;
  while (used < count && boot_wait_) {
    // One message at a time: another link's bytes wait until it ends, and a
    // peek's answer must have left before the next message.
    if ((boot_.link >= 0 && boot_.link != index) || link.reply_sent < link.reply_size) return;
    if (boot_.step == Step::kCode) {
      const auto chunk = static_cast<std::uint32_t>(std::min<std::size_t>(count - used, boot_.remaining));
      memory_.Write(boot_.address, bytes + used, chunk);
      boot_.address += chunk;
      boot_.remaining -= chunk;
      used += chunk;
      if (boot_.remaining > 0) continue;
      // The registers the boot code starts with: A and B hand over the
      // process that ran before reset, C names the link booted from.
      const std::uint32_t old_iptr = iptr_, old_wdesc = wptr_ | static_cast<std::uint32_t>(pri_);
      boot_wait_ = false;
      StartProcess(mem_start_, (mem_start_ + boot_.count + 3) & ~3u, 1);
      a_ = old_iptr;
      b_ = old_wdesc;
      c_ = kLinkInChannel0 + 4u * static_cast<std::uint32_t>(index);
      boot_ = Boot{};
      return;
    }
    const std::uint8_t byte = bytes[used++];
    switch (boot_.step) {
      case Step::kCommand:
        boot_.link = index;
        if (byte == 0) {
          boot_.step = Step::kPokeAddress;
        } else if (byte == 1) {
          boot_.step = Step::kPeekAddress;
        } else {
          boot_.step = Step::kCode;
          boot_.remaining = boot_.count = byte;
          boot_.address = mem_start_;
        }
        break;
      case Step::kPokeAddress:
      case Step::kPeekAddress:
      case Step::kPokeValue: {
        std::uint32_t& field = boot_.step == Step::kPokeValue ? boot_.value : boot_.address;
        field |= static_cast<std::uint32_t>(byte) << boot_.shift;
        boot_.shift += 8;
        if (boot_.shift < 32) break;
        boot_.shift = 0;
        if (boot_.step == Step::kPokeAddress) {
          boot_.step = Step::kPokeValue;
          break;
        }
        if (boot_.step == Step::kPokeValue) {
          memory_.SetWord(boot_.address, boot_.value);
        } else {
          const std::uint32_t word = memory_.Word(boot_.address);
          for (int i = 0; i < 4; ++i) link.reply[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(word >> (8 * i));
          link.reply_size = 4;
          link.reply_sent = 0;
        }
        boot_ = Boot{};
        break;
      }
      case Step::kCode: break;
    }
  }
}

}  // namespace t800
