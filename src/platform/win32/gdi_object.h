#pragma once
// Owners of GDI objects made by the program (pens, brushes, fonts, bitmaps,
// regions), given back with DeleteObject. An object must not be selected
// into a device context when its owner ends: restore the old selection first
// (`SelectedObject`, declared after the object it selects).

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace quelor {

template <typename Object>
struct GdiObjectTraits {
  using Handle = Object;
  static Handle none() { return nullptr; }
  static void close(Handle h) { DeleteObject(h); }
};

template <typename Object>
using GdiObject = UniqueHandle<GdiObjectTraits<Object>>;

using UniquePen = GdiObject<HPEN>;
using UniqueBrush = GdiObject<HBRUSH>;
using UniqueFont = GdiObject<HFONT>;
using UniqueBitmap = GdiObject<HBITMAP>;

}  // namespace quelor
