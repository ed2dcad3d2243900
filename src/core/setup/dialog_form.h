#pragma once
// A setup dialog as plain data: its controls by id with what they show (list
// items and selection, edit or label text, check state, enabled, visible).
// The dialog logic fills and reads forms; the Win32 side only copies a form
// into the dialog's controls and reads the operator's entries back.

#include <string>
#include <string_view>
#include <vector>

namespace quelor {

enum class ControlKind { kList, kEdit, kCheck, kRadio, kLabel };

struct DialogControl {
  int id = 0;
  ControlKind kind = ControlKind::kLabel;
  std::vector<std::wstring> items;  // lists
  int selection = 0;                // lists
  std::wstring text;                // edits and labels
  bool checked = false;             // check boxes and radio buttons
  bool enabled = true;
  bool visible = true;
  bool read_only = false;  // edits
  int text_limit = 0;      // edits: most characters, 0 no limit
};

struct DialogForm {
  std::vector<DialogControl> controls;

  DialogControl* find(int id);
  const DialogControl* find(int id) const;
  bool has(int id) const { return find(id) != nullptr; }

  DialogControl& add_list(int id, std::vector<std::wstring> items, int selection);
  DialogControl& add_edit(int id, std::wstring text);
  DialogControl& add_check(int id, bool checked);
  DialogControl& add_radio(int id, bool checked);
  DialogControl& add_label(int id, std::wstring text);

  // The selection of list `id` (`fallback` when the form has no such list).
  int selection(int id, int fallback) const;
  // The text of edit `id` (empty when absent).
  std::wstring text(int id) const;
  bool checked(int id, bool fallback) const;
  // Sets the text of an existing control; nothing when absent.
  void set_text(int id, std::wstring text);
};

// Items from 8-bit texts.
std::vector<std::wstring> list_items(std::initializer_list<std::string_view> texts);

}  // namespace quelor
