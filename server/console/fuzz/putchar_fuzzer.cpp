// Arbitrary output byte streams must keep the cursor, every drawn cell and
// the escape buffer inside their bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "server/console/console_model.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

class BoundsSink : public console::ConsoleSink {
 public:
  void DrawCells(int row, int col, const char* cells, int count) override {
    Check(row >= 0 && row < console::kRows && col >= 0 && count >= 1 && col + count <= console::kColumns &&
          cells != nullptr);
    for (int i = 0; i < count; ++i) Check(cells[i] >= 32 && cells[i] <= 127);
  }
  void InvalidateAll() override {}
  void PlaceCaret(int col, int row) override {
    Check(col >= 0 && col < console::kColumns && row >= 0 && row < console::kRows);
  }
  void HideCaret() override {}
  void ShowCaret() override {}
  void Beep() override {}
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  BoundsSink sink;
  console::ConsoleModel model(sink);
  for (std::size_t i = 0; i < size; ++i) {
    model.PutChar(data[i]);
    Check(model.cursor_col() >= 0 && model.cursor_col() < console::kColumns);
    Check(model.cursor_row() >= 0 && model.cursor_row() < console::kRows);
    Check(model.escape().length() >= 0 && model.escape().length() < console::EscapeParser::kSize);
  }
  for (int r = 0; r < console::kRows; ++r) {
    for (char c : model.Row(r)) Check(c >= 32 && c <= 127);
  }
  return 0;
}
