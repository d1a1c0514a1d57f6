// The protocol library's four entry points, as the server calls them.
#pragma once

#include <cstdint>

#include "boards/include/link_interface.h"

namespace server {

using SetupServerFn = std::int32_t(LINK_API*)(void* board_module);
using CallServerFn = std::int32_t(LINK_API*)(std::int32_t link_handle, const char* boot_file,
                                             const char* parameters);
using TerminateServerFn = std::int32_t(LINK_API*)();
using SuspendServerFn = std::int32_t(LINK_API*)();

}  // namespace server
