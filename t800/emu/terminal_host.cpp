#include "t800/emu/terminal_host.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "iserver/core/options.h"
#include "iserver/core/session.h"
#include "t800/emu/emulated_link.h"

namespace t800emu {

std::optional<std::string> BoardHost::Environment(const std::string& name) {
  std::optional<std::string> value = StdioHost::Environment(name);
  if (!value && name == "IBOARDSIZE") {
    char text[16];
    std::snprintf(text, sizeof text, "#%X", memory_size_);
    value = text;
  }
  return value;
}

std::string JoinParameters(const std::vector<std::string>& words) {
  std::string line;
  for (const std::string& word : words) {
    if (!line.empty()) line += ' ';
    const bool quote = word.empty() || word.find_first_of(" \t") != std::string::npos;
    line += quote ? "\"" + word + "\"" : word;
  }
  return line;
}

int RunProgram(t800::Transputer& cpu, t800::Clock& clock, iserver::ConsoleIo& console, const std::string& file,
               const std::vector<std::string>& parameters) {
  BoardHost host(cpu.memory().size());
  const auto image = iserver::ReadWholeFile(host, file);
  if (!image) {
    std::fprintf(stderr, "t800emu: cannot read %s\n", file.c_str());
    return 4;
  }
  EmulatedLink link(cpu, clock, [](std::uint64_t us) { std::this_thread::sleep_for(std::chrono::microseconds(us)); });
  iserver::SessionOptions options = iserver::ParseParameters(file, JoinParameters(parameters));
  // A board that halted on an error can never answer again, so the host
  // always watches for that; -se makes every Error count, as on a real board.
  link.set_every_error_counts(options.check_error_flag);
  options.check_error_flag = true;
  iserver::Session session(link, host, console, std::move(options), std::move(*image));
  while (session.Step() != iserver::Session::Progress::kEnded) {}
  if (link.stopped() && session.ending() == iserver::Session::Ending::kLinkFailed) {
    std::fprintf(stderr, "t800emu: the program has stopped: every process waits and nothing can wake one\n");
  }
  return session.host_exit_code();
}

}  // namespace t800emu
