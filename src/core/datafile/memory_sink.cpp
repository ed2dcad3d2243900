#include "datafile/memory_sink.h"

#include <algorithm>
#include <cstring>

namespace quelor {

bool MemorySink::open(const std::wstring& path) {
  if (fail_open || read_only) return false;
  path_ = path;
  files_[path];
  position_ = 0;
  open_ = true;
  return true;
}

std::size_t MemorySink::read(char* buffer, std::size_t size) {
  if (!open_) return 0;
  const std::string& f = files_[path_];
  if (position_ >= f.size()) return 0;
  const std::size_t n = std::min(size, f.size() - position_);
  std::memcpy(buffer, f.data() + position_, n);
  position_ += n;
  return n;
}

bool MemorySink::seek_start() {
  position_ = 0;
  return open_;
}

bool MemorySink::seek_end() {
  if (!open_) return false;
  position_ = files_[path_].size();
  return true;
}

bool MemorySink::write(std::string_view bytes) {
  if (!open_) return false;
  ++writes;
  if (removed) {
    error_ = WriteError::kDeviceRemoved;
    return false;
  }
  std::string& f = files_[path_];
  if (position_ > f.size()) f.resize(position_, '\0');
  const std::size_t room = capacity > position_ ? capacity - position_ : 0;
  const std::string_view kept = bytes.substr(0, std::min(bytes.size(), room));
  f.replace(position_, std::min(kept.size(), f.size() - position_), kept);
  position_ += kept.size();
  if (kept.size() == bytes.size()) return true;
  error_ = WriteError::kDiskFull;
  return false;
}

std::optional<std::uint64_t> MemorySink::position() {
  if (!open_) return std::nullopt;
  return position_;
}

bool MemorySink::flush() {
  if (!open_) return false;
  if (removed) {
    error_ = WriteError::kDeviceRemoved;
    return false;
  }
  ++flushes;
  durable_[path_] = files_[path_].size();
  return true;
}

void MemorySink::close() {
  if (!open_) return;
  ++closes;
  durable_[path_] = files_[path_].size();
  open_ = false;
}

bool MemorySink::reopen() {
  if (path_.empty() || fail_open) return false;
  if (removed || read_only) {
    error_ = removed ? WriteError::kDeviceRemoved : WriteError::kAccessDenied;
    return false;
  }
  ++reopens;
  open_ = true;
  position_ = files_[path_].size();
  return true;
}

bool MemorySink::cut_to(std::size_t size) {
  if (!open_ || removed) return false;
  std::string& f = files_[path_];
  if (size < f.size()) f.resize(size);
  std::size_t& d = durable_[path_];
  if (d > f.size()) d = f.size();
  position_ = f.size();
  return true;
}

std::string MemorySink::durable(const std::wstring& path) const {
  auto f = files_.find(path);
  auto d = durable_.find(path);
  if (f == files_.end() || d == durable_.end()) return {};
  return f->second.substr(0, d->second);
}

std::size_t MemorySink::read_at(std::uint64_t offset, char* buffer, std::size_t size) {
  if (!open_) return 0;
  const std::string& f = files_[path_];
  if (offset >= f.size()) return 0;
  const std::size_t n = std::min<std::size_t>(size, f.size() - static_cast<std::size_t>(offset));
  std::copy_n(f.data() + offset, n, buffer);
  return n;
}

}  // namespace quelor
