// Tags 40 to 42: the command line, the core dump, the server's identity.
#include <algorithm>
#include <string>

#include "iserver/core/requests.h"

namespace iserver {

std::optional<RequestOutcome> HandleServerRequest(Tag tag, RequestReader& in, RequestContext& c,
                                                  ReplyWriter& reply) {
  switch (tag) {
    case Tag::kCommandLine: {
      const std::uint8_t all = in.Byte();
      if (!in.ok()) return RequestOutcome{RequestOutcome::Kind::kMalformed, 0};
      std::string line = all ? c.options.full_line : c.options.program_line;
      line.resize(std::min<std::size_t>(line.size(), kUsualReplyPayload - 3));
      reply = ReplyWriter(result::kOk);
      reply.Slice(line);
      return RequestOutcome{};
    }
    case Tag::kCore:
      // The board is never analysed, so there is no memory image to give.
      reply = ReplyWriter(result::kFailed);
      return RequestOutcome{};
    case Tag::kId: {
      const ServerIdentity& id = c.options.identity;
      reply = ReplyWriter(result::kOk);
      reply.Byte(id.version).Byte(id.host).Byte(id.os).Byte(id.board);
      return RequestOutcome{};
    }
    default: return std::nullopt;
  }
}

}  // namespace iserver
