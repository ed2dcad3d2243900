#include "export/reading_values.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <span>

#include "reading/reading_meaning.h"
#include "variant/variant.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

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

}  // namespace

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

std::vector<std::string> reading_values(const DecodeContext& decode, std::string_view body) {
  std::vector<std::string> out;
  const int type = decode.instrument_type;
  if (is_em61(type)) out.push_back(body.empty() ? std::string() : std::string(1, body[0]));
  const ReadingMeaning m = interpret_reading(decode, body);
  for (int i = 0; i < m.column_count; ++i) {
    const std::optional<double>& v = m.columns[static_cast<std::size_t>(i)];
    out.push_back(v ? number(*v) : std::string());
  }
  return out;
}

}  // namespace quelor
