// What the protocol core needs of the host computer: files, the environment,
// the clock and the command processor. StdioHost (stdio_host.h) provides it
// with the C library, on Windows and on POSIX alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace iserver {

enum class FileType : std::uint8_t { kBinary = 1, kText = 2 };
// The six open modes of the host protocol: r, w, a, r+, w+, a+.
enum class FileMode : std::uint8_t { kInput = 1, kOutput, kAppend, kUpdate, kNewUpdate, kAppendUpdate };
enum class SeekOrigin : std::uint8_t { kStart = 1, kCurrent, kEnd };

struct FileError {
  std::int32_t code = 0;  // the host's errno
  std::string message;
};

// An open host file. Close() ends its use; the destructor closes it too.
class HostFile {
 public:
  virtual ~HostFile() = default;
  virtual std::size_t Read(std::uint8_t* buffer, std::size_t count) = 0;
  virtual std::size_t Write(const std::uint8_t* data, std::size_t count) = 0;
  virtual bool Flush() = 0;
  virtual bool Seek(std::int32_t offset, SeekOrigin origin) = 0;
  virtual std::optional<std::int32_t> Tell() = 0;
  virtual bool AtEnd() = 0;
  // The error indicator: set after a failed read or write, until a seek.
  virtual std::optional<FileError> Error() = 0;
  virtual bool Close() = 0;
};

struct HostTime {
  std::int32_t local = 0;  // seconds since 1970-01-01 in the host's time zone
  std::int32_t utc = 0;    // the same instant in UTC; 0 when unknown
};

class HostSystem {
 public:
  virtual ~HostSystem() = default;
  // Names are never empty and never hold a NUL: the core refuses those first.
  virtual std::unique_ptr<HostFile> Open(const std::string& name, FileType type, FileMode mode) = 0;
  virtual bool Remove(const std::string& name) = 0;
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  virtual bool Exists(const std::string& name) = 0;
  virtual std::optional<std::string> Environment(const std::string& name) = 0;
  virtual HostTime Now() = 0;
  // Runs a command line; nullopt when there is no command processor. An
  // empty command only asks whether there is one.
  virtual std::optional<std::int32_t> RunCommand(const std::string& command) = 0;
};

}  // namespace iserver
