#pragma once
// Device contexts and selections held for a scope: a memory DC made by
// CreateCompatibleDC (DeleteDC), a window's DC from GetDC (ReleaseDC with the
// same window), the painting DC of BeginPaint (EndPaint), and an object
// selected into a DC, the old one selected back at the end.

#include <windows.h>

#include <utility>

#include "platform/win32/unique_handle.h"

namespace quelor {

struct MemoryDcTraits {
  using Handle = HDC;
  static Handle none() { return nullptr; }
  static void close(Handle h) { DeleteDC(h); }
};
using MemoryDc = UniqueHandle<MemoryDcTraits>;

// GetDC(window) for a scope; a null window is the screen.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;

  HDC get() const { return dc_; }
  operator HDC() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// BeginPaint(window) for a scope, EndPaint at its end.
class PaintDc {
 public:
  explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
  ~PaintDc() { EndPaint(window_, &paint_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;

  HDC get() const { return dc_; }
  operator HDC() const { return dc_; }
  const PAINTSTRUCT& paint() const { return paint_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

// SelectObject(dc, object) for a scope; the object selected before is
// selected back at the end (or earlier by `restore`). A null object selects
// nothing.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() { restore(); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

  void restore() {
    if (HGDIOBJ old = std::exchange(old_, nullptr)) SelectObject(dc_, old);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace quelor
