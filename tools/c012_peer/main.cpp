// c012_peer: the far end of a simulated C012 link adapter, for people and
// tests without a board. See --help.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "tools/c012_peer/peer_server.h"
#include "tools/c012_peer/peer_session.h"

namespace {

void Usage() {
  std::puts(
      "usage: c012_peer [--port N] [--echo] [--script FILE] [--record FILE] [--once]\n"
      "  Listens on 127.0.0.1:N (default 7012) for link.dll's simulated adapter\n"
      "  (TESSEL_SIMULATED_C012=127.0.0.1:N). --echo sends every byte back;\n"
      "  --script answers from FILE (expect N, send HH.., say TEXT, error 0|1,\n"
      "  await-reset); --record writes what arrived, one event a line, to FILE\n"
      "  after each connection; --once stops after the first connection.");
}

}  // namespace

int main(int argc, char** argv) {
  long port = 7012;
  bool echo = false, once = false;
  const char* script_file = nullptr;
  const char* record_file = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--port" && has_value) port = std::strtol(argv[++i], nullptr, 10);
    else if (arg == "--echo") echo = true;
    else if (arg == "--once") once = true;
    else if (arg == "--script" && has_value) script_file = argv[++i];
    else if (arg == "--record" && has_value) record_file = argv[++i];
    else { Usage(); return arg == "--help" ? 0 : 2; }
  }
  std::vector<peer::ScriptStep> steps;
  if (script_file) {
    std::ifstream in(script_file);
    if (!in) { std::fprintf(stderr, "c012_peer: cannot open %s\n", script_file); return 2; }
    std::stringstream text;
    text << in.rdbuf();
    peer::ParsedScript parsed = peer::ParseScript(text.str());
    if (!parsed.error.empty()) { std::fprintf(stderr, "c012_peer: %s\n", parsed.error.c_str()); return 2; }
    steps = std::move(parsed.steps);
  }
  if (port < 0 || port > 65535) { Usage(); return 2; }
  peer::PeerServer server;
  if (!server.Listen(static_cast<std::uint16_t>(port))) {
    std::fprintf(stderr, "c012_peer: cannot listen on port %ld\n", port);
    return 1;
  }
  std::printf("c012_peer: listening on 127.0.0.1:%u\n", server.port());
  std::fflush(stdout);
  do {
    peer::PeerSession session(steps, echo);
    server.ServeOne(session);
    std::printf("c012_peer: connection closed: %zu bytes, %u resets\n", session.data().size(), session.resets());
    std::fflush(stdout);
    if (record_file) std::ofstream(record_file) << session.transcript();
  } while (!once);
  return 0;
}
