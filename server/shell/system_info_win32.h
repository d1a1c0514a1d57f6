// Local time and free address space for the status bar, from the system.
#pragma once

#include "server/core/user_interface.h"

namespace server {

class Win32SystemInfo : public SystemInfo {
 public:
  LocalTime Now() override;
  std::uint64_t AvailableVirtual() override;
};

}  // namespace server
