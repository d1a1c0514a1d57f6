// The host's files, environment, clock and command processor through the C
// library: the same code serves a Windows DLL (the C runtime's files) and a
// POSIX terminal host.
#pragma once

#include "iserver/core/host_system.h"

namespace iserver {

class StdioHost : public HostSystem {
 public:
  std::unique_ptr<HostFile> Open(const std::string& name, FileType type, FileMode mode) override;
  bool Remove(const std::string& name) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Exists(const std::string& name) override;
  std::optional<std::string> Environment(const std::string& name) override;
  HostTime Now() override;
  std::optional<std::int32_t> RunCommand(const std::string& command) override;
};

}  // namespace iserver
