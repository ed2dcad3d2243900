#include "export/reading_values.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <span>

#include "serial/decode_em31.h"
#include "serial/decode_em38mk2.h"
#include "serial/decode_em61.h"
#include "serial/decode_lines.h"
#include "variant/variant.h"

namespace quelor {

namespace {

using Values = std::vector<std::optional<double>>;

std::string number(double v) {
  if (!std::isfinite(v)) return {};
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.10g", v == 0.0 ? 0.0 : v);  // no "-0"
  return buf;
}

std::string emagpy_coil(const char* orientation, double separation, double frequency, double height,
                        bool inphase) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%s%gf%gh%g%s", orientation, separation, frequency, height, inphase ? "_inph" : "");
  return buf;
}

// A coil configuration: its conductivity and in-phase columns.
struct Coil {
  const char* label;        // "vertical", "vertical_100cm", "hcp_100cm" ...
  const char* orientation;  // EMagPy: "HCP", "VCP", "PRP"
  double separation;        // metres
  double frequency;         // hertz
};

void add_coil(std::vector<ValueColumn>& out, const Coil& c, double height, bool with_inphase = true) {
  out.push_back({std::string("conductivity_") + c.label + "_mS_m",
                 emagpy_coil(c.orientation, c.separation, c.frequency, height, false)});
  if (with_inphase)
    out.push_back({std::string("inphase_") + c.label + "_ppt",
                   emagpy_coil(c.orientation, c.separation, c.frequency, height, true)});
}

// The vertical dipole of these instruments has its coils horizontal coplanar.
void add_dipole_pair(std::vector<ValueColumn>& out, const char* suffix, double separation, double frequency,
                     double height) {
  const std::string v = std::string("vertical") + suffix, h = std::string("horizontal") + suffix;
  add_coil(out, {v.c_str(), "HCP", separation, frequency}, height);
  add_coil(out, {h.c_str(), "VCP", separation, frequency}, height);
}

std::vector<std::uint8_t> bytes_of(std::string_view text, std::size_t n) {
  std::vector<std::uint8_t> out(n, ' ');
  for (std::size_t i = 0; i < n && i < text.size(); ++i) out[i] = static_cast<std::uint8_t>(text[i]);
  return out;
}

// Columns: V conductivity, V in-phase, H conductivity, H in-phase; the
// decoder's slots are 0 V, 1 H conductivity, 2 V, 3 H in-phase (and 4-7 the
// same for a second coil).
Values dipole_slots(const ChannelSlots& s, int coils) {
  static constexpr int kOrder[4] = {0, 2, 1, 3};
  Values out;
  for (int coil = 0; coil < coils; ++coil)
    for (int i : kOrder) {
      const int slot = i + 4 * coil;
      out.push_back(s.present[slot] ? std::optional<double>(s.value[slot]) : std::nullopt);
    }
  return out;
}

Values em31_family(int type, std::string_view body, const ReadingSetup& setup) {
  std::vector<std::uint8_t> record = bytes_of(body, 12);
  record[0] = 'T';  // column 0 may hold the count of readings since the last record
  Em31Options o;
  o.manual_mode = setup.survey_mode == 2;
  o.inphase_only = type == kEm31Mk2 && setup.component == 1;
  if (type == kEm34_3) {
    const Em31Reading r = decode_em34_3(record, o);
    Values out(6);
    for (int i = 0; i < 6; ++i)
      if (r.slots.present[i]) out[i] = r.slots.value[i];
    return out;
  }
  return dipole_slots(type == kEm38 ? decode_em38(record, o).slots : decode_em31_mk2(record, o).slots, 1);
}

Values em38_4(std::string_view body) {
  const Em38_4Reading r = decode_em38_4(bytes_of(body, 26), Em38_4Calibration{}, false);
  Values out(r.slots.begin(), r.slots.end());
  out.insert(out.end(), r.extra.begin(), r.extra.end());
  return out;
}

Values cs21(std::string_view body) {
  std::string_view line = body.substr(1);
  while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
  const Cs21Reading r = decode_cs21(line);
  Values out(8);
  // $PDLM1: the 1 m and 1.1 m coils; $PDLM2: the 2 m and 2.1 m coils.
  const int base = r.flag == '1' ? 0 : r.flag == '2' ? 4 : -1;
  if (base >= 0)
    for (int i = 0; i < 4; ++i) out[base + i] = r.values[i];
  return out;
}

Values grad601(std::string_view body, const ReadingSetup& setup) {
  std::string_view line = body.substr(1);
  while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
  const Grad601Reading r = decode_grad601(line, setup.two_sensors);
  return {r.values[0], r.values[1]};
}

Values em61(int type, std::string_view body, const ReadingSetup& setup) {
  RecordBytes record;
  const std::vector<std::uint8_t> b = bytes_of(body, 16);
  assign_record(record, b.data(), b.size());
  CurrentRing off = make_current_ring(0);
  Em61Reading r;
  if (type == kEm61Mk2) {
    // The file holds the mean current at 10-12 and the record's own bytes at 13-15.
    for (int i = 0; i < 3; ++i) record.bytes[10 + i] = record.bytes[13 + i];
    record.length = 13;
    Em61Mk2Options o;
    o.coil_type = setup.em61_model;
    r = decode_em61_mk2(record, o, off, setup.null_values);
  } else {
    record.length = 13;
    r = decode_em61_lx2(record, setup.two_sensors, off, setup.null_values);
  }
  Values out(4);
  for (int i = 0; i < r.channel_count && i < 4; ++i) out[i] = r.channels[i];
  return out;
}

}  // namespace

bool is_conductivity_meter(int t) {
  return t == kEm31Mk2 || t == kEm38 || t == kEm34_3 || t == kEm38Mk2 || t == kEm38_4 || t == kCs21;
}

std::vector<ValueColumn> reading_value_columns(int type, double h) {
  std::vector<ValueColumn> out;
  switch (type) {
    case kEm31Mk2: add_dipole_pair(out, "", 3.66, 9800, h); break;
    case kEm38: add_dipole_pair(out, "", 1.0, 14600, h); break;
    case kEm38Mk2:
      add_dipole_pair(out, "_100cm", 1.0, 14500, h);
      add_dipole_pair(out, "_50cm", 0.5, 14500, h);
      break;
    case kEm34_3: {
      static const Coil kCoils[6] = {{"vertical_10m", "HCP", 10, 6400},   {"vertical_20m", "HCP", 20, 1600},
                                     {"vertical_40m", "HCP", 40, 400},    {"horizontal_10m", "VCP", 10, 6400},
                                     {"horizontal_20m", "VCP", 20, 1600}, {"horizontal_40m", "VCP", 40, 400}};
      for (const Coil& c : kCoils) add_coil(out, c, h, false);
      break;
    }
    case kEm38_4: {
      static const Coil kCoils[4] = {{"100cm", "HCP", 1.0, 14500}, {"88cm", "HCP", 0.88, 14500},
                                     {"50cm", "HCP", 0.5, 14500},  {"75cm", "HCP", 0.75, 14500}};
      for (const Coil& c : kCoils) add_coil(out, c, h);
      for (const char* n : {"aux1", "aux2", "aux3", "aux4"}) out.push_back({n, ""});
      break;
    }
    case kCs21: {
      static const Coil kCoils[4] = {{"hcp_100cm", "HCP", 1.0, 9000}, {"prp_110cm", "PRP", 1.1, 9000},
                                     {"hcp_200cm", "HCP", 2.0, 9000}, {"prp_210cm", "PRP", 2.1, 9000}};
      for (const Coil& c : kCoils) add_coil(out, c, h);
      break;
    }
    case kGrad601: out = {{"sensor1_nT", ""}, {"sensor2_nT", ""}}; break;
    case kEm61Mk2:
    case kEm61Lx2:
      out = {{"record_letter", "", true}, {"ch1_mV", ""}, {"ch2_mV", ""}, {"ch3_mV", ""}, {"ch4_mV", ""}};
      break;
    default: break;
  }
  return out;
}

std::vector<std::string> reading_values(int type, std::string_view body, const ReadingSetup& setup) {
  Values values;
  std::vector<std::string> out;
  switch (type) {
    case kEm31Mk2:
    case kEm38:
    case kEm34_3: values = em31_family(type, body, setup); break;
    case kEm38Mk2: values = dipole_slots(decode_em38_mk2(bytes_of(body, 14), Em38Mk2Offsets{}, false).slots, 2); break;
    case kEm38_4: values = em38_4(body); break;
    case kCs21: values = cs21(body); break;
    case kGrad601: values = grad601(body, setup); break;
    case kEm61Mk2:
    case kEm61Lx2:
      out.push_back(body.empty() ? std::string() : std::string(1, body[0]));
      values = em61(type, body, setup);
      break;
    default: break;
  }
  for (const std::optional<double>& v : values) out.push_back(v ? number(*v) : std::string());
  return out;
}

}  // namespace quelor
