// Chooses, on the first port access, how link.dll reaches the adapter: a
// simulated C012 when TESSEL_SIMULATED_C012 names a peer, else real ports.
#pragma once

#include "boards/link/port_access.h"

namespace board {

PortAccess& SelectedPorts();

}  // namespace board
