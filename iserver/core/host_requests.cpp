// Tags 30 to 35: keys, the environment, the clock, the command processor, exit.
#include <string>

#include "iserver/core/requests.h"

namespace iserver {
namespace {

using Kind = RequestOutcome::Kind;

RequestOutcome Key(std::optional<std::uint8_t> key, ReplyWriter& reply) {
  reply = ReplyWriter(key ? result::kOk : result::kFailed);
  if (key) reply.Byte(*key);
  return {};
}

RequestOutcome GetEnv(RequestReader& in, RequestContext& c, ReplyWriter& reply) {
  const std::string name = in.Text();
  if (!in.ok()) return {Kind::kMalformed, 0};
  std::optional<std::string> value;
  if (!name.empty() && name.find('\0') == std::string::npos) value = c.host.Environment(name);
  // A value cut short would mislead the program more than a missing one.
  if (!value || value->size() > kUsualReplyPayload - 3) {
    reply = ReplyWriter(result::kFailed);
    return {};
  }
  reply = ReplyWriter(result::kOk);
  reply.Slice(*value);
  return {};
}

RequestOutcome System(RequestReader& in, RequestContext& c, ReplyWriter& reply) {
  const std::string command = in.Text();
  if (!in.ok()) return {Kind::kMalformed, 0};
  std::optional<std::int32_t> status;
  if (command.find('\0') == std::string::npos) status = c.host.RunCommand(command);
  reply = ReplyWriter(status ? result::kOk : result::kFailed);
  reply.Int32(status.value_or(0));
  return {};
}

}  // namespace

std::optional<RequestOutcome> HandleHostRequest(Tag tag, RequestReader& in, RequestContext& c, ReplyWriter& reply) {
  switch (tag) {
    case Tag::kGetKey: {
      const auto key = c.console.GetKey();
      if (!key && !c.console.InputEnded()) return RequestOutcome{Kind::kAbandoned, 0};
      return Key(key, reply);
    }
    case Tag::kPollKey: return Key(c.console.PollKey(), reply);
    case Tag::kGetEnv: return GetEnv(in, c, reply);
    case Tag::kTime: {
      const HostTime now = c.host.Now();
      reply = ReplyWriter(result::kOk);
      reply.Int32(now.local).Int32(now.utc);
      return RequestOutcome{};
    }
    case Tag::kSystem: return System(in, c, reply);
    case Tag::kExit: {
      const std::int32_t status = in.Int32();
      if (!in.ok()) return RequestOutcome{Kind::kMalformed, 0};
      reply = ReplyWriter(result::kOk);
      return RequestOutcome{Kind::kExit, status};
    }
    default: return std::nullopt;
  }
}

}  // namespace iserver
