#include "server/core/binding.h"

#include <cstdio>

namespace server {

void FormatBindFailure(MessageBuffer& buffer, std::uint32_t last_error) {
  std::snprintf(buffer.data(), buffer.size(),
                "Protocol and/or board DLL not found or not valid (%08X). "
                "\"Run\" command will not be available.",
                static_cast<unsigned>(last_error));
}

void FormatFaultMessage(MessageBuffer& buffer, FaultSite site, std::uint32_t exception_code) {
  const auto code = static_cast<unsigned>(exception_code);
  switch (site) {
    case FaultSite::kBinding:
      std::snprintf(buffer.data(), buffer.size(), "Exception occured when loading DLLs, code: %08X", code);
      break;
    case FaultSite::kProtocolLibrary:
    case FaultSite::kBoardLibrary:
      std::snprintf(buffer.data(), buffer.size(), "Exception occured in the %s DLL, code: %08X. Tessera will close.",
                    site == FaultSite::kProtocolLibrary ? "protocol" : "board", code);
      break;
  }
}

namespace {

template <typename Fn>
Fn Cast(EntryPoint entry) {
  return reinterpret_cast<Fn>(entry);
}

}  // namespace

void LibraryBinding::ReleaseLibraries() {
  if (protocol_module_ != 0) loader_.Release(protocol_module_);
  if (board_module_ != 0) loader_.Release(board_module_);
  protocol_module_ = 0;
  board_module_ = 0;
  entries_ = {};
  valid_ = false;
}

bool LibraryBinding::BindLibraries(const Configuration& config) {
  valid_ = Bind(config);
  return valid_;
}

bool LibraryBinding::Bind(const Configuration& config) {
  ReleaseLibraries();

  protocol_module_ = loader_.Load(config.protocol.library.c_str());
  if (protocol_module_ == 0) return false;
  // All four are resolved before any is checked.
  entries_.setup_server = Cast<SetupServerFn>(loader_.Resolve(protocol_module_, "SetupServer"));
  entries_.call_server = Cast<CallServerFn>(loader_.Resolve(protocol_module_, "CallServer"));
  entries_.terminate_server = Cast<TerminateServerFn>(loader_.Resolve(protocol_module_, "TerminateServer"));
  entries_.suspend_server = Cast<SuspendServerFn>(loader_.Resolve(protocol_module_, "SuspendServer"));
  if (!entries_.setup_server || !entries_.call_server || !entries_.terminate_server ||
      !entries_.suspend_server) {
    return false;
  }

  board_module_ = loader_.Load(config.board.library.c_str());
  if (board_module_ == 0) return false;
  entries_.open_link = Cast<link_interface::OpenLinkFn>(loader_.Resolve(board_module_, "OpenLink"));
  entries_.reset_link = Cast<link_interface::ResetLinkFn>(loader_.Resolve(board_module_, "ResetLink"));
  entries_.close_link = Cast<link_interface::CloseLinkFn>(loader_.Resolve(board_module_, "CloseLink"));
  if (!entries_.open_link || !entries_.reset_link || !entries_.close_link) return false;

  const std::int32_t probe = OpenBoardLink(entries_, config.board);
  if (probe < 0) return false;
  entries_.close_link(probe);

  return entries_.setup_server(reinterpret_cast<void*>(board_module_)) != 0;
}

const char* LibraryBinding::FailureMessage() {
  FormatBindFailure(message_, loader_.LastError());
  return message_.data();
}

namespace {

bool GuardedBind(const Configuration& config, LibraryBinding& binding, FaultGuard& guard, UserInterface& ui,
                 Owner owner, const char* caption) {
  const bool bound = guard.Run(FaultSite::kBinding, [&] { return binding.BindLibraries(config); });
  if (!bound) ui.ShowMessage(owner, binding.FailureMessage(), caption, Buttons::kOk, Icon::kExclamation);
  return bound;
}

}  // namespace

bool LoadDefaults(Configuration& config, LibraryBinding& binding, const char* link_env, FaultGuard& guard,
                  UserInterface& ui) {
  FillDefaults(config, link_env);
  return GuardedBind(config, binding, guard, ui, Owner::kMainWindow, "Error...");
}

bool Rebind(const Configuration& config, LibraryBinding& binding, FaultGuard& guard, UserInterface& ui) {
  return GuardedBind(config, binding, guard, ui, Owner::kDialog, "Error");
}

}  // namespace server
