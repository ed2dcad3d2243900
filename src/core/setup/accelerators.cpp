#include "setup/accelerators.h"

#include <cwctype>

#include "setup/control_ids.h"

namespace quelor {

namespace {

struct RuntimeLabel {
  int id;
  const wchar_t* letters;  // the first one the text holds
};

// Letters that the label's texts hold and no other field of its dialogs
// uses (the rate label also reads "Samples/Rdg:", the dipole label
// "Configurations:", the EM38-4 type label "Inphase Units:", the dilution
// label "Quality (m)", the third geometry value "Separation:").
constexpr RuntimeLabel kRuntimeLabels[] = {
    {IDC_RATE_LABEL, L"R"},           {IDC_DIPOLE_LABEL, L"o"},         {IDC_STATION_INCREMENT_LABEL, L"c"},
    {IDC_STATE_LABEL, L"S"},          {IDC_PORT_LABEL, L"o"},           {IDC_TYPE_LABEL, L"yI"},
    {IDC_ANTENNA_HEIGHT_LABEL, L"H"}, {IDC_MASK_DILUTION_LABEL, L"Du"}, {IDC_THIRD_VALUE + 10000, L"HS"},
};

}  // namespace

std::wstring with_accelerator(std::wstring_view text, std::wstring_view letters) {
  for (wchar_t letter : letters) {
    const wint_t wanted = std::towlower(static_cast<wint_t>(letter));
    for (std::size_t i = 0; i < text.size(); ++i)
      if (std::towlower(static_cast<wint_t>(text[i])) == wanted)
        return std::wstring(text.substr(0, i)) + L"&" + std::wstring(text.substr(i));
  }
  return std::wstring(text);
}

std::wstring_view runtime_label_letters(int label_id) {
  for (const RuntimeLabel& r : kRuntimeLabels)
    if (r.id == label_id) return r.letters;
  return {};
}

std::wstring label_with_accelerator(int label_id, std::wstring_view text) {
  const std::wstring_view letters = runtime_label_letters(label_id);
  return letters.empty() ? std::wstring(text) : with_accelerator(text, letters);
}

}  // namespace quelor
