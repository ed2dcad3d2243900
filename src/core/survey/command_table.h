#pragma once
// The logging window's command table: every command code with its menu item,
// menu text and what it needs, and the one dispatcher that turns a code into
// the action to run (or the notice that refuses it).

#include <optional>
#include <span>

#include "datafile/message_box.h"
#include "variant/variant.h"

namespace quelor {

// What a command needs before it runs.
enum class CommandNeed { kNothing, kInstrument, kGps, kMap, kGpsAndMap, kInstrumentAndGps };

struct CommandRow {
  int code;
  int menu_id;            // 501..521; 0 when no menu item gives the code
  const char* menu_text;  // as in the menu; nullptr without a menu item
  CommandNeed need;
};

// Every command code of the logging window, buttons first, then the menu
// items, the map buttons and the first channel selector (the other selectors
// share its row).
std::span<const CommandRow> command_table();

// The row of a code (channel selector codes 142 upward share one row);
// nullptr for an unknown code.
const CommandRow* find_command(int code);

// The code of a menu item id (501..521), kCmdNone otherwise.
int command_of_menu_item(int menu_id);

// The menu text of a menu item for an instrument ("Ca&librate Filter" on the
// EM61-LX2); nullptr for an unknown id.
const char* menu_item_text(int menu_id, InstrumentType instrument_type);

// What a code runs. Codes 101 upward run their own action (channel selectors
// all run kCmdFirstChannel with their code; the map's pan, zoom, fit and
// review codes only with a data file open and the map shown); codes 0-3 run
// the action of the state, and code 1 in Monitoring runs Map Size (110) or,
// on EM61 types, Nulling (104).
enum LoggingAction : int {
  kActionNone = -1,
  kActionFile = 1000,
  kActionGo,
  kActionPause,
  kActionQuickLine,
  kActionExit,
  kActionMenu,
};

struct CommandSituation {
  int state = 0;
  InstrumentType instrument_type = kEm31Mk2;
  bool instrument_used = true;
  bool gps_used = true;
  bool map_shown = true;
  int selector_count = 0;
};

struct CommandStep {
  int action = kActionNone;
  // "Option avaiable only when ... is enabled / map is visible": shown
  // instead of running the action.
  std::optional<OperatorMessage> refusal;
};

CommandStep dispatch_command(int code, const CommandSituation& situation);

// The notice of an unmet need, nothing when the need is met.
std::optional<OperatorMessage> unmet_need(CommandNeed need, const CommandSituation& situation);

}  // namespace quelor
