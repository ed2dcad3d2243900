#include "datafile/message_box.h"

namespace quelor {

const char* dialog_template_name(DialogTemplate t) {
  static const char* const kNames[] = {"MESSAGEOK", "MESSAGEOKCANCEL", "MESSAGEYESNO", "MESSAGENOYES"};
  return kNames[static_cast<int>(t)];
}

}  // namespace quelor
