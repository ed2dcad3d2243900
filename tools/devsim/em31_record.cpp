#include "devsim/em31_record.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace quelor::devsim {
namespace {

constexpr int kMarkerBit = 0x40;
constexpr int kDipoleBit = 0x20;
constexpr double kMaxCount = 9999;

struct RangeCode {
  int range;
  int code;
  double scale;
};

// EM31-MK2: 0 or 6 -> 1000, 4 -> 100, others -> 10. Code 0 would make the
// status byte NUL for a horizontal reading, so 1000 is sent as 6.
constexpr std::array<RangeCode, 3> kEm31Ranges{{{10, 2, -0.0025}, {100, 4, -0.025}, {1000, 6, -0.25}}};

// EM34-3 remaining status value -> range.
constexpr std::array<RangeCode, 6> kEm34Ranges{
    {{3, 0, -0.00075}, {10, 2, -0.0025}, {30, 3, -0.0075}, {100, 4, -0.025}, {300, 5, -0.075}, {1000, 6, -0.25}}};

// EM38: code 2 range 100, 3 range 1000 (+4 for in-phase); bit 4 divides the
// scale by 8.
struct Em38Scale {
  int code;
  bool fine;
  double conductivity_scale;
  double inphase_scale;
};
constexpr std::array<Em38Scale, 4> kEm38Scales{{
    {2, true, -0.00288 / 8, -0.1 / 8},
    {2, false, -0.00288, -0.1},
    {3, true, -0.0288 / 8, -1.0 / 8},
    {3, false, -0.0288, -1.0},
}};

template <std::size_t N>
const RangeCode& pick_range(const std::array<RangeCode, N>& table, double value, int requested) {
  for (const RangeCode& r : table)
    if (r.range == requested) return r;
  for (const RangeCode& r : table)
    if (std::fabs(value / r.scale) <= kMaxCount) return r;
  return table.back();
}

std::string text_record(int status, const std::string& v1, const std::string& v2) {
  std::string s = "T";
  s += static_cast<char>(status);
  s += v1;
  s += v2;
  s += '\r';
  return s;
}

}  // namespace

std::string five_char_value(double value, double scale) {
  const double count = std::clamp(std::round(value / scale), -kMaxCount, kMaxCount);
  char buf[16];
  std::snprintf(buf, sizeof buf, "%+05d", static_cast<int>(count));
  return buf;
}

int em31_range_for(double conductivity, int requested) {
  return pick_range(kEm31Ranges, conductivity, requested).range;
}

std::string encode_em31_record(const Em31Reading& r) {
  const RangeCode& range = pick_range(kEm31Ranges, r.conductivity, r.range);
  const int status = (r.marker ? kMarkerBit : 0) | (r.vertical ? kDipoleBit : 0) | range.code;
  // Bit 0 clear: the in-phase value is on the fixed -0.0025 ppt scale.
  return text_record(status, five_char_value(r.conductivity, range.scale), five_char_value(r.inphase, -0.0025));
}

namespace {

const Em38Scale& em38_scale_for(double value, bool inphase) {
  for (const Em38Scale& s : kEm38Scales)
    if (std::fabs(value / (inphase ? s.inphase_scale : s.conductivity_scale)) <= kMaxCount) return s;
  return kEm38Scales.back();
}

}  // namespace

double em38_resolution(double value, bool inphase) {
  const Em38Scale& s = em38_scale_for(value, inphase);
  return std::fabs(inphase ? s.inphase_scale : s.conductivity_scale);
}

std::string encode_em38_record(const Em38Reading& r) {
  const Em38Scale* chosen = &em38_scale_for(r.value, r.inphase);
  const double scale = r.inphase ? chosen->inphase_scale : chosen->conductivity_scale;
  const int status = (r.marker ? kMarkerBit : 0) | (r.vertical ? kDipoleBit : 0) | (chosen->fine ? 0x10 : 0) |
                     (chosen->code + (r.inphase ? 4 : 0));
  const std::string v1 = five_char_value(r.value, scale);
  return text_record(status, v1, r.length == 7 ? "" : "+0000");
}

int em34_range_for(double conductivity, int requested) {
  return pick_range(kEm34Ranges, conductivity, requested).range;
}

std::string encode_em34_record(const Em34Reading& r) {
  const RangeCode& range = pick_range(kEm34Ranges, r.conductivity, r.range);
  // 10 m: 16 + code; 40 m: 24 + code; 20 m: the code itself (8 for range 3,
  // which would otherwise be a NUL byte; 8 + 5 would be a carriage return).
  int spacing_bits = 0;
  if (r.spacing == 10)
    spacing_bits = 16;
  else if (r.spacing == 40)
    spacing_bits = 24;
  else if (range.code == 0)
    spacing_bits = 8;
  const int status = (r.marker ? kMarkerBit : 0) | (r.horizontal ? 0x20 : 0) | spacing_bits | range.code;
  return text_record(status, five_char_value(r.conductivity, range.scale), "+0000");
}

}  // namespace quelor::devsim
