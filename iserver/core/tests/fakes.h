// In-memory stand-ins for the core's three interfaces, shared by the unit
// tests, the fuzz target and the benchmark. Each records what was done.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "iserver/core/console_io.h"
#include "iserver/core/host_system.h"
#include "iserver/core/link_port.h"

namespace iserver::testing {

using Bytes = std::vector<std::uint8_t>;

// The board's side of the link: what the program sends waits in `incoming`;
// what the host sends lands in `sent`.
class MemoryLink : public LinkPort {
 public:
  std::int32_t Read(std::uint8_t* buffer, std::int32_t count) override {
    if (broken) return -1;
    std::size_t n = std::min({static_cast<std::size_t>(count), incoming.size(), read_piece});
    std::copy_n(incoming.begin(), n, buffer);
    incoming.erase(incoming.begin(), incoming.begin() + static_cast<std::ptrdiff_t>(n));
    ++reads;
    return static_cast<std::int32_t>(n);
  }
  std::int32_t Write(const std::uint8_t* data, std::int32_t count) override {
    if (broken) return -1;
    const std::size_t n = std::min(static_cast<std::size_t>(count), write_room);
    write_room -= n;
    sent.insert(sent.end(), data, data + n);
    return static_cast<std::int32_t>(n);
  }
  bool ErrorRaised() override { return error; }
  bool Reset() override {
    ++resets;
    return true;
  }
  void Queue(const Bytes& bytes) { incoming.insert(incoming.end(), bytes.begin(), bytes.end()); }
  // The sent bytes after `from`, and forgets them.
  Bytes Take() {
    Bytes out(sent.begin(), sent.end());
    sent.clear();
    return out;
  }

  std::deque<std::uint8_t> incoming;
  Bytes sent;
  std::size_t read_piece = SIZE_MAX;  // at most this many bytes per Read
  std::size_t write_room = SIZE_MAX;  // the board takes this many bytes, then stops
  bool error = false;
  bool broken = false;
  int resets = 0;
  int reads = 0;
};

// A file system of named byte vectors with C-like stream semantics.
class MemoryHost : public HostSystem {
 public:
  struct File : HostFile {
    File(MemoryHost& host, std::string name, FileMode mode) : host_(host), name_(std::move(name)), mode_(mode) {}
    ~File() override { Close(); }
    Bytes& data() { return host_.files[name_]; }
    bool readable() const { return mode_ == FileMode::kInput || mode_ >= FileMode::kUpdate; }
    bool writable() const { return mode_ != FileMode::kInput; }
    std::size_t Read(std::uint8_t* buffer, std::size_t count) override {
      if (!readable()) return Fail();
      // A seek may have left the position past the end (of an empty file, too).
      const std::size_t from = std::min(at_, data().size());
      const std::size_t n = std::min(count, data().size() - from);
      if (n > 0) std::copy_n(data().begin() + static_cast<std::ptrdiff_t>(from), n, buffer);
      at_ += n;
      if (n < count) eof_ = true;
      return n;
    }
    std::size_t Write(const std::uint8_t* bytes, std::size_t count) override {
      if (!writable()) return Fail();
      if (mode_ == FileMode::kAppend || mode_ == FileMode::kAppendUpdate) at_ = data().size();
      if (data().size() < at_ + count) data().resize(at_ + count);
      std::copy_n(bytes, count, data().begin() + static_cast<std::ptrdiff_t>(at_));
      at_ += count;
      return count;
    }
    bool Flush() override { return true; }
    bool Seek(std::int32_t offset, SeekOrigin origin) override {
      const std::int64_t base = origin == SeekOrigin::kStart ? 0
                                : origin == SeekOrigin::kCurrent ? static_cast<std::int64_t>(at_)
                                                                 : static_cast<std::int64_t>(data().size());
      if (base + offset < 0) return false;
      at_ = static_cast<std::size_t>(base + offset);
      eof_ = error_ = false;
      return true;
    }
    std::optional<std::int32_t> Tell() override { return static_cast<std::int32_t>(at_); }
    bool AtEnd() override { return eof_; }
    std::optional<FileError> Error() override {
      if (!error_) return std::nullopt;
      return FileError{9, "Bad file descriptor"};
    }
    bool Close() override {
      if (!closed_) ++host_.closes;
      closed_ = true;
      return true;
    }

   private:
    std::size_t Fail() {
      error_ = true;
      return 0;
    }
    MemoryHost& host_;
    std::string name_;
    FileMode mode_;
    std::size_t at_ = 0;
    bool eof_ = false, error_ = false, closed_ = false;
  };

  std::unique_ptr<HostFile> Open(const std::string& name, FileType, FileMode mode) override {
    const bool exists = files.count(name) > 0;
    if ((mode == FileMode::kInput || mode == FileMode::kUpdate) && !exists) return nullptr;
    if (mode == FileMode::kOutput || mode == FileMode::kNewUpdate || !exists) files[name].clear();
    ++opens;
    return std::make_unique<File>(*this, name, mode);
  }
  bool Remove(const std::string& name) override { return files.erase(name) > 0; }
  bool Rename(const std::string& from, const std::string& to) override {
    auto found = files.find(from);
    if (found == files.end()) return false;
    Bytes data = std::move(found->second);
    files.erase(found);
    files[to] = std::move(data);
    return true;
  }
  bool Exists(const std::string& name) override { return files.count(name) > 0; }
  std::optional<std::string> Environment(const std::string& name) override {
    const auto found = environment.find(name);
    if (found == environment.end()) return std::nullopt;
    return found->second;
  }
  HostTime Now() override { return now; }
  std::optional<std::int32_t> RunCommand(const std::string& command) override {
    commands.push_back(command);
    if (!has_shell) return std::nullopt;
    return command.empty() ? 1 : command_status;
  }

  std::map<std::string, Bytes> files;
  std::map<std::string, std::string> environment;
  HostTime now{3600, 0};
  bool has_shell = true;
  std::int32_t command_status = 0;
  std::vector<std::string> commands;
  int opens = 0;
  int closes = 0;
};

// The user: typed lines and keys to hand out, and the screen's text per stream.
class ScriptedConsole : public ConsoleIo {
 public:
  void Write(ConsoleStream stream, std::span<const std::uint8_t> bytes) override {
    (stream == ConsoleStream::kOutput ? out : err).append(bytes.begin(), bytes.end());
  }
  std::size_t ReadLine(std::uint8_t* buffer, std::size_t count) override {
    ++waits;
    if (typed.empty()) return 0;  // nothing more will come: the wait gives up
    const std::size_t n = std::min(count, std::min(typed.find('\n'), typed.size() - 1) + 1);
    std::copy_n(typed.begin(), n, buffer);
    typed.erase(0, n);
    return n;
  }
  std::optional<std::uint8_t> GetKey() override {
    ++waits;
    return PollKey();
  }
  std::optional<std::uint8_t> PollKey() override {
    if (keys.empty()) return std::nullopt;
    const auto key = static_cast<std::uint8_t>(keys.front());
    keys.erase(0, 1);
    return key;
  }

  bool InputEnded() override { return ended; }

  std::string typed;  // lines as the user typed them, each ending in '\n'
  std::string keys;
  bool ended = false;  // standard input has run out
  std::string out, err;
  int waits = 0;
};

// Builds a request frame the way a client sends it.
class Request {
 public:
  explicit Request(std::uint8_t tag) { payload_.push_back(tag); }
  Request& Byte(std::uint8_t v) {
    payload_.push_back(v);
    return *this;
  }
  Request& Int16(std::uint16_t v) { return Byte(static_cast<std::uint8_t>(v)).Byte(static_cast<std::uint8_t>(v >> 8)); }
  Request& Int32(std::int32_t v) {
    for (int shift = 0; shift < 32; shift += 8) Byte(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> shift));
    return *this;
  }
  Request& Slice(const std::string& text) {
    Int16(static_cast<std::uint16_t>(text.size()));
    payload_.insert(payload_.end(), text.begin(), text.end());
    return *this;
  }
  // Padded to an even length of at least 6, as occam clients do.
  Bytes Frame() const {
    Bytes payload = payload_;
    while (payload.size() < 6 || payload.size() % 2) payload.push_back('q');
    return Raw(payload);
  }
  static Bytes Raw(const Bytes& payload) {
    Bytes frame(2 + payload.size());
    frame[0] = static_cast<std::uint8_t>(payload.size());
    frame[1] = static_cast<std::uint8_t>(payload.size() >> 8);
    std::copy(payload.begin(), payload.end(), frame.begin() + 2);
    return frame;
  }
  const Bytes& payload() const { return payload_; }

 private:
  Bytes payload_;
};

}  // namespace iserver::testing
