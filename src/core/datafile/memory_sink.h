#pragma once
// A data sink kept in memory: one byte string per path. Used by the tests and
// by tools that build data files without a disk file.

#include <cstdint>
#include <map>
#include <string>

#include "datafile/data_sink.h"

namespace quelor {

class MemorySink : public DataSink {
 public:
  bool open(const std::wstring& path) override;
  bool is_open() const override { return open_; }
  std::size_t read(char* buffer, std::size_t size) override;
  bool seek_start() override;
  bool seek_end() override;
  std::size_t read_at(std::uint64_t offset, char* buffer, std::size_t size) override;
  bool write(std::string_view bytes) override;
  std::optional<std::uint64_t> position() override;
  WriteError last_error() const override { return error_; }
  bool flush() override;
  void close() override;
  bool reopen() override;
  bool cut_to(std::size_t size) override;

  // The bytes of a path (empty when unknown), and presetting them.
  std::string& file(const std::wstring& path) { return files_[path]; }
  const std::wstring& path() const { return path_; }
  // How often each operation ran, to test the on-disk guarantees.
  int writes = 0, flushes = 0, closes = 0, reopens = 0;
  // Bytes flushed or closed: what a power cut would keep.
  std::string durable(const std::wstring& path) const;
  // When set, open() fails.
  bool fail_open = false;
  // A drive that fails: room for `capacity` bytes in the file (a write past
  // it keeps the bytes that fit and fails: disk full), a drive pulled out
  // (writes, flushes, cuts and reopens fail) or a file made read-only from
  // outside (the open file still takes writes; opening it again fails).
  std::size_t capacity = SIZE_MAX;
  bool removed = false;
  bool read_only = false;

 private:
  std::map<std::wstring, std::string> files_;
  std::map<std::wstring, std::size_t> durable_;
  std::wstring path_;
  std::size_t position_ = 0;
  bool open_ = false;
  WriteError error_ = WriteError::kNone;
};

}  // namespace quelor
