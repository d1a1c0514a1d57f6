// One booted program: streams its boot file down the link, then answers its
// requests until it exits. Driven step by step by a host, which may stop
// between any two steps (to suspend, to keep its user interface alive) and
// carry on later: a request received in part stays received.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "iserver/core/console_io.h"
#include "iserver/core/frame.h"
#include "iserver/core/host_system.h"
#include "iserver/core/link_port.h"
#include "iserver/core/options.h"
#include "iserver/core/streams.h"

namespace iserver {

// Boot files are streamed in pieces of this size.
constexpr std::size_t kBootChunk = 8192;

// A whole file read through the host (a boot file); nullopt when it cannot be.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(HostSystem& host, const std::string& name);

class Session {
 public:
  enum class Progress {
    kWorking,  // did something; call Step again
    kWaiting,  // the link was quiet for the port's short wait
    kEnded,    // see ending(); further steps do nothing
  };
  enum class Ending { kNone, kExit, kBootFailed, kLinkFailed, kProtocolError, kErrorFlag, kAbandoned };

  Session(LinkPort& link, HostSystem& host, ConsoleIo& console, SessionOptions options,
          std::vector<std::uint8_t> boot_image);
  ~Session() { End(); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Progress Step();
  // Ends the task at once (terminate): the program's files are closed.
  void End();

  Ending ending() const { return ending_; }
  // The code a command-line host exits with: the program's EXIT status
  // mapped, 3 for the error flag, 2 when abandoned, 4 for other failures.
  std::int32_t host_exit_code() const { return exit_code_; }
  bool booting() const { return boot_sent_ < boot_image_.size() || !boot_started_; }
  bool AtFrameBoundary() const { return !booting() && frame_.AtBoundary(); }
  const StreamTable& streams() const { return streams_; }

 private:
  Progress BootStep();
  Progress ServeStep();
  Progress Finish(Ending ending, std::int32_t exit_code, const std::string& message);
  // Sends all bytes; the count the board took.
  std::size_t WriteAll(std::span<const std::uint8_t> bytes);
  void Say(const std::string& line);

  LinkPort& link_;
  HostSystem& host_;
  ConsoleIo& console_;
  SessionOptions options_;
  std::vector<std::uint8_t> boot_image_;
  std::size_t boot_sent_ = 0;
  bool boot_started_ = false;
  FrameAssembler frame_;
  ReplyWriter reply_;
  StreamTable streams_;
  Ending ending_ = Ending::kNone;
  std::int32_t exit_code_ = 0;
};

}  // namespace iserver
