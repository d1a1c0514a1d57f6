// One request at a time against the request handlers, with fakes behind them.
#pragma once

#include <initializer_list>
#include <string>

#include "iserver/core/requests.h"
#include "iserver/core/tests/fakes.h"

namespace iserver::testing {

// Expected reply bytes, written as the note writes them.
inline Bytes B(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
  return out;
}
inline Bytes I16(int v) { return B({v & 0xFF, (v >> 8) & 0xFF}); }
inline Bytes I32(std::int32_t v) {
  const auto u = static_cast<std::uint32_t>(v);
  return B({static_cast<int>(u & 0xFF), static_cast<int>(u >> 8 & 0xFF), static_cast<int>(u >> 16 & 0xFF),
            static_cast<int>(u >> 24)});
}
inline Bytes S(const std::string& text) {
  Bytes out = I16(static_cast<int>(text.size()));
  out.insert(out.end(), text.begin(), text.end());
  return out;
}
inline Bytes operator+(Bytes a, const Bytes& b) {
  // Byte by byte: GCC's bounds warnings misread a ranged insert here.
  for (std::uint8_t byte : b) a.push_back(byte);
  return a;
}

struct Harness {
  MemoryHost host;
  ScriptedConsole console;
  StreamTable streams;
  SessionOptions options;
  RequestContext context{host, console, streams, options};
  RequestOutcome last;

  // The reply payload before padding.
  Bytes Ask(const Request& request) {
    const Bytes frame = request.Frame();
    ReplyWriter reply;
    last = HandleRequest(std::span(frame).subspan(2), context, reply);
    const auto bytes = reply.Frame().subspan(2, reply.payload_length());
    return {bytes.begin(), bytes.end()};
  }
};

// One exchange of a table: the request and the reply it must get.
struct Exchange {
  Request request;
  Bytes reply;
};

}  // namespace iserver::testing
