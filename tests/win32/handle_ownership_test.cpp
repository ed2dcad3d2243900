// The owners of Windows handles, GDI objects and selections: each gives its
// object back exactly once, a moved-from owner gives back nothing, and a
// selection is undone at the end of its scope. A dialog's state: its own freed
// with the dialog, the caller's seen by every message from WM_INITDIALOG on.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "platform/win32/device_context.h"
#include "platform/win32/dialog_state.h"
#include "platform/win32/gdi_object.h"
#include "platform/win32/unique_handle.h"

namespace quelor {
namespace {

bool handle_open(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != 0;
}

bool gdi_object_alive(HGDIOBJ object) { return GetObjectType(object) != 0; }

TEST(HandleOwnership, MovedFromOwnerClosesNothingAndTheNewOwnerClosesOnce) {
  const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  {
    KernelHandle first(event);
    KernelHandle second(std::move(first));
    EXPECT_FALSE(first);
    EXPECT_EQ(second.get(), event);
    { KernelHandle gone(std::move(first)); }  // an empty owner ends: nothing closed
    EXPECT_TRUE(handle_open(event));
  }
  EXPECT_FALSE(handle_open(event));
}

TEST(HandleOwnership, ReleasedHandleStaysOpenForItsNewKeeper) {
  const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  HANDLE kept = nullptr;
  {
    KernelHandle owner(event);
    kept = owner.release();
  }
  EXPECT_TRUE(handle_open(kept));
  CloseHandle(kept);
}

TEST(HandleOwnership, FileOwnerTakesInvalidHandleAsNoneAndClosesAnOpenFile) {
  wchar_t folder[MAX_PATH] = {};
  wchar_t path[MAX_PATH] = {};
  ASSERT_NE(GetTempPathW(MAX_PATH, folder), 0u);
  ASSERT_NE(GetTempFileNameW(folder, L"qow", 0, path), 0u);
  const auto open_exclusive = [&] {
    return FileHandle(CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  };
  {
    FileHandle file = open_exclusive();
    ASSERT_TRUE(file);
    EXPECT_FALSE(open_exclusive());  // not shared while owned
    FileHandle moved = std::move(file);
    EXPECT_EQ(file.get(), INVALID_HANDLE_VALUE);
  }
  EXPECT_TRUE(open_exclusive());  // closed when its owner ended
  DeleteFileW(path);
}

TEST(HandleOwnership, GdiObjectDeletedOnceAndReplacedObjectDeletedAtReset) {
  const HPEN first = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  const HPEN second = CreatePen(PS_SOLID, 2, RGB(4, 5, 6));
  {
    UniquePen pen(first);
    pen = UniquePen(second);
    EXPECT_FALSE(gdi_object_alive(first));
    EXPECT_TRUE(gdi_object_alive(second));
  }
  EXPECT_FALSE(gdi_object_alive(second));
}

TEST(HandleOwnership, SelectionRestoredAtScopeEndAndBeforeItsObjectIsDeleted) {
  const MemoryDc dc(CreateCompatibleDC(WindowDc(nullptr)));
  ASSERT_TRUE(dc);
  const HGDIOBJ original = GetCurrentObject(dc.get(), OBJ_PEN);
  HPEN made = nullptr;
  {
    const UniquePen pen(CreatePen(PS_SOLID, 3, RGB(200, 0, 0)));
    made = pen.get();
    SelectedObject selected(dc.get(), pen.get());
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
    {
      SelectedObject nothing(dc.get(), nullptr);  // a null object selects nothing
      EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), pen.get());
  }
  EXPECT_EQ(GetCurrentObject(dc.get(), OBJ_PEN), original);
  EXPECT_FALSE(gdi_object_alive(made));  // deselected first, so DeleteObject took it
}

// A dialog's own state: counted while it lives.
struct CountedState {
  explicit CountedState(int& count) : alive(count) { ++alive; }
  ~CountedState() { --alive; }
  int& alive;
};

INT_PTR CALLBACK owning_procedure(HWND dialog, UINT message, WPARAM, LPARAM l) {
  if (message == WM_INITDIALOG) adopt_dialog_state(dialog, std::make_unique<CountedState>(*reinterpret_cast<int*>(l)));
  if (message == WM_NCDESTROY) drop_dialog_state<CountedState>(dialog);
  return message == WM_INITDIALOG;
}

INT_PTR CALLBACK borrowing_procedure(HWND dialog, UINT message, WPARAM, LPARAM l) {
  if (int* seen = dialog_parameter<int>(dialog, message, l)) ++*seen;
  return message == WM_INITDIALOG;
}

// An empty popup dialog made from a template in memory, modeless.
HWND empty_dialog(DLGPROC procedure, void* parameter) {
  struct alignas(4) Template {
    DLGTEMPLATE dialog;
    WORD menu, window_class, title;
  } t{};
  t.dialog.style = WS_POPUP;
  return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &t.dialog, nullptr, procedure,
                                    reinterpret_cast<LPARAM>(parameter));
}

TEST(DialogState, OwnStateLivesFromInitialisationToTheLastMessage) {
  int alive = 0;
  HWND dialog = empty_dialog(owning_procedure, &alive);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(alive, 1);
  EXPECT_NE(dialog_state<CountedState>(dialog), nullptr);
  DestroyWindow(dialog);
  EXPECT_EQ(alive, 0);
}

TEST(DialogState, CallersStateReachesEveryMessageFromInitialisationOn) {
  int messages = 0;
  HWND dialog = empty_dialog(borrowing_procedure, &messages);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog_state<int>(dialog), &messages);
  const int after_start = messages;
  EXPECT_GE(after_start, 1);
  SendMessageW(dialog, WM_NULL, 0, 0);
  EXPECT_EQ(messages, after_start + 1);
  DestroyWindow(dialog);
}

}  // namespace
}  // namespace quelor
