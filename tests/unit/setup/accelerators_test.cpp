// Keyboard access to the setup dialogs, read from the dialog templates
// themselves: every field has an underlined letter (its label's, or its own
// text's), unique within its dialog; the Tab order is the reading order; the
// labels the dialog logic rewrites keep their letter in every text.
#include "setup/accelerators.h"

#include <gtest/gtest.h>

#include <cwctype>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "settings/instrument_defaults.h"
#include "setup/control_ids.h"
#include "setup/geometry_setup.h"
#include "setup/gps_setup.h"
#include "setup/survey_setup.h"
#include "setup/system_setup.h"

namespace quelor {
namespace {

struct Control {
  std::string kind, text;
  int id = 0, x = 0, y = 0;
};

struct Template {
  std::string name;
  std::vector<Control> controls;  // in declaration (Tab) order
};

std::vector<Template> read_templates() {
  std::ifstream in(std::string(QUELOR_SOURCE_DIR) + "/src/app/setup_forms.rc");
  std::vector<Template> out;
  const std::regex head(R"(^(\w+) DIALOGEX)");
  const std::regex with_text(
      R"(^\s*(LTEXT|AUTOCHECKBOX|AUTORADIOBUTTON|PUSHBUTTON|DEFPUSHBUTTON) \"([^\"]*)\", (-?\w+), (\d+), (\d+))");
  const std::regex entry(R"(^\s*(COMBOBOX|EDITTEXT) (\d+), (\d+), (\d+))");
  std::string line;
  std::smatch m;
  while (std::getline(in, line)) {
    if (std::regex_search(line, m, head)) {
      out.push_back({m[1], {}});
    } else if (!out.empty() && std::regex_search(line, m, with_text)) {
      const std::string id = m[3];
      out.back().controls.push_back({m[1], m[2],
                                     std::isdigit(static_cast<unsigned char>(id.back())) ? std::stoi(id) : -2,
                                     std::stoi(m[4]), std::stoi(m[5])});
    } else if (!out.empty() && std::regex_search(line, m, entry)) {
      out.back().controls.push_back({m[1], "", std::stoi(m[2]), std::stoi(m[3]), std::stoi(m[4])});
    }
  }
  return out;
}

char accelerator_of(const std::string& text) {
  const std::size_t amp = text.find('&');
  return amp == std::string::npos || amp + 1 >= text.size()
             ? 0
             : static_cast<char>(std::tolower(static_cast<unsigned char>(text[amp + 1])));
}

bool is_field(const Control& c) {
  return c.kind == "COMBOBOX" || c.kind == "EDITTEXT" || c.kind == "AUTOCHECKBOX" || c.kind == "AUTORADIOBUTTON" ||
         (c.kind == "PUSHBUTTON" && c.id > 2);
}

TEST(Accelerators, EveryFieldOfEveryTemplateHasItsOwnLetter) {
  const std::vector<Template> templates = read_templates();
  ASSERT_EQ(templates.size(), 30u);
  int fields = 0;
  for (const Template& t : templates) {
    std::map<char, std::string> taken;
    for (std::size_t i = 0; i < t.controls.size(); ++i) {
      const Control& c = t.controls[i];
      if (!is_field(c)) continue;
      ++fields;
      // A list or edit field takes its letter from the label just before it.
      const Control* holder = &c;
      if (c.kind == "COMBOBOX" || c.kind == "EDITTEXT") {
        ASSERT_GT(i, 0u) << t.name << " " << c.id;
        holder = &t.controls[i - 1];
        EXPECT_EQ(holder->kind, "LTEXT") << t.name << " " << c.id;
        EXPECT_LE(holder->y, c.y + 4) << t.name << " " << c.id << ": its label is not beside or above it";
      }
      const char letter = accelerator_of(holder->text);
      EXPECT_NE(letter, 0) << t.name << ": no letter for " << c.id << " (" << holder->text << ")";
      if (letter == 0) continue;
      const auto [at, fresh] = taken.emplace(letter, holder->text);
      EXPECT_TRUE(fresh) << t.name << ": '" << letter << "' of " << holder->text << " is " << at->second << "'s";
      // A label the logic rewrites shows the same letter in its template.
      const std::wstring_view runtime = runtime_label_letters(holder->id);
      if (!runtime.empty()) {
        std::wstring lower;
        for (wchar_t r : runtime) lower += static_cast<wchar_t>(std::towlower(r));
        EXPECT_NE(lower.find(static_cast<wchar_t>(letter)), std::wstring::npos) << t.name << " " << holder->id;
      }
    }
  }
  EXPECT_GT(fields, 250);
}

TEST(Accelerators, TabOrderIsTheReadingOrder) {
  for (const Template& t : read_templates()) {
    const Control* previous = nullptr;
    for (const Control& c : t.controls) {
      if (!is_field(c)) continue;
      if (previous) {
        EXPECT_TRUE(c.y > previous->y + 4 || (std::abs(c.y - previous->y) <= 4 && c.x > previous->x))
            << t.name << ": " << c.id << " comes after " << previous->id;
      }
      previous = &c;
    }
  }
}

// Every text the logic writes into a rewritten label holds its letter.
TEST(Accelerators, RewrittenLabelsKeepTheirLetterInEveryText) {
  std::vector<std::pair<int, std::wstring>> shown;
  for (InstrumentType type : {kEm31Mk2, kEm38, kEm34_3, kEm38Mk2, kEm38_4, kCs21, kGrad601, kEm61Lx2, kEm61Mk2}) {
    for (int nav : {0, 1}) {
      const Variant v{type, nav};
      Settings s = initial_settings(v);
      for (int rigid : {0, 1}) {
        s.gps_antenna_rigid = rigid;
        for (const DialogControl& c : system_setup_form(s, v).controls)
          if (c.kind == ControlKind::kLabel && !c.text.empty()) shown.emplace_back(c.id, c.text);
      }
      for (int selection = 0; selection < 3; ++selection) {
        SurveySetupSession ss = survey_setup_session(s, v);
        survey_setup_mode_selected(ss, selection, s, v);
        for (const DialogControl& c : ss.form.controls)
          if (c.kind == ControlKind::kLabel && !c.text.empty()) shown.emplace_back(c.id, c.text);
      }
      if (!geometry_height_label(type).empty())
        shown.emplace_back(IDC_THIRD_VALUE + 10000, geometry_height_label(type));
    }
  }
  for (int format = 0; format < 9; ++format) shown.emplace_back(IDC_MASK_DILUTION_LABEL, dilution_label(format));
  int rewritten = 0;
  for (const auto& [id, text] : shown) {
    if (runtime_label_letters(id).empty()) continue;
    ++rewritten;
    const std::wstring with = label_with_accelerator(id, text);
    EXPECT_NE(with.find(L'&'), std::wstring::npos) << id << " [" << std::string(text.begin(), text.end()) << "]";
    EXPECT_EQ(with.size(), text.size() + 1);
  }
  EXPECT_GT(rewritten, 100);
  EXPECT_EQ(label_with_accelerator(IDC_STATE_LABEL, L"EM38 State:"), L"EM38 &State:");
  EXPECT_EQ(label_with_accelerator(IDC_RATE_LABEL, L"Samples/Rdg:"), L"Samples/&Rdg:");
  EXPECT_EQ(label_with_accelerator(IDC_MASK_DILUTION_LABEL, L"Quality (m)"), L"Q&uality (m)");
  EXPECT_EQ(label_with_accelerator(IDC_SURVEY_LINE, L"Survey Line:"), L"Survey Line:");
}

}  // namespace
}  // namespace quelor
