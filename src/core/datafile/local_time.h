#pragma once
// The computer's local date and time (GetLocalTime on Windows), injected so
// that names and time stamps are tested with a fixed clock.

namespace quelor {

struct LocalTime {
  int year = 2000;
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

class LocalTimeSource {
 public:
  virtual ~LocalTimeSource() = default;
  virtual LocalTime local_time() = 0;
};

}  // namespace quelor
