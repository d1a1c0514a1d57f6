// Tags 10 to 25 and 80: the program's streams and the host's files.
#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "iserver/core/requests.h"

namespace iserver {
namespace {

using Kind = RequestOutcome::Kind;

constexpr RequestOutcome kContinue{};
constexpr RequestOutcome kMalformed{Kind::kMalformed, 0};
constexpr RequestOutcome kAbandoned{Kind::kAbandoned, 0};

// The most data a reply with a result byte and a counted slice can carry.
constexpr std::size_t kMaxReplyData = kMaxPayload - 3;

// A name the host can be given: not empty, no NUL inside.
bool UsableName(const std::string& name) { return !name.empty() && name.find('\0') == std::string::npos; }

RequestOutcome Answer(ReplyWriter& reply, bool ok) {
  reply = ReplyWriter(ok ? result::kOk : result::kFailed);
  return kContinue;
}

ConsoleStream ConsoleOutput(std::int32_t id) {
  return id == StreamTable::kStderr ? ConsoleStream::kError : ConsoleStream::kOutput;
}

RequestOutcome Open(RequestReader& in, RequestContext& c, ReplyWriter& reply) {
  const std::string name = in.Text();
  const std::uint8_t type = in.Byte();
  const std::uint8_t mode = in.Byte();
  if (!in.ok()) return kMalformed;
  const bool valid = UsableName(name) && type >= 1 && type <= 2 && mode >= 1 && mode <= 6;
  std::optional<std::int32_t> id;
  if (valid) id = c.streams.Add(c.host.Open(name, static_cast<FileType>(type), static_cast<FileMode>(mode)));
  if (!id) return Answer(reply, false);
  reply = ReplyWriter(result::kOk);
  reply.Int32(*id);
  return kContinue;
}

RequestOutcome Close(RequestReader& in, RequestContext& c, ReplyWriter& reply) {
  const std::int32_t id = in.Int32();
  if (!in.ok()) return kMalformed;
  // The console cannot be closed; closing it is harmless and succeeds.
  if (StreamTable::IsConsole(id)) return Answer(reply, true);
  return Answer(reply, c.streams.Close(id).value_or(false));
}

// READ and GETBLOCK: GETBLOCK fails when nothing came.
RequestOutcome Read(RequestReader& in, RequestContext& c, ReplyWriter& reply, bool block) {
  const std::int32_t id = in.Int32();
  const std::size_t count = std::min<std::size_t>(in.Int16(), kMaxReplyData);
  if (!in.ok()) return kMalformed;
  std::array<std::uint8_t, kMaxReplyData> data;
  std::size_t got = 0;
  bool known = true;
  if (id == StreamTable::kStdin) {
    if (count > 0) {
      got = c.console.ReadLine(data.data(), count);
      if (got == 0 && !c.console.InputEnded()) return kAbandoned;
    }
  } else if (HostFile* file = c.streams.Find(id)) {
    got = count > 0 ? file->Read(data.data(), count) : 0;
  } else {
    known = StreamTable::IsConsole(id);
  }
  // READ answers ok even at the end of a file: clients ask EOF and FERROR next.
  const bool ok = known && (!block || got > 0);
  reply = ReplyWriter(ok ? result::kOk : result::kFailed);
  reply.Slice(std::span(data.data(), got));
  return kContinue;
}

// WRITE and PUTBLOCK: PUTBLOCK fails when nothing was written.
RequestOutcome Write(RequestReader& in, RequestContext& c, ReplyWriter& reply, bool block) {
  const std::int32_t id = in.Int32();
  const auto data = in.Slice();
  if (!in.ok()) return kMalformed;
  std::size_t written = 0;
  bool known = true;
  if (id == StreamTable::kStdout || id == StreamTable::kStderr) {
    c.console.Write(ConsoleOutput(id), data);
    written = data.size();
  } else if (HostFile* file = c.streams.Find(id)) {
    written = file->Write(data.data(), data.size());
  } else {
    known = id == StreamTable::kStdin;
  }
  const bool ok = known && (!block || written > 0);
  reply = ReplyWriter(ok ? result::kOk : result::kFailed);
  reply.Int16(static_cast<std::uint16_t>(written));
  return kContinue;
}

RequestOutcome Gets(RequestReader& in, RequestContext& c, ReplyWriter& reply) {
  const std::int32_t id = in.Int32();
  const std::size_t limit = std::min<std::size_t>(in.Int16(), kMaxReplyData);
  if (!in.ok()) return kMalformed;
  HostFile* file = c.streams.Find(id);
  if (file == nullptr && id != StreamTable::kStdin) return Answer(reply, false);
  // Up to `limit` characters of one line; its newline is taken, not kept.
  std::string line;
  bool ended = false;
  while (line.size() < limit) {
    std::uint8_t byte = 0;
    if (file != nullptr) {
      if (file->Read(&byte, 1) == 0) {
        ended = true;
        break;
      }
    } else if (c.console.ReadLine(&byte, 1) == 0) {
      if (!c.console.InputEnded()) return kAbandoned;
      ended = true;
      break;
    }
    if (byte == '\n') break;
    line.push_back(static_cast<char>(byte));
  }
  if (ended && line.empty()) return Answer(reply, false);
  reply = ReplyWriter(result::kOk);
  reply.Slice(line);
  return kContinue;
}

RequestOutcome Puts(RequestReader& in, RequestContext& c, ReplyWriter& reply) {
  const std::int32_t id = in.Int32();
  const auto text = in.Slice();
  if (!in.ok()) return kMalformed;
  static constexpr std::uint8_t kNewline[] = {'\n'};
  if (id == StreamTable::kStdout || id == StreamTable::kStderr) {
    c.console.Write(ConsoleOutput(id), text);
    c.console.Write(ConsoleOutput(id), kNewline);
    return Answer(reply, true);
  }
  HostFile* file = c.streams.Find(id);
  const bool ok = file != nullptr && file->Write(text.data(), text.size()) == text.size() &&
                  file->Write(kNewline, 1) == 1;
  return Answer(reply, ok);
}

RequestOutcome Seek(RequestReader& in, RequestContext& c, ReplyWriter& reply) {
  const std::int32_t id = in.Int32();
  const std::int32_t offset = in.Int32();
  const std::int32_t origin = in.Int32();
  if (!in.ok()) return kMalformed;
  HostFile* file = c.streams.Find(id);
  const bool ok = file != nullptr && origin >= 1 && origin <= 3 && file->Seek(offset, static_cast<SeekOrigin>(origin));
  return Answer(reply, ok);
}

RequestOutcome Tell(RequestReader& in, RequestContext& c, ReplyWriter& reply) {
  const std::int32_t id = in.Int32();
  if (!in.ok()) return kMalformed;
  HostFile* file = c.streams.Find(id);
  const std::optional<std::int32_t> position = file ? file->Tell() : std::nullopt;
  if (!position) return Answer(reply, false);
  reply = ReplyWriter(result::kOk);
  reply.Int32(*position);
  return kContinue;
}

// The stream-only requests that answer with a result alone: FLUSH, EOF.
RequestOutcome StreamQuery(Tag tag, RequestReader& in, RequestContext& c, ReplyWriter& reply) {
  const std::int32_t id = in.Int32();
  if (!in.ok()) return kMalformed;
  HostFile* file = c.streams.Find(id);
  if (tag == Tag::kFlush) return Answer(reply, file ? file->Flush() : StreamTable::IsConsole(id));
  // EOF: 0 means "at the end"; of the console only standard input that ran out.
  if (id == StreamTable::kStdin) return Answer(reply, c.console.InputEnded());
  return Answer(reply, file != nullptr && file->AtEnd());
}

RequestOutcome Ferror(RequestReader& in, RequestContext& c, ReplyWriter& reply) {
  const std::int32_t id = in.Int32();
  if (!in.ok()) return kMalformed;
  HostFile* file = c.streams.Find(id);
  std::optional<FileError> error = file ? file->Error() : std::nullopt;
  if (!error) return Answer(reply, false);
  // The message is cut to fit an ordinary reply.
  error->message.resize(std::min<std::size_t>(error->message.size(), kUsualReplyPayload - 7));
  reply = ReplyWriter(result::kOk);
  reply.Int32(error->code).Slice(error->message);
  return kContinue;
}

RequestOutcome IsATty(RequestReader& in, RequestContext&, ReplyWriter& reply) {
  const std::int32_t id = in.Int32();
  if (!in.ok()) return kMalformed;
  // Only the console is a terminal; there is no "0" answer.
  if (!StreamTable::IsConsole(id)) return Answer(reply, false);
  reply = ReplyWriter(result::kOk);
  reply.Byte(1);
  return kContinue;
}

// The requests on names alone: REMOVE, RENAME, FILEEXISTS.
RequestOutcome NameRequest(Tag tag, RequestReader& in, RequestContext& c, ReplyWriter& reply) {
  const std::string name = in.Text();
  const std::string second = tag == Tag::kRename ? in.Text() : std::string("-");
  if (!in.ok()) return kMalformed;
  if (!UsableName(name) || !UsableName(second)) return Answer(reply, false);
  switch (tag) {
    case Tag::kRemove: return Answer(reply, c.host.Remove(name));
    case Tag::kRename: return Answer(reply, c.host.Rename(name, second));
    default:
      reply = ReplyWriter(result::kOk);
      reply.Byte(c.host.Exists(name) ? 1 : 0);
      return kContinue;
  }
}

}  // namespace

std::optional<RequestOutcome> HandleFileRequest(Tag tag, RequestReader& in, RequestContext& context,
                                                ReplyWriter& reply) {
  switch (tag) {
    case Tag::kOpen: return Open(in, context, reply);
    case Tag::kClose: return Close(in, context, reply);
    case Tag::kRead: return Read(in, context, reply, false);
    case Tag::kGetBlock: return Read(in, context, reply, true);
    case Tag::kWrite: return Write(in, context, reply, false);
    case Tag::kPutBlock: return Write(in, context, reply, true);
    case Tag::kGets: return Gets(in, context, reply);
    case Tag::kPuts: return Puts(in, context, reply);
    case Tag::kSeek: return Seek(in, context, reply);
    case Tag::kTell: return Tell(in, context, reply);
    case Tag::kFlush:
    case Tag::kEof: return StreamQuery(tag, in, context, reply);
    case Tag::kFerror: return Ferror(in, context, reply);
    case Tag::kIsATty: return IsATty(in, context, reply);
    case Tag::kRemove:
    case Tag::kRename:
    case Tag::kFileExists: return NameRequest(tag, in, context, reply);
    default: return std::nullopt;
  }
}

}  // namespace iserver
