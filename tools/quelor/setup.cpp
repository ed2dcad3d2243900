// quelor setup --program NAME --dialog survey|system|geometry|alarm|gps|mask
//   [--settings FILE] [--select ID=INDEX] [--text ID=TEXT] [--check ID=0|1]
//   [--out FILE]
// A setup dialog of a program without its window: filled from the program's
// default settings (or FILE), given the operator's entries in order (each
// runs the dialog's live rules, as the control would), confirmed with OK.
// Prints one JSON line per control as the dialog then shows it, one per
// operator message, and writes the settings file the program would save to
// --out.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"
#include "datafile/output_file.h"
#include "json.h"
#include "settings/instrument_defaults.h"
#include "settings/settings_text.h"
#include "settings/value_text.h"
#include "setup/alarm_setup.h"
#include "setup/control_ids.h"
#include "setup/geometry_setup.h"
#include "setup/gps_setup.h"
#include "setup/survey_setup.h"
#include "setup/system_setup.h"

namespace quelor::tool {

namespace {

int fail(const std::string& message) {
  std::fprintf(stderr, "quelor setup: %s\n", message.c_str());
  return 2;
}

bool find_program(const std::string& name, Variant& v) {
  for (const VariantRow& row : variant_table())
    for (int nav : {0, 1})
      if (row.line[nav].program_name == name) {
        v = Variant{row.instrument_type, nav};
        return true;
      }
  return false;
}

struct Entry {
  enum Kind { kSelect, kText, kCheck } kind;
  int id;
  std::string value;
};

// The open dialog: its form and, for Survey Setup, its session.
struct OpenDialog {
  std::string name;
  SurveySetupSession survey;
  DialogForm form;
  DialogForm& controls() { return name == "survey" ? survey.form : form; }
};

bool open_dialog(OpenDialog& d, const Settings& s, const Variant& v) {
  if (d.name == "survey")
    d.survey = survey_setup_session(s, v);
  else if (d.name == "system")
    d.form = system_setup_form(s, v);
  else if (d.name == "geometry")
    d.form = geometry_setup_form(s, v);
  else if (d.name == "alarm")
    d.form = alarm_setup_form(s);
  else if (d.name == "gps")
    d.form = gps_input_form(s);
  else if (d.name == "mask")
    d.form = gps_mask_form(s);
  else
    return false;
  return true;
}

// One entry into its control, then the dialog's rule for that control.
bool enter(OpenDialog& d, const Entry& e, const Settings& s, const Variant& v) {
  DialogControl* c = d.controls().find(e.id);
  if (!c || !c->enabled) return false;
  if (e.kind == Entry::kSelect) {
    const int index = std::atoi(e.value.c_str());
    if (index < 0 || index >= static_cast<int>(c->items.size())) return false;
    if (d.name == "survey" && e.id == IDC_SURVEY_MODE) {
      survey_setup_mode_selected(d.survey, index, s, v);
      return true;
    }
    c->selection = index;
  } else if (e.kind == Entry::kText) {
    if (c->read_only) return false;
    c->text = widen_text(e.value);
    if (c->text_limit > 0 && c->text.size() > static_cast<std::size_t>(c->text_limit)) c->text.resize(c->text_limit);
  } else if (d.name == "geometry" && c->kind == ControlKind::kRadio) {
    geometry_unit_selected(d.form, e.id);
  } else {
    c->checked = e.value != "0";
  }
  if (d.name == "system") update_system_setup(d.form, v);
  if (d.name == "alarm") update_alarm_setup(d.form);
  if (d.name == "gps") update_gps_input(d.form);
  return true;
}

std::vector<OperatorMessage> press_ok(OpenDialog& d, Settings& s, const Variant& v) {
  if (d.name == "survey") store_survey_setup(d.survey, s, v);
  if (d.name == "system") return store_system_setup(d.form, s, v);
  if (d.name == "geometry") store_geometry_setup(d.form, s, v);
  if (d.name == "alarm") store_alarm_setup(d.form, s);
  if (d.name == "gps") store_gps_input(d.form, s);
  if (d.name == "mask") return store_gps_mask(d.form, s);
  return {};
}

const char* kind_name(ControlKind k) {
  switch (k) {
    case ControlKind::kList: return "list";
    case ControlKind::kEdit: return "edit";
    case ControlKind::kCheck: return "check";
    case ControlKind::kRadio: return "radio";
    case ControlKind::kLabel: return "label";
  }
  return "?";
}

void print_control(const DialogControl& c) {
  JsonObject o;
  o.integer("control", c.id).str("kind", kind_name(c.kind));
  if (c.kind == ControlKind::kList) {
    std::string items = "[";
    for (std::size_t i = 0; i < c.items.size(); ++i) items += (i ? "," : "") + json_string(narrow_text(c.items[i]));
    o.raw("items", items + "]").integer("selection", c.selection);
  }
  if (c.kind == ControlKind::kEdit || c.kind == ControlKind::kLabel) o.str("text", narrow_text(c.text));
  if (c.kind == ControlKind::kCheck || c.kind == ControlKind::kRadio) o.boolean("checked", c.checked);
  o.boolean("enabled", c.enabled).boolean("visible", c.visible);
  std::printf("%s\n", o.text().c_str());
}

bool parse_entry(const char* flag, const char* arg, Entry& e) {
  const char* eq = arg ? std::strchr(arg, '=') : nullptr;
  if (!eq) return false;
  e.id = std::atoi(arg);
  e.value = eq + 1;
  e.kind = std::strcmp(flag, "--select") == 0 ? Entry::kSelect
           : std::strcmp(flag, "--text") == 0 ? Entry::kText
                                              : Entry::kCheck;
  return e.id > 0;
}

bool load_settings(const std::string& path, Settings& s, const Variant& v) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream text;
  text << in.rdbuf();
  const std::string all = text.str();
  const std::size_t first = all.find("\r\n");
  if (first == std::string::npos || all.compare(0, first, "Ver" + std::string(product_names(v).version)) != 0)
    return false;
  read_settings_text(std::string_view(all).substr(first + 2), s, v);
  return true;
}

}  // namespace

int run_setup(int argc, char** argv) {
  std::string program, settings_path, out_path;
  OpenDialog d;
  std::vector<Entry> entries;
  for (int i = 1; i < argc; i += 2) {  // every option takes a value
    const char* a = argv[i];
    const char* next = i + 1 < argc ? argv[i + 1] : nullptr;
    if (!next) return fail(std::string("missing value after ") + a);
    if (std::strcmp(a, "--program") == 0)
      program = next;
    else if (std::strcmp(a, "--dialog") == 0)
      d.name = next;
    else if (std::strcmp(a, "--settings") == 0)
      settings_path = next;
    else if (std::strcmp(a, "--out") == 0)
      out_path = next;
    else if (std::strcmp(a, "--select") == 0 || std::strcmp(a, "--text") == 0 || std::strcmp(a, "--check") == 0) {
      Entry e{};
      if (!parse_entry(a, next, e)) return fail(std::string("expected ID=VALUE after ") + a);
      entries.push_back(e);
    } else {
      return fail(std::string("unknown option ") + a);
    }
  }
  Variant v;
  if (!find_program(program, v)) return fail("unknown program '" + program + "'");
  std::vector<std::string> inputs;
  if (!settings_path.empty()) inputs.push_back(settings_path);
  if (!out_path.empty())
    if (const std::string why = output_refusal(out_path, inputs); !why.empty()) return fail(why);
  Settings s = initial_settings(v);
  if (!settings_path.empty() && !load_settings(settings_path, s, v))
    return fail("cannot read " + settings_path + " as a settings file of " + program);
  if (!open_dialog(d, s, v)) return fail("unknown dialog '" + d.name + "'");
  for (const Entry& e : entries)
    if (!enter(d, e, s, v)) return fail("control " + std::to_string(e.id) + " takes no such entry");
  for (const DialogControl& c : d.controls().controls) print_control(c);
  for (const OperatorMessage& m : press_ok(d, s, v))
    std::printf("%s\n", JsonObject().str("message", m.title).str("text", m.text).text().c_str());
  if (!out_path.empty())
    if (const std::string why = write_output_file(out_path, inputs, settings_file_text(s, v)); !why.empty())
      return fail(why);
  return 0;
}

}  // namespace quelor::tool
