#include "iserver/core/session.h"

#include <algorithm>

#include "iserver/core/requests.h"

namespace iserver {
namespace {

constexpr std::size_t kMaxBootFile = 64u << 20;  // far above any transputer's memory

// Host exit codes of the classic server for its own failures.
constexpr std::int32_t kAbortedCode = 2;
constexpr std::int32_t kErrorFlagCode = 3;
constexpr std::int32_t kFailureCode = 4;

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(HostSystem& host, const std::string& name) {
  if (name.empty() || name.find('\0') != std::string::npos) return std::nullopt;
  auto file = host.Open(name, FileType::kBinary, FileMode::kInput);
  if (!file) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  std::uint8_t chunk[kBootChunk];
  while (const std::size_t got = file->Read(chunk, sizeof chunk)) {
    if (bytes.size() + got > kMaxBootFile) return std::nullopt;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  if (file->Error()) return std::nullopt;
  return bytes;
}

Session::Session(LinkPort& link, HostSystem& host, ConsoleIo& console, SessionOptions options,
                 std::vector<std::uint8_t> boot_image)
    : link_(link), host_(host), console_(console), options_(std::move(options)), boot_image_(std::move(boot_image)) {}

void Session::End() {
  streams_.CloseAll();
  if (ending_ == Ending::kNone) {
    ending_ = Ending::kAbandoned;
    exit_code_ = kAbortedCode;
  }
}

void Session::Say(const std::string& line) {
  console_.Write(ConsoleStream::kError,
                 std::span(reinterpret_cast<const std::uint8_t*>(line.data()), line.size()));
}

Session::Progress Session::Finish(Ending ending, std::int32_t exit_code, const std::string& message) {
  if (!message.empty()) Say(message + "\n");
  ending_ = ending;
  exit_code_ = exit_code;
  streams_.CloseAll();
  return Progress::kEnded;
}

std::size_t Session::WriteAll(std::span<const std::uint8_t> bytes) {
  std::size_t taken = 0;
  while (taken < bytes.size()) {
    const std::size_t piece = std::min<std::size_t>(bytes.size() - taken, 0x7FFFFFFF);
    const std::int32_t n = link_.Write(bytes.data() + taken, static_cast<std::int32_t>(piece));
    if (n <= 0) break;
    taken += std::min(static_cast<std::size_t>(n), piece);
  }
  return taken;
}

Session::Progress Session::Step() {
  if (ending_ != Ending::kNone) return Progress::kEnded;
  return booting() ? BootStep() : ServeStep();
}

Session::Progress Session::BootStep() {
  const std::string total = std::to_string(boot_image_.size());
  if (!boot_started_) {
    boot_started_ = true;
    if (options_.reset_before_boot && !link_.Reset()) {
      return Finish(Ending::kBootFailed, kFailureCode, "Boot failed: the board could not be reset");
    }
    if (options_.verbose) Say("Booting root transputer with " + options_.boot_file + " (" + total + " bytes)\n");
    return Progress::kWorking;
  }
  const std::size_t piece = std::min(kBootChunk, boot_image_.size() - boot_sent_);
  const std::size_t taken = WriteAll(std::span(boot_image_).subspan(boot_sent_, piece));
  boot_sent_ += taken;
  if (taken < piece) {
    return Finish(Ending::kBootFailed, kFailureCode,
                  "Boot failed: the board took " + std::to_string(boot_sent_) + " of " + total + " bytes of " +
                      options_.boot_file);
  }
  if (options_.verbose) {
    Say("Booting: " + std::to_string(boot_sent_) + " of " + total + " bytes sent\n");
    if (!booting()) Say("Boot complete, serving\n");
  }
  return Progress::kWorking;
}

Session::Progress Session::ServeStep() {
  if (frame_.AtBoundary() && options_.check_error_flag && link_.ErrorRaised()) {
    return Finish(Ending::kErrorFlag, kErrorFlagCode, "Error flag raised by transputer");
  }
  const std::span<std::uint8_t> wanted = frame_.Wanted();
  const std::int32_t got = link_.Read(wanted.data(), static_cast<std::int32_t>(wanted.size()));
  if (got < 0) return Finish(Ending::kLinkFailed, kFailureCode, "The link to the board failed");
  if (got == 0) return Progress::kWaiting;
  switch (frame_.Received(static_cast<std::size_t>(got))) {
    case FrameAssembler::State::kNeedMore: return Progress::kWorking;
    case FrameAssembler::State::kBadLength:
      return Finish(Ending::kProtocolError, kFailureCode,
                    "Protocol error: a request of " + std::to_string(frame_.declared_length()) +
                        " bytes (requests are 6 to 1022 bytes)");
    case FrameAssembler::State::kComplete: break;
  }
  RequestContext context{host_, console_, streams_, options_};
  const std::span<const std::uint8_t> payload = frame_.payload();
  const RequestOutcome outcome = HandleRequest(payload, context, reply_);
  using Kind = RequestOutcome::Kind;
  if (outcome.kind == Kind::kAbandoned) return Finish(Ending::kAbandoned, kAbortedCode, "");
  if (outcome.kind == Kind::kMalformed) {
    return Finish(Ending::kProtocolError, kFailureCode,
                  "Protocol error: request " + std::to_string(payload[0]) + " has fields past its " +
                      std::to_string(payload.size()) + " bytes");
  }
  const std::span<const std::uint8_t> frame = reply_.Frame();
  const std::size_t taken = WriteAll(frame);
  frame_.Clear();
  if (taken < frame.size()) {
    return Finish(Ending::kLinkFailed, kFailureCode,
                  "The program stopped reading the link: it took " + std::to_string(taken) + " of " +
                      std::to_string(frame.size()) + " reply bytes");
  }
  if (outcome.kind == Kind::kExit) {
    const std::int32_t code = HostExitCode(outcome.status);
    return Finish(Ending::kExit, code,
                  code == 0 ? std::string() : "The program ended with failure status " + std::to_string(code));
  }
  return Progress::kWorking;
}

}  // namespace iserver
