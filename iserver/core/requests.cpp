#include "iserver/core/requests.h"

namespace iserver {

std::int32_t HostExitCode(std::int32_t status) {
  if (status == kExitSuccess) return 0;
  if (status == kExitFailure) return 1;
  return status;
}

RequestOutcome HandleRequest(std::span<const std::uint8_t> payload, RequestContext& context, ReplyWriter& reply) {
  RequestReader in(payload);
  const auto tag = static_cast<Tag>(payload.empty() ? 0 : payload[0]);
  for (auto family : {HandleFileRequest, HandleHostRequest, HandleServerRequest}) {
    if (auto outcome = family(tag, in, context, reply)) return *outcome;
  }
  // Never drop a request: the program waits for an answer to every one.
  reply = ReplyWriter(result::kNotImplemented);
  return {};
}

}  // namespace iserver
