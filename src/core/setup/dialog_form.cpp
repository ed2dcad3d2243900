#include "setup/dialog_form.h"

#include <algorithm>

namespace quelor {

namespace {

DialogControl& append(DialogForm& form, DialogControl control) {
  form.controls.push_back(std::move(control));
  return form.controls.back();
}

}  // namespace

DialogControl* DialogForm::find(int id) {
  auto it = std::find_if(controls.begin(), controls.end(), [id](const DialogControl& c) { return c.id == id; });
  return it == controls.end() ? nullptr : &*it;
}

const DialogControl* DialogForm::find(int id) const {
  auto it = std::find_if(controls.begin(), controls.end(), [id](const DialogControl& c) { return c.id == id; });
  return it == controls.end() ? nullptr : &*it;
}

DialogControl& DialogForm::add_list(int id, std::vector<std::wstring> items, int selection) {
  const int count = static_cast<int>(items.size());
  const int chosen = selection >= 0 && selection < count ? selection : 0;
  DialogControl c;
  c.id = id;
  c.kind = ControlKind::kList;
  c.items = std::move(items);
  c.selection = chosen;
  return append(*this, std::move(c));
}

DialogControl& DialogForm::add_edit(int id, std::wstring text) {
  DialogControl c;
  c.id = id;
  c.kind = ControlKind::kEdit;
  c.text = std::move(text);
  return append(*this, std::move(c));
}

DialogControl& DialogForm::add_check(int id, bool checked) {
  DialogControl c;
  c.id = id;
  c.kind = ControlKind::kCheck;
  c.checked = checked;
  return append(*this, std::move(c));
}

DialogControl& DialogForm::add_radio(int id, bool checked) {
  DialogControl c;
  c.id = id;
  c.kind = ControlKind::kRadio;
  c.checked = checked;
  return append(*this, std::move(c));
}

DialogControl& DialogForm::add_label(int id, std::wstring text) {
  DialogControl c;
  c.id = id;
  c.kind = ControlKind::kLabel;
  c.text = std::move(text);
  return append(*this, std::move(c));
}

int DialogForm::selection(int id, int fallback) const {
  const DialogControl* c = find(id);
  return c && c->kind == ControlKind::kList ? c->selection : fallback;
}

std::wstring DialogForm::text(int id) const {
  const DialogControl* c = find(id);
  return c ? c->text : std::wstring();
}

bool DialogForm::checked(int id, bool fallback) const {
  const DialogControl* c = find(id);
  return c ? c->checked : fallback;
}

void DialogForm::set_text(int id, std::wstring text) {
  if (DialogControl* c = find(id)) c->text = std::move(text);
}

std::vector<std::wstring> list_items(std::initializer_list<std::string_view> texts) {
  std::vector<std::wstring> out;
  out.reserve(texts.size());
  for (std::string_view t : texts) out.emplace_back(t.begin(), t.end());
  return out;
}

}  // namespace quelor
