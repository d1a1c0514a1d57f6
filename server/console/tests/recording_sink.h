// A console sink that records every call, and a message pump that plays a
// script: each pumped message is one step run by the test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "server/console/console_services.h"
#include "server/console/console_sink.h"

namespace console::testing {

class RecordingSink : public ConsoleSink {
 public:
  std::vector<std::string> log;

  void DrawCells(int row, int col, const char* cells, int count) override {
    log.push_back("draw " + std::to_string(row) + "," + std::to_string(col) + " '" +
                  std::string(cells, static_cast<std::size_t>(count)) + "'");
  }
  void InvalidateAll() override { log.push_back("invalidate"); }
  void PlaceCaret(int col, int row) override {
    log.push_back("caret " + std::to_string(col) + "," + std::to_string(row));
  }
  void HideCaret() override { log.push_back("hide"); }
  void ShowCaret() override { log.push_back("show"); }
  void Beep() override { log.push_back("beep"); }

  int Count(const std::string& entry) const {
    int n = 0;
    for (const auto& line : log) n += line == entry;
    return n;
  }
};

class ScriptedPump : public MessagePump {
 public:
  std::deque<std::function<PumpResult()>> steps;
  std::vector<int> reposted;
  int pumped = 0;

  // A step that delivers a message and runs what its handler would do.
  void Then(std::function<void()> handler) {
    steps.push_back([handler] {
      handler();
      return PumpResult{};
    });
  }
  void ThenQuit(int code) {
    steps.push_back([code] { return PumpResult{true, code}; });
  }

  PumpResult PumpOne() override {
    ++pumped;
    if (steps.empty()) {
      ADD_FAILURE() << "the service waited for a message the test never sends";
      return PumpResult{true, -99};
    }
    auto step = std::move(steps.front());
    steps.pop_front();
    return step();
  }
  void RepostQuit(int exit_code) override { reposted.push_back(exit_code); }
};

}  // namespace console::testing
