#pragma once
// The survey data file on a Windows file HANDLE: read/write, not shared,
// whole records written with one WriteFile, FlushFileBuffers for flush, and
// close / reopen (open-always, at its end) around every commit to disk.

#include <windows.h>

#include <string>

#include "datafile/data_sink.h"

namespace quelor {

class Win32DataSink final : public DataSink {
 public:
  ~Win32DataSink() override;
  bool open(const std::wstring& path) override;
  bool is_open() const override { return handle_ != INVALID_HANDLE_VALUE; }
  std::size_t read(char* buffer, std::size_t size) override;
  bool seek_start() override;
  bool seek_end() override;
  bool write(std::string_view bytes) override;
  bool flush() override;
  void close() override;
  bool reopen() override;

  const std::wstring& path() const { return path_; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  std::wstring path_;
};

}  // namespace quelor
