// t800emu --listen: the emulated board as link.dll's simulated-adapter peer.
#pragma once

#include <cstdint>
#include <string>

#include "t800/core/transputer.h"

namespace t800emu {

// Serves one adapter connection after another on host:port for ever;
// returns only when it cannot listen (the message is printed).
int ServeBoard(t800::Transputer& cpu, const std::string& host, std::uint16_t port);

}  // namespace t800emu
