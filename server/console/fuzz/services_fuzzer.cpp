// Arbitrary key streams and service calls: the services must stay inside the
// caller's buffers and the console's line state whatever the user types.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "server/console/console_services.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Each pumped message delivers the next input byte as a key; when the input
// runs out the task ends, which ends every wait.
class InputPump : public console::MessagePump {
 public:
  InputPump(console::Console& console, server::TaskState& task, const std::uint8_t* data, std::size_t size)
      : console_(console), task_(task), data_(data), size_(size) {}

  console::PumpResult PumpOne() override {
    if (at_ == size_) {
      task_.value = server::kNoTask;
      return {};
    }
    const std::uint8_t byte = data_[at_++];
    if (byte >= 0xF0) {
      console_.keyboard.OnKeyDown(static_cast<std::uint8_t>(0x70 + (byte & 0x0F)));  // F keys
    } else if (byte == 0xEF) {
      return {true, 1};
    } else {
      console_.keyboard.OnChar(byte);
    }
    return {};
  }
  void RepostQuit(int) override {}

  std::size_t at_ = 0;

 private:
  console::Console& console_;
  server::TaskState& task_;
  const std::uint8_t* data_;
  std::size_t size_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  console::NullSink sink;
  server::TaskState task{server::kTaskRunning};
  console::Console console{sink, task};
  // The first byte picks the calls, the rest is typed.
  const std::uint8_t plan = data[0];
  InputPump pump{console, task, data + 1, size - 1};
  console::ConsoleServices services{console, pump};
  for (int call = 0; call < 64 && task.active() && !services.leaving(); ++call) {
    switch ((plan >> (call % 4 * 2)) & 3) {
      case 0: {
        std::array<char, 80 + 16> line;
        line.fill('#');
        const std::int32_t n = services.Gets(line.data());
        Check(n >= 0 && n <= 79 && line[static_cast<std::size_t>(n)] == '\0');
        for (std::size_t i = 80; i < line.size(); ++i) Check(line[i] == '#');
        break;
      }
      case 1: {
        std::array<std::uint8_t, 7> piece;
        const std::int32_t n = services.Stread(piece.data(), 7);
        Check(n >= 0 && n <= 7);
        Check(console.line.length >= 0 && console.line.length <= 80);
        Check(console.line.length == 0 || (console.line.used >= 0 && console.line.used < console.line.length));
        break;
      }
      case 2: {
        const std::int32_t key = services.Getch();
        Check(key >= -128 && key <= 127);
        break;
      }
      default:
        Check(services.Kbhit() >= -128 && services.Kbhit() <= 256);
        break;
    }
    Check(console.model.cursor_col() >= 0 && console.model.cursor_col() < console::kColumns);
    Check(console.model.cursor_row() >= 0 && console.model.cursor_row() < console::kRows);
  }
  return 0;
}
