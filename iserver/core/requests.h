// The host protocol's requests: tags, result codes, and one handler per
// family (files, host, server). Each reads its request's fields, acts on the
// host or the console, and fills in the reply.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "iserver/core/console_io.h"
#include "iserver/core/frame.h"
#include "iserver/core/host_system.h"
#include "iserver/core/options.h"
#include "iserver/core/streams.h"

namespace iserver {

enum class Tag : std::uint8_t {
  kOpen = 10, kClose, kRead, kWrite, kGets, kPuts, kFlush, kSeek, kTell, kEof, kFerror, kRemove, kRename,
  kGetBlock, kPutBlock, kIsATty,
  kGetKey = 30, kPollKey, kGetEnv, kTime, kSystem, kExit,
  kCommandLine = 40, kCore, kId,
  kFileExists = 80,
};

namespace result {
constexpr std::uint8_t kOk = 0;
constexpr std::uint8_t kNotImplemented = 1;
constexpr std::uint8_t kFailed = 129;  // what Inmos servers send; clients test for 0
}  // namespace result

// EXIT's status values for success and failure.
constexpr std::int32_t kExitSuccess = 999999999;
constexpr std::int32_t kExitFailure = -999999999;
// The host exit code EXIT's status stands for.
std::int32_t HostExitCode(std::int32_t status);

struct RequestContext {
  HostSystem& host;
  ConsoleIo& console;
  StreamTable& streams;
  const SessionOptions& options;
};

// What the session does after a request's reply.
struct RequestOutcome {
  enum class Kind {
    kContinue,   // reply sent, serve on
    kExit,       // reply sent, the program has ended with `status`
    kAbandoned,  // a console wait ended without input: no reply, the task ends
    kMalformed,  // fields ran past the frame: no reply, the task ends
  } kind = Kind::kContinue;
  std::int32_t status = 0;
};

// Answers one request payload; `reply` receives the whole reply.
RequestOutcome HandleRequest(std::span<const std::uint8_t> payload, RequestContext& context, ReplyWriter& reply);

// The families; each returns nullopt for a tag that is not its own.
std::optional<RequestOutcome> HandleFileRequest(Tag tag, RequestReader& in, RequestContext& context,
                                                ReplyWriter& reply);
std::optional<RequestOutcome> HandleHostRequest(Tag tag, RequestReader& in, RequestContext& context,
                                                ReplyWriter& reply);
std::optional<RequestOutcome> HandleServerRequest(Tag tag, RequestReader& in, RequestContext& context,
                                                  ReplyWriter& reply);

}  // namespace iserver
