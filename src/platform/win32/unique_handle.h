#pragma once
// A move-only owner of one Windows handle: the traits name the handle's type,
// the value that means "none" and the call that gives it back. A moved-from
// owner holds "none" and releases nothing.

#include <windows.h>

#include <utility>

namespace quelor {

template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : handle_(h) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }

  Handle get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::none(); }

  // Gives up ownership without releasing.
  Handle release() { return std::exchange(handle_, Traits::none()); }

  // Releases the held handle, if any, and takes `h`.
  void reset(Handle h = Traits::none()) {
    const Handle old = std::exchange(handle_, h);
    if (old != Traits::none()) Traits::close(old);
  }

 private:
  Handle handle_ = Traits::none();
};

// Kernel objects whose "none" is null: threads, events.
struct KernelHandleTraits {
  using Handle = HANDLE;
  static Handle none() { return nullptr; }
  static void close(Handle h) { CloseHandle(h); }
};
using KernelHandle = UniqueHandle<KernelHandleTraits>;

// Files and devices from CreateFileW, whose "none" is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle none() { return INVALID_HANDLE_VALUE; }
  static void close(Handle h) { CloseHandle(h); }
};
using FileHandle = UniqueHandle<FileHandleTraits>;

}  // namespace quelor
