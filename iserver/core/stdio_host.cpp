#include "iserver/core/stdio_host.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>

namespace iserver {
namespace {

class StdioFile final : public HostFile {
 public:
  explicit StdioFile(std::FILE* file) : file_(file) {}
  ~StdioFile() override { Close(); }

  std::size_t Read(std::uint8_t* buffer, std::size_t count) override {
    return Note(std::fread(buffer, 1, count, file_));
  }
  std::size_t Write(const std::uint8_t* data, std::size_t count) override {
    return Note(std::fwrite(data, 1, count, file_));
  }
  bool Flush() override { return Check(std::fflush(file_) == 0); }
  bool Seek(std::int32_t offset, SeekOrigin origin) override {
    static constexpr int kOrigins[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    return Check(std::fseek(file_, offset, kOrigins[static_cast<int>(origin) - 1]) == 0);
  }
  std::optional<std::int32_t> Tell() override {
    const long at = std::ftell(file_);
    if (at < 0 || at > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
    return static_cast<std::int32_t>(at);
  }
  bool AtEnd() override { return std::feof(file_) != 0; }
  std::optional<FileError> Error() override {
    if (!std::ferror(file_)) return std::nullopt;
    return FileError{errno_, errno_ ? std::strerror(errno_) : ""};
  }
  bool Close() override {
    if (file_ == nullptr) return true;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    return closed;
  }

 private:
  // Keeps the errno of the last failing operation for FERROR.
  std::size_t Note(std::size_t done) {
    if (std::ferror(file_)) errno_ = errno;
    return done;
  }
  bool Check(bool ok) {
    if (!ok) errno_ = errno;
    return ok;
  }

  std::FILE* file_;
  int errno_ = 0;
};

}  // namespace

std::unique_ptr<HostFile> StdioHost::Open(const std::string& name, FileType type, FileMode mode) {
  static constexpr const char* kModes[] = {"r", "w", "a", "r+", "w+", "a+"};
  std::string how = kModes[static_cast<int>(mode) - 1];
  how += type == FileType::kBinary ? "b" : "t";
#if !defined(_WIN32)
  how.pop_back();  // POSIX has no text mode letter; "b" is accepted and ignored
  if (type == FileType::kBinary) how += "b";
#endif
  std::FILE* file = std::fopen(name.c_str(), how.c_str());
  if (file == nullptr) return nullptr;
  // Appending streams start at the end, so TELL answers truthfully at once.
  if (mode == FileMode::kAppend || mode == FileMode::kAppendUpdate) std::fseek(file, 0, SEEK_END);
  return std::make_unique<StdioFile>(file);
}

bool StdioHost::Remove(const std::string& name) { return std::remove(name.c_str()) == 0; }

bool StdioHost::Rename(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool StdioHost::Exists(const std::string& name) {
  std::FILE* file = std::fopen(name.c_str(), "rb");
  if (file != nullptr) std::fclose(file);
  return file != nullptr;
}

std::optional<std::string> StdioHost::Environment(const std::string& name) {
  const char* value = std::getenv(name.c_str());
  if (value == nullptr) return std::nullopt;
  return std::string(value);
}

HostTime StdioHost::Now() {
  const std::time_t now = std::time(nullptr);
  // The zone offset: the UTC calendar fields read back as local time.
  std::tm utc_fields = *std::gmtime(&now);
  const std::tm local_fields = *std::localtime(&now);
  utc_fields.tm_isdst = local_fields.tm_isdst;
  const std::time_t utc_as_local = std::mktime(&utc_fields);
  const auto offset = static_cast<std::int64_t>(std::difftime(now, utc_as_local));
  return HostTime{static_cast<std::int32_t>(static_cast<std::int64_t>(now) + offset), static_cast<std::int32_t>(now)};
}

std::optional<std::int32_t> StdioHost::RunCommand(const std::string& command) {
  if (command.empty()) {
    if (std::system(nullptr) == 0) return std::nullopt;
    return 1;
  }
  return std::system(command.c_str());
}

}  // namespace iserver
