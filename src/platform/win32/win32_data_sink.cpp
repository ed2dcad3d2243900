#include "platform/win32/win32_data_sink.h"

namespace quelor {

namespace {

FileHandle open_always(const std::wstring& path) {
  return FileHandle(
      CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The system's error codes by what the surveyor is told; any other is kOther.
struct ErrorCause {
  DWORD code;
  WriteError cause;
};
constexpr ErrorCause kErrorCauses[] = {
    {ERROR_DISK_FULL, WriteError::kDiskFull},
    {ERROR_HANDLE_DISK_FULL, WriteError::kDiskFull},
    {ERROR_NOT_READY, WriteError::kDeviceRemoved},
    {ERROR_DEV_NOT_EXIST, WriteError::kDeviceRemoved},
    {ERROR_DEVICE_REMOVED, WriteError::kDeviceRemoved},
    {ERROR_NO_MEDIA_IN_DRIVE, WriteError::kDeviceRemoved},
    {ERROR_PATH_NOT_FOUND, WriteError::kDeviceRemoved},
    {ERROR_INVALID_DRIVE, WriteError::kDeviceRemoved},
    {ERROR_BAD_NETPATH, WriteError::kDeviceRemoved},
    {ERROR_GEN_FAILURE, WriteError::kDeviceRemoved},
    {ERROR_ACCESS_DENIED, WriteError::kAccessDenied},
    {ERROR_WRITE_PROTECT, WriteError::kAccessDenied},
    {ERROR_SHARING_VIOLATION, WriteError::kAccessDenied},
    {ERROR_LOCK_VIOLATION, WriteError::kAccessDenied},
};

WriteError cause_of(DWORD code) {
  for (const ErrorCause& e : kErrorCauses)
    if (e.code == code) return e.cause;
  return WriteError::kOther;
}

}  // namespace

Win32DataSink::~Win32DataSink() { close(); }

bool Win32DataSink::is_open() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_unlocked();
}

WriteError Win32DataSink::last_error() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return error_;
}

void Win32DataSink::note_error() { error_ = cause_of(GetLastError()); }

std::optional<std::uint64_t> Win32DataSink::position() {
  std::lock_guard<std::mutex> lock(mutex_);
  LARGE_INTEGER here{};
  if (!open_unlocked() || !SetFilePointerEx(handle_.get(), LARGE_INTEGER{}, &here, FILE_CURRENT)) return std::nullopt;
  return static_cast<std::uint64_t>(here.QuadPart);
}

std::wstring Win32DataSink::path() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return path_;
}

bool Win32DataSink::open(const std::wstring& path) {
  std::lock_guard<std::mutex> lock(mutex_);
  close_unlocked();
  path_ = path;
  handle_ = open_always(path);
  return open_unlocked();
}

std::size_t Win32DataSink::read(char* buffer, std::size_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!open_unlocked() || size == 0) return 0;
  DWORD got = 0;
  if (!ReadFile(handle_.get(), buffer, static_cast<DWORD>(size), &got, nullptr)) return 0;
  return got;
}

std::size_t Win32DataSink::read_at(std::uint64_t offset, char* buffer, std::size_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!open_unlocked() || size == 0) return 0;
  LARGE_INTEGER here{}, to{};
  if (!SetFilePointerEx(handle_.get(), LARGE_INTEGER{}, &here, FILE_CURRENT)) return 0;
  to.QuadPart = static_cast<LONGLONG>(offset);
  DWORD got = 0;
  const bool ok = SetFilePointerEx(handle_.get(), to, nullptr, FILE_BEGIN) &&
                  ReadFile(handle_.get(), buffer, static_cast<DWORD>(size), &got, nullptr);
  SetFilePointerEx(handle_.get(), here, nullptr, FILE_BEGIN);  // the writer appends where it was
  return ok ? got : 0;
}

bool Win32DataSink::seek_start() {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_unlocked() && SetFilePointer(handle_.get(), 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

bool Win32DataSink::seek_end() {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_unlocked() && SetFilePointer(handle_.get(), 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
}

// Records are short: one WriteFile carries them whole; a short write (disk
// full) is reported as a failure rather than taken for success.
bool Win32DataSink::write(std::string_view bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!open_unlocked()) return false;
  if (bytes.empty()) return true;
  DWORD written = 0;
  if (!WriteFile(handle_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
    note_error();
    return false;
  }
  if (written == bytes.size()) return true;
  error_ = WriteError::kDiskFull;
  return false;
}

bool Win32DataSink::flush() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!open_unlocked()) return false;
  if (FlushFileBuffers(handle_.get())) return true;
  note_error();
  return false;
}

void Win32DataSink::close() {
  std::lock_guard<std::mutex> lock(mutex_);
  close_unlocked();
}

void Win32DataSink::close_unlocked() { handle_.reset(); }

bool Win32DataSink::reopen() {
  std::lock_guard<std::mutex> lock(mutex_);
  close_unlocked();
  if (path_.empty()) return false;
  handle_ = open_always(path_);
  if (!open_unlocked()) {
    note_error();
    return false;
  }
  return SetFilePointer(handle_.get(), 0, nullptr, FILE_END) != INVALID_SET_FILE_POINTER;
}

bool Win32DataSink::cut_to(std::size_t size) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!open_unlocked()) return false;
  LARGE_INTEGER at, length{};
  at.QuadPart = static_cast<LONGLONG>(size);
  if (!GetFileSizeEx(handle_.get(), &length)) return false;
  if (length.QuadPart <= at.QuadPart) return SetFilePointerEx(handle_.get(), LARGE_INTEGER{}, nullptr, FILE_END);
  return SetFilePointerEx(handle_.get(), at, nullptr, FILE_BEGIN) && SetEndOfFile(handle_.get());
}

}  // namespace quelor
