// What a board library supplies to the shared exports: its one link.
#pragma once

#include "boards/include/link_functions.h"

namespace board {

LinkFunctions& TheLink();

}  // namespace board
