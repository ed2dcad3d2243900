#include "survey/side_cue.h"

#include <cmath>

namespace quelor {

SideIndication side_indication(double a1, double a2, bool f1, bool f2, double k, bool alarm_enabled) {
  SideIndication s;
  if (!f1 && !f2) {
    if (alarm_enabled) s.fields = {CueField::kWhite, CueField::kWhite, CueField::kWhite};
    return s;
  }
  const double dv = std::fabs(a1 - a2);
  const double smaller = std::fabs(a1) < std::fabs(a2) ? std::fabs(a1) : std::fabs(a2);
  const double d = std::fabs(k * smaller);
  if (d > dv) {
    s.code = kSideBetween;
    s.fields = {CueField::kWhite, CueField::kRed, CueField::kWhite};
    return s;
  }
  s.code = f2 ? (f1 ? kSideBoth : kSideRight) : kSideLeft;
  s.fields = {f1 ? CueField::kRed : CueField::kWhite, CueField::kWhite, f2 ? CueField::kRed : CueField::kWhite};
  return s;
}

std::string_view side_voice(int code) {
  switch (code) {
    case kSideLeft: return "LEFTSOUND";
    case kSideBetween: return "BETWEENSOUND";
    case kSideRight: return "RIGHTSOUND";
    case kSideBoth: return "LEFTRIGHTSOUND";
    default: return {};
  }
}

}  // namespace quelor
