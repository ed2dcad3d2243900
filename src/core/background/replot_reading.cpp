#include "background/replot_reading.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "map/colour_class.h"
#include "map/segment_buffer.h"
#include "serial/decode_em31.h"
#include "serial/decode_em38mk2.h"
#include "serial/decode_em61.h"
#include "serial/decode_lines.h"
#include "survey/start_plan.h"
#include "variant/variant.h"

namespace quelor {

namespace {

struct Values {
  std::optional<double> first, second;
  int kind = 0;
};

std::vector<std::uint8_t> bytes_of(std::string_view record, std::size_t length) {
  std::vector<std::uint8_t> b(record.begin(), record.begin() + static_cast<long>(std::min(length, record.size())));
  b.resize(length, ' ');
  return b;
}

std::optional<double> slot(const ChannelSlots& s, int a, int b) {
  if (s.present[static_cast<std::size_t>(a)]) return s.value[static_cast<std::size_t>(a)];
  if (s.present[static_cast<std::size_t>(b)]) return s.value[static_cast<std::size_t>(b)];
  return std::nullopt;
}

Values t_record_values(const ReplotReading& r, std::string_view record) {
  std::vector<std::uint8_t> b = bytes_of(record, 12);
  b[0] = 'T';  // column 0 may hold the readings-since-last-record digit
  Values v;
  if (r.instrument_type == kEm34_3) {
    const Em31Reading d = decode_em34_3(b, {});
    if (d.dipole_code >= 0 && d.dipole_code < 6) {
      v.first = d.slots.value[static_cast<std::size_t>(d.dipole_code)];
      if (r.manual_em34) v.kind = d.dipole_code % 3;
    }
    return v;
  }
  const Em31Reading d = r.instrument_type == kEm38 ? decode_em38(b, {}) : decode_em31_mk2(b, {});
  if (r.instrument_type == kEm38) {
    v.first = d.inphase_record ? slot(d.slots, 2, 3) : slot(d.slots, 0, 1);
    return v;
  }
  v.first = r.colour_map_view == 2 ? slot(d.slots, 2, 3) : slot(d.slots, 0, 1);
  return v;
}

Values em38mk2_values(const ReplotReading& r, std::string_view record) {
  const Em38Mk2Reading d = decode_em38_mk2(bytes_of(record, 14), {}, false);
  constexpr std::array<std::array<int, 2>, 4> kSlots{{{0, 1}, {2, 3}, {4, 5}, {6, 7}}};
  const auto& s = kSlots[static_cast<std::size_t>(std::clamp(r.colour_map_view, 1, 4) - 1)];
  return {slot(d.slots, s[0], s[1]), std::nullopt};
}

Values em38_4_values(const ReplotReading& r, std::string_view record) {
  const Em38_4Reading d = decode_em38_4(bytes_of(record, 26), {}, false);
  return {d.slots[static_cast<std::size_t>(std::clamp(r.colour_map_view, 1, 8) - 1)], std::nullopt};
}

Values cs21_values(const ReplotReading& r, std::string_view record) {
  const Cs21Reading d = decode_cs21(record);
  const bool inphase = r.colour_map_view % 2 == 0;
  return {d.values[inphase ? 1 : 0], d.values[inphase ? 3 : 2]};
}

Values grad601_values(const ReplotReading& r, std::string_view record) {
  const Grad601Reading d = decode_grad601(record, r.two_values);
  return {d.values[0], r.two_values ? d.values[1] : std::nullopt};
}

// EM61 channel words (signed, big-endian) at 2-3, 4-5, 6-7, 8-9 over their
// range factors: EM61-MK2 raw x 4.8333 / factor, EM61-LX2 raw x 20 / factor.
double em61_channel(std::string_view record, int channel, double scale) {
  const auto byte = [&](std::size_t i) { return i < record.size() ? static_cast<std::uint8_t>(record[i]) : 0; };
  const std::size_t at = 2 + 2 * static_cast<std::size_t>(channel);
  const auto raw = static_cast<std::int16_t>((byte(at) << 8) | byte(at + 1));
  const int factor = em61_range_factors(byte(1))[static_cast<std::size_t>(channel)];
  return raw * scale / factor;
}

Values em61_values(const ReplotReading& r, std::string_view record) {
  if (r.instrument_type == kEm61Mk2) return {em61_channel(record, std::clamp(r.colour_map_view, 1, 4) - 1, 4.8333), std::nullopt};
  // EM61-LX2: early, late (and filtered, taken as early) channel; two coils:
  // the left coil's pair at 2-5, the right coil's at 6-9.
  const int channel = r.colour_map_view == 2 ? 1 : 0;
  if (!r.two_values) return {em61_channel(record, channel, 20.0), std::nullopt};
  return {em61_channel(record, channel, 20.0), em61_channel(record, channel + 2, 20.0)};
}

Values values_of(const ReplotReading& r, std::string_view record) {
  switch (r.instrument_type) {
    case kEm38Mk2: return em38mk2_values(r, record);
    case kEm38_4: return em38_4_values(r, record);
    case kCs21: return cs21_values(r, record);
    case kGrad601: return grad601_values(r, record);
    case kEm61Mk2:
    case kEm61Lx2: return em61_values(r, record);
    default: return t_record_values(r, record);
  }
}

}  // namespace

ReplotReading replot_reading(const Settings& s, int type, bool two_sensors, bool manual_mode) {
  ReplotReading r;
  r.instrument_type = type;
  r.colour_map_view = s.colour_map_view;
  r.two_values = type == kCs21 || ((type == kGrad601 || type == kEm61Lx2) && two_sensors);
  r.manual_em34 = type == kEm34_3 && manual_mode;
  const auto& scale = colour_map_uses_scale_2(type, s.colour_map_view) ? s.profile_scale_2 : s.profile_scale_1;
  r.minimum = scale[0];
  r.maximum = scale[1];
  return r;
}

bool is_reading_record(int type, std::string_view record) {
  if (record.empty()) return false;
  const char c = record[0];
  if (type == kEm61Mk2 || type == kEm61Lx2) return c == 'T' || c == 'D' || c == 'E' || c == 'F';
  if (type == kEm31Mk2 || type == kEm38 || type == kEm34_3) return c == 'T' || (c >= '2' && c <= '6');
  return c == 'T';
}

std::optional<ReadingEntry> reading_entry(const ReplotReading& r, std::string_view record) {
  if (r.colour_map_view < 1 || !is_reading_record(r.instrument_type, record)) return std::nullopt;
  const Values v = values_of(r, record);
  if (!v.first) return std::nullopt;
  const int first = colour_class(*v.first, r.minimum, r.maximum);
  if (!r.two_values) return ReadingEntry{first, v.kind};
  const int second = v.second ? colour_class(*v.second, r.minimum, r.maximum) : first;
  return ReadingEntry{segment_pair_entry(first, second), v.kind};
}

}  // namespace quelor
