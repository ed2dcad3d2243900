#pragma once
// The open survey data file as the core sees it. The Windows program
// implements it on a file HANDLE (CreateFileW read/write, not shared;
// FlushFileBuffers for flush); tests use the in-memory sink.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quelor {

// Why the last write, flush or reopen failed, as the surveyor is told.
enum class WriteError { kNone, kDiskFull, kDeviceRemoved, kAccessDenied, kOther };

class DataSink {
 public:
  virtual ~DataSink() = default;
  // Opens (creating it when missing) for reading and writing, not shared,
  // positioned at the start. False when the file cannot be opened.
  virtual bool open(const std::wstring& path) = 0;
  virtual bool is_open() const = 0;
  // Reads up to `size` bytes at the current position; returns the count
  // (0 at the end or when closed).
  virtual std::size_t read(char* buffer, std::size_t size) = 0;
  virtual bool seek_start() = 0;
  virtual bool seek_end() = 0;
  // Reads up to `size` bytes at `offset` and leaves the position where the
  // writer appends untouched (the re-plot reads while the GPS reader writes).
  virtual std::size_t read_at(std::uint64_t offset, char* buffer, std::size_t size) = 0;
  // Writes all bytes at the current position with one call. False when not
  // all of them were written (a full disk may take part of them).
  virtual bool write(std::string_view bytes) = 0;
  // Where the next write lands (the file's end while appending); nothing
  // when it cannot be told.
  virtual std::optional<std::uint64_t> position() { return std::nullopt; }
  // The cause of the last failed write, flush or reopen.
  virtual WriteError last_error() const { return WriteError::kOther; }
  // Pushes what was written to the disk (FlushFileBuffers).
  virtual bool flush() = 0;
  virtual void close() = 0;
  // Opens the last opened path again (open-always), positioned at its end.
  virtual bool reopen() = 0;
  // Cuts the open file to its first `size` bytes, positioned at the new end
  // (a partial record left by a crash or by a short write); a file no
  // longer than `size` is left as it is. False when it cannot.
  virtual bool cut_to(std::size_t size) {
    (void)size;
    return false;
  }
};

}  // namespace quelor
