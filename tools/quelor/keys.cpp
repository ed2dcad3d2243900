// quelor keys: what the logging window does with each key, by the key map and
// the command table: the command code, the action the dispatcher runs in the
// given state (or the notice that refuses it), and the menu text of the
// command. With --menu it lists the popup menu of the instrument and state.

#include <cctype>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "commands.h"
#include "json.h"
#include "survey/command_table.h"
#include "survey/logging_keys.h"
#include "survey/popup_menus.h"
#include "survey/survey_state.h"
#include "variant/variant.h"

namespace quelor::tool {

namespace {

const char kUsage[] =
    "usage: quelor keys --instrument NAME [--state monitoring|standby|logging] [--review] [--menu-open]\n"
    "                   [--pause-key any|enter|space|p] [--soft-marker] [--no-gps] [--no-instrument]\n"
    "                   [--no-map] (--menu | KEY...)\n"
    "  NAME: em31mk2 em38 em34-3 em38mk2 em38-4 cs21 grad601 em61lx2 em61mk2\n"
    "  KEY: a letter or digit, Tab, Enter, Space, Left, Up, Right, Down, F2, F3, Plus, Minus\n"
    "  Prints one JSON object per key (or per menu item with --menu).\n";

struct Named {
  const char* name;
  int value;
};

constexpr Named kInstrumentNames[] = {
    {"em31mk2", kEm31Mk2}, {"em38", kEm38},       {"em34-3", kEm34_3},   {"em38mk2", kEm38Mk2}, {"em38-4", kEm38_4},
    {"cs21", kCs21},       {"grad601", kGrad601}, {"em61lx2", kEm61Lx2}, {"em61mk2", kEm61Mk2},
};
constexpr Named kStates[] = {{"monitoring", kStateMonitoring}, {"standby", kStateStandBy}, {"logging", kStateLogging}};
constexpr Named kPauseKeys[] = {{"any", 0}, {"enter", 1}, {"space", 2}, {"p", 3}};
constexpr Named kKeys[] = {{"tab", 0x09}, {"enter", 0x0D}, {"space", 0x20}, {"left", 0x25},
                           {"up", 0x26},  {"right", 0x27}, {"down", 0x28},  {"f2", 0x71},
                           {"f3", 0x72},  {"plus", 0xBB},  {"minus", 0xBD}};

bool same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

template <std::size_t N>
std::optional<int> lookup(const Named (&table)[N], std::string_view name) {
  for (const Named& n : table)
    if (same(name, n.name)) return n.value;
  return std::nullopt;
}

// A virtual-key code: one letter or digit, or a key name.
std::optional<std::uint32_t> key_code(std::string_view name) {
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0])))
    return static_cast<std::uint32_t>(std::toupper(static_cast<unsigned char>(name[0])));
  if (auto k = lookup(kKeys, name)) return static_cast<std::uint32_t>(*k);
  return std::nullopt;
}

const char* effect_name(KeyEffect e) {
  switch (e) {
    case KeyEffect::kCommand: return "command";
    case KeyEffect::kFocusNextButton: return "focus next button";
    case KeyEffect::kPressFocusedButton: return "press focused button";
    case KeyEffect::kSoftMarker: return "soft marker";
    default: return "none";
  }
}

std::string action_name(int action) {
  switch (action) {
    case kActionNone: return "none";
    case kActionFile: return "File";
    case kActionGo: return "Go";
    case kActionPause: return "Pause";
    case kActionQuickLine: return "Quick Line";
    case kActionExit: return "Exit";
    case kActionMenu: return "Menu";
    default: return "";
  }
}

// The menu text of a code without its '&'; empty without a menu item.
std::string menu_text_of(int code, InstrumentType type) {
  const CommandRow* row = find_command(code);
  const char* text = row && row->menu_id ? menu_item_text(row->menu_id, type) : nullptr;
  std::string out;
  for (const char* p = text; p && *p; ++p)
    if (*p != '&') out += *p;
  return out;
}

struct Options {
  KeyContext keys;
  CommandSituation situation;
  bool menu = false;
  bool have_instrument = false;
};

void print_key(const Options& o, std::string_view name, std::uint32_t key) {
  const KeyDecision d = decode_logging_key(o.keys, key);
  JsonObject j;
  j.str("key", name);
  j.str("effect", effect_name(d.effect));
  if (d.effect == KeyEffect::kCommand) {
    const CommandStep step = dispatch_command(d.command, o.situation);
    j.integer("code", d.command);
    std::string action = action_name(step.action);
    if (action.empty()) action = menu_text_of(step.action, o.keys.instrument_type);
    if (action.empty()) action = "code " + std::to_string(step.action);
    j.str("action", action);
    const std::string text = menu_text_of(d.command, o.keys.instrument_type);
    if (!text.empty()) j.str("menu_text", text);
    if (step.refusal) j.str("refused", step.refusal->text);
  }
  std::printf("%s\n", j.text().c_str());
}

void print_menu(const Options& o) {
  const int id = popup_menu_id(o.keys.instrument_type, o.keys.state);
  for (int item : popup_menu_items(id)) {
    if (!popup_item_offered(o.keys.instrument_type, item)) continue;
    JsonObject j;
    j.integer("menu", id);
    j.integer("item", item);
    j.integer("code", command_of_menu_item(item));
    j.str("text", menu_item_text(item, popup_menu_instrument(id)));
    std::printf("%s\n", j.text().c_str());
  }
}

int bad(const std::string& why) {
  std::fprintf(stderr, "quelor keys: %s\n%s", why.c_str(), kUsage);
  return 2;
}

}  // namespace

int run_keys(int argc, char** argv) {
  Options o;
  o.situation.selector_count = kMaxChannelCommands;
  int first_key = argc;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--instrument" && has_value) {
      const std::optional<int> number = lookup(kInstrumentNames, argv[++i]);
      const std::optional<InstrumentType> type = number ? instrument_type_from_number(*number) : std::nullopt;
      if (!type) return bad(std::string("unknown instrument '") + argv[i] + "'");
      o.keys.instrument_type = o.situation.instrument_type = *type;
      o.have_instrument = true;
    } else if (arg == "--state" && has_value) {
      const auto state = lookup(kStates, argv[++i]);
      if (!state) return bad(std::string("unknown state '") + argv[i] + "'");
      o.keys.state = o.situation.state = *state;
    } else if (arg == "--pause-key" && has_value) {
      const auto key = lookup(kPauseKeys, argv[++i]);
      if (!key) return bad(std::string("unknown pause key '") + argv[i] + "'");
      o.keys.pause_key = *key;
    } else if (arg == "--review") {
      o.keys.review = true;
    } else if (arg == "--menu-open") {
      o.keys.popup_menu = true;
    } else if (arg == "--soft-marker") {
      o.keys.soft_marker_keys = true;
    } else if (arg == "--no-gps") {
      o.situation.gps_used = false;
    } else if (arg == "--no-instrument") {
      o.situation.instrument_used = false;
    } else if (arg == "--no-map") {
      o.situation.map_shown = false;
    } else if (arg == "--menu") {
      o.menu = true;
    } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
      return bad("unknown option '" + std::string(arg) + "'");
    } else {
      first_key = i;
      break;
    }
  }
  if (!o.have_instrument) return bad("--instrument NAME is required");
  if (o.menu) {
    if (first_key != argc) return bad("--menu takes no keys");
    print_menu(o);
    return 0;
  }
  if (first_key == argc) return bad("no keys");
  for (int i = first_key; i < argc; ++i)
    if (!key_code(argv[i])) return bad(std::string("unknown key '") + argv[i] + "'");
  for (int i = first_key; i < argc; ++i) print_key(o, argv[i], *key_code(argv[i]));
  return 0;
}

}  // namespace quelor::tool
