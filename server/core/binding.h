// Binding one protocol library to one board library at run time: load both,
// resolve their entry points, probe the link, introduce the board to the
// protocol library.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "boards/include/link_interface.h"
#include "server/core/configuration.h"
#include "server/core/module_loader.h"
#include "server/core/protocol_interface.h"
#include "server/core/user_interface.h"

namespace server {

// The seven entry points the server itself calls.
struct BoundEntries {
  SetupServerFn setup_server = nullptr;
  CallServerFn call_server = nullptr;
  TerminateServerFn terminate_server = nullptr;
  SuspendServerFn suspend_server = nullptr;
  link_interface::OpenLinkFn open_link = nullptr;
  link_interface::ResetLinkFn reset_link = nullptr;
  link_interface::CloseLinkFn close_link = nullptr;
};

// OpenLink on the board's link name with its timeout read as a number.
inline std::int32_t OpenBoardLink(const BoundEntries& entries, const BoardEntry& board) {
  return entries.open_link(board.link_name.c_str(), LinkTimeoutValue(board.link_timeout.c_str()));
}

using MessageBuffer = std::array<char, 128>;

// "Protocol and/or board DLL not found ..." with the last-error code.
void FormatBindFailure(MessageBuffer& buffer, std::uint32_t last_error);
// Where a fault inside a loaded library's code was raised.
enum class FaultSite { kBinding, kProtocolLibrary, kBoardLibrary };

// "Exception occured when loading DLLs ..." (binding) or "... in the protocol
// DLL ..." / "... in the board DLL ..." with the exception code.
void FormatFaultMessage(MessageBuffer& buffer, FaultSite site, std::uint32_t exception_code);

class LibraryBinding {
 public:
  explicit LibraryBinding(ModuleLoader& loader) : loader_(loader) {}
  ~LibraryBinding() { ReleaseLibraries(); }
  LibraryBinding(const LibraryBinding&) = delete;
  LibraryBinding& operator=(const LibraryBinding&) = delete;

  // Releases the previous binding and binds the current selection anew; the
  // result is also kept as valid(). Libraries loaded before a failing step
  // stay loaded until the next binding or ReleaseLibraries.
  bool BindLibraries(const Configuration& config);

  // Protocol library first, then the board library; entries are forgotten.
  void ReleaseLibraries();

  bool valid() const { return valid_; }
  void set_valid(bool valid) { valid_ = valid; }
  const BoundEntries& entries() const { return entries_; }
  ModuleHandle protocol_module() const { return protocol_module_; }
  ModuleHandle board_module() const { return board_module_; }

  // Formats the failure message with the loader's current last-error code.
  const char* FailureMessage();

 private:
  bool Bind(const Configuration& config);

  ModuleLoader& loader_;
  ModuleHandle protocol_module_ = 0;
  ModuleHandle board_module_ = 0;
  BoundEntries entries_;
  bool valid_ = false;
  MessageBuffer message_{};
};

// Runs a call into the loaded libraries (binding, CallServer, a board
// function) so that a fault inside their code is reported with its site and
// ends the process cleanly; the Win32 shell builds it on a vectored handler.
class FaultGuard {
 public:
  virtual ~FaultGuard() = default;
  virtual bool Run(FaultSite site, const std::function<bool()>& call) = 0;

  // The same for a call with a result of its own.
  template <typename Call>
  auto Guarded(FaultSite site, Call&& call) -> decltype(call()) {
    decltype(call()) result{};
    Run(site, [&] {
      result = call();
      return true;
    });
    return result;
  }
};

// Start-up: defaults (LINK from link_env), binding under the guard, and the
// failure box owned by the main window with caption "Error...".
bool LoadDefaults(Configuration& config, LibraryBinding& binding, const char* link_env, FaultGuard& guard,
                  UserInterface& ui);

// Re-binding after the Run-time dialog's OK: the box is the dialog's, caption "Error".
bool Rebind(const Configuration& config, LibraryBinding& binding, FaultGuard& guard, UserInterface& ui);

}  // namespace server
