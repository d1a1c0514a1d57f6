#include "tools/c012_peer/peer_session.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "boards/link/sim_wire.h"

namespace peer {

namespace wire = board::sim_wire;

ParsedScript ParseScript(std::string_view text) {
  ParsedScript parsed;
  std::istringstream lines{std::string(text)};
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string command;
    if (!(words >> command)) continue;
    ScriptStep step{ScriptStep::Kind::kSend, {}, 0};
    bool ok = true;
    if (command == "expect" || command == "error") {
      step.kind = command == "expect" ? ScriptStep::Kind::kExpect : ScriptStep::Kind::kError;
      long value = -1;
      ok = static_cast<bool>(words >> value) && value >= 0;
      step.count = static_cast<std::uint32_t>(value);
    } else if (command == "send") {
      std::string hex;
      while (ok && words >> hex) {
        char* end = nullptr;
        const unsigned long byte = std::strtoul(hex.c_str(), &end, 16);
        ok = *end == '\0' && byte <= 0xFF;
        step.bytes.push_back(static_cast<std::uint8_t>(byte));
      }
    } else if (command == "say") {
      const auto start = line.find("say") + 4;
      if (start <= line.size()) step.bytes.assign(line.begin() + static_cast<std::ptrdiff_t>(start), line.end());
    } else if (command == "await-reset") {
      step.kind = ScriptStep::Kind::kAwaitReset;
    } else {
      ok = false;
    }
    if (!ok) {
      parsed.error = "line " + std::to_string(number) + ": cannot read \"" + line + "\"";
      parsed.steps.clear();
      return parsed;
    }
    parsed.steps.push_back(std::move(step));
  }
  return parsed;
}

void PeerSession::RunScript(std::vector<std::uint8_t>& out) {
  while (next_step_ < script_.size()) {
    const ScriptStep& step = script_[next_step_];
    switch (step.kind) {
      case ScriptStep::Kind::kExpect:
        if (!step_started_) {
          step_started_ = true;
          step_mark_ = data_.size();
        }
        if (data_.size() - step_mark_ < step.count) return;
        break;
      case ScriptStep::Kind::kAwaitReset:
        if (!step_started_) {
          step_started_ = true;
          step_mark_ = resets_;
        }
        if (resets_ == step_mark_) return;
        break;
      case ScriptStep::Kind::kSend:
        for (std::uint8_t b : step.bytes) out.insert(out.end(), {wire::kData, b});
        break;
      case ScriptStep::Kind::kError:
        out.insert(out.end(), {wire::kError, static_cast<std::uint8_t>(step.count ? 1 : 0)});
        break;
    }
    step_started_ = false;
    ++next_step_;
  }
}

void PeerSession::OnFrame(std::uint8_t tag, std::uint8_t value, std::vector<std::uint8_t>& out) {
  char line[32];
  if (tag == wire::kData) {
    data_.push_back(value);
    if (echo_) out.insert(out.end(), {wire::kData, value});
    std::snprintf(line, sizeof line, "data %02X\n", value);
  } else if (tag == wire::kReset) {
    // A reset is the line going to 1 and back to 0.
    if (reset_line_ && value == 0) ++resets_;
    reset_line_ = value != 0;
    std::snprintf(line, sizeof line, "reset %u\n", value);
  } else if (tag == wire::kAnalyse) {
    std::snprintf(line, sizeof line, "analyse %u\n", value);
  } else {
    std::snprintf(line, sizeof line, "unknown %02X %02X\n", tag, value);
  }
  transcript_ += line;
}

std::vector<std::uint8_t> PeerSession::Start() {
  std::vector<std::uint8_t> out;
  RunScript(out);
  return out;
}

std::vector<std::uint8_t> PeerSession::OnReceive(std::span<const std::uint8_t> bytes) {
  std::vector<std::uint8_t> out;
  for (std::uint8_t byte : bytes) {
    if (pending_tag_ < 0) {
      pending_tag_ = byte;
      continue;
    }
    OnFrame(static_cast<std::uint8_t>(pending_tag_), byte, out);
    pending_tag_ = -1;
    RunScript(out);
  }
  return out;
}

}  // namespace peer
