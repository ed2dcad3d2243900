#pragma once
// The survey data file on a Windows file HANDLE: read/write, not shared,
// whole records written with one WriteFile, FlushFileBuffers for flush, and
// close / reopen (open-always, at its end) around every commit to disk.
// Each call holds the sink's lock: the GPS reader thread may write while the
// window thread closes the file at the end of a survey.

#include <windows.h>

#include <mutex>
#include <string>

#include "datafile/data_sink.h"
#include "platform/win32/unique_handle.h"

namespace quelor {

class Win32DataSink final : public DataSink {
 public:
  ~Win32DataSink() override;
  bool open(const std::wstring& path) override;
  bool is_open() const override;
  std::size_t read(char* buffer, std::size_t size) override;
  bool seek_start() override;
  bool seek_end() override;
  std::size_t read_at(std::uint64_t offset, char* buffer, std::size_t size) override;
  bool write(std::string_view bytes) override;
  std::optional<std::uint64_t> position() override;
  WriteError last_error() const override;
  bool flush() override;
  void close() override;
  bool reopen() override;
  bool cut_to(std::size_t size) override;

  std::wstring path() const;

 private:
  bool open_unlocked() const { return static_cast<bool>(handle_); }
  void close_unlocked();
  void note_error();  // the cause of the failure just seen (GetLastError)

  mutable std::mutex mutex_;
  FileHandle handle_;
  std::wstring path_;
  WriteError error_ = WriteError::kNone;
};

}  // namespace quelor
