#pragma once
// Keyboard access to every field of the setup dialogs: each field's label
// (or a check box's or radio button's own text) has an underlined letter,
// unique within its dialog, so that Alt+letter moves to the field. Labels
// that the dialog logic rewrites while the dialog is open ("EM38 State:",
// "Samples/Rdg:", "Wheel Increment", "HDOP" ...) get their letter here, the
// same in every text they show; the dialog forms keep the plain texts.

#include <string>
#include <string_view>

namespace quelor {

// `text` with "&" before the first letter of `letters` (tried in order,
// either case) that it holds; unchanged when it holds none.
std::wstring with_accelerator(std::wstring_view text, std::wstring_view letters);

// The text a rewritten label shows in the dialog: its accelerator added for
// the labels the logic rewrites, any other text unchanged.
std::wstring label_with_accelerator(int label_id, std::wstring_view text);

// The letters tried for a rewritten label; empty for other ids.
std::wstring_view runtime_label_letters(int label_id);

}  // namespace quelor
