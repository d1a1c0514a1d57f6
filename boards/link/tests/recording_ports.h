// A fake port space that records every access in order and answers reads from
// per-port scripts (the last value of a script repeats).
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <vector>

#include "boards/link/port_access.h"

namespace board::testing {

struct Access {
  enum Kind { kIn, kOut } kind;
  std::uint16_t port;
  std::uint8_t value;
  bool operator==(const Access&) const = default;
};

inline Access In(std::uint16_t port, std::uint8_t value) { return {Access::kIn, port, value}; }
inline Access Out(std::uint16_t port, std::uint8_t value) { return {Access::kOut, port, value}; }

class RecordingPorts final : public PortAccess {
 public:
  void Answer(std::uint16_t port, std::vector<std::uint8_t> values) {
    script_[port] = std::deque<std::uint8_t>(values.begin(), values.end());
  }
  std::uint8_t In(std::uint16_t port) override {
    std::uint8_t value = 0;
    auto it = script_.find(port);
    if (it != script_.end() && !it->second.empty()) {
      value = it->second.front();
      if (it->second.size() > 1) it->second.pop_front();
    }
    log.push_back({Access::kIn, port, value});
    return value;
  }
  void Out(std::uint16_t port, std::uint8_t value) override { log.push_back({Access::kOut, port, value}); }
  void Flush() override { flushed_at.push_back(log.size()); }

  std::size_t CountIn(std::uint16_t port) const {
    std::size_t n = 0;
    for (const Access& a : log) n += (a.kind == Access::kIn && a.port == port);
    return n;
  }

  std::vector<Access> log;
  std::vector<std::size_t> flushed_at;  // the log's length at each Flush

 private:
  std::map<std::uint16_t, std::deque<std::uint8_t>> script_;
};

}  // namespace board::testing
