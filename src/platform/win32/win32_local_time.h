#pragma once
// The computer's local date and time (GetLocalTime).

#include "datafile/local_time.h"

namespace quelor {

class Win32LocalTime final : public LocalTimeSource {
 public:
  LocalTime local_time() override;
};

}  // namespace quelor
