// Arbitrary byte streams from "the board" into the serve loop, over an
// in-memory link, host and console: nothing may read or write out of bounds,
// and the session must end or keep asking for bytes.
#include <cstddef>
#include <cstdint>

#include "iserver/core/session.h"
#include "iserver/core/tests/fakes.h"

using namespace iserver;
using namespace iserver::testing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  MemoryLink link;
  MemoryHost host;
  ScriptedConsole console;
  host.files["a"] = Bytes(100, 'a');
  host.environment["E"] = "value";
  console.typed = "line one\nline two\n";
  console.keys = "xy";
  link.read_piece = 1 + data[0] % 7;  // requests arrive in pieces of any size
  link.incoming.assign(data + 1, data + size);
  const char* parameters = (data[0] & 0x80) ? "-se -si p" : "p";
  link.error = (data[0] & 0x40) != 0 && size % 3 == 0;
  Session session(link, host, console, ParseParameters("boot", parameters), Bytes(data[0] & 0x0F, 0));
  // Every step takes bytes or ends: bounded by the input.
  for (std::size_t steps = 0; steps < 4 * size + 64; ++steps) {
    if (session.Step() == Session::Progress::kEnded) break;
  }
  if (host.files.size() > StreamTable::kMaxOpenFiles + 2 + size) __builtin_trap();
  return 0;
}
