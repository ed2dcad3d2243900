#include "devsim/instrument_model.h"

#include <cmath>

#include "variant/instrument.h"

namespace quelor::devsim {
namespace {

char em61_letter(const InstrumentConfig& c, const InstrumentState& s, bool marker) {
  const char reading = s.em61_mode == 'W' ? 'J' : c.em61_letter;
  return marker ? em61_marker_letter(reading) : reading;
}

int noisy(double value, double sigma, Rng* rng) {
  if (!rng) return static_cast<int>(std::lround(value));
  std::normal_distribution<double> n(value, sigma);
  return static_cast<int>(std::lround(n(*rng)));
}

std::string em61_record(const InstrumentConfig& c, const InstrumentState& s, const Site& site, const WalkPoint& w,
                        bool marker, Rng* rng) {
  Em61Reading r;
  // Held still for a procedure, the current is steady too.
  Rng* current_rng = c.bench.stance == Stance::kWalk ? rng : nullptr;
  if (c.kind.type == kEm61Mk2) {
    r = em61mk2_reading(site, w, c.setup, rng);
    // The current word: nominal current times the coil's divisor.
    const double nominal = c.setup.high_power ? 1840.0 * 1.152 : 3000.0 * 1.047;
    r.current = noisy(nominal, nominal * 0.002, current_rng);
  } else {
    r = em61lx2_reading(site, w, c.setup, rng);
    r.current = noisy(c.setup.sensors >= 2 ? 3171.0 : 1586.0, 4.0, current_rng);
  }
  bench_em61(c.bench, r, c.kind.type == kEm61Lx2 && c.setup.sensors >= 2);
  r.letter = em61_letter(c, s, marker);
  if (c.kind.type == kEm61Mk2) {
    const std::array<double, 4> weights = em61_gate_weights(r.letter, c.setup.high_power);
    for (std::size_t i = 0; i < 4; ++i) r.channels[i] *= weights[i];
  }
  r.battery = 126;
  return encode_em61_record(r);
}

std::string record_of(const InstrumentConfig& c, InstrumentState& s, const Site& site, const WalkPoint& w,
                      double time_of_day, bool marker, Rng* rng) {
  const InstrumentSetup& setup = c.setup;
  switch (c.kind.type) {
    case kEm31Mk2: {
      Em31Reading r = em31_reading(site, w, setup, rng);
      r.range = c.range;
      r.marker = marker;
      return encode_em31_record(r);
    }
    case kEm38: {
      const Em31Reading v = em38_values(site, w, setup, rng);
      Em38Reading r;
      r.inphase = s.em38_inphase_next;
      r.value = r.inphase ? v.inphase : v.conductivity;
      r.vertical = setup.vertical;
      r.marker = marker;
      r.length = c.em38_length;
      s.em38_inphase_next = !s.em38_inphase_next;
      return encode_em38_record(r);
    }
    case kEm34_3: {
      Em34Reading r = em34_reading(site, w, setup, rng);
      r.range = c.range;
      r.marker = marker;
      return encode_em34_record(r);
    }
    case kEm38Mk2: {
      Em38Mk2Reading r = em38mk2_reading(site, w, setup, rng);
      bench_em38mk2(c.bench, r);
      r.marker = marker;
      return encode_em38mk2_record(r);
    }
    case kEm38_4: {
      Em38_4Reading r = em38_4_reading(site, w, setup, rng);
      bench_em38_4(c.bench, r);
      r.marker = marker;
      return encode_em38_4_record(r);
    }
    case kCs21: {
      Cs21Reading r = cs21_reading(site, w, setup, rng, s.cs21_group_next);
      s.cs21_group_next = 3 - r.group;
      r.time_of_day = time_of_day;
      const bool bad = s.bad_checksums_left > 0;
      if (bad) --s.bad_checksums_left;
      return encode_cs21_line(r, !bad);
    }
    case kGrad601: return encode_grad601_line(grad601_reading(site, w, setup, rng));
    case kEm61Lx2:
    case kEm61Mk2: return em61_record(c, s, site, w, marker, rng);
  }
  return {};
}

}  // namespace

InstrumentState initial_instrument_state(const InstrumentConfig& c) {
  InstrumentState s;
  s.awake = !c.kind.handshake;
  return s;
}

bool instrument_streams(const InstrumentConfig& c, const InstrumentState& s) {
  return s.awake && !(is_em61(c.kind.type) && c.polled) && s.command.empty() && !s.manual_switch;
}

bool press_record_due(const InstrumentState& s) { return s.manual_switch && s.presses_left > 0; }

std::string next_instrument_record(const InstrumentConfig& c, InstrumentState& s, const Site& site, const WalkPoint& w,
                                   double time_of_day, Rng* rng) {
  const bool press = press_record_due(s);
  if (press) --s.presses_left;
  const bool marker = press || s.marker_left > 0;
  if (!press && s.marker_left > 0) --s.marker_left;
  ++s.records;
  return record_of(c, s, site, w, time_of_day, marker, rng);
}

std::string instrument_input(const InstrumentConfig& c, InstrumentState& s, std::string_view bytes, double now,
                             const Site& site, const WalkPoint& w, double time_of_day, Rng* rng) {
  if (!is_em61(c.kind.type)) return {};
  std::string answer;
  for (char b : bytes) {
    if (!s.command.empty()) {
      s.command.clear();
      if (b == 'X' || b == 'W') {
        s.awake = true;
        s.em61_mode = b;
        answer += "OK";
      } else {
        answer += "OV";
      }
    } else if (b == 'H') {
      s.command.assign(1, 'H');
      s.command_since = now;
    } else if (b == 'A' && s.awake) {
      answer += next_instrument_record(c, s, site, w, time_of_day, rng);
    }
  }
  return answer;
}

void instrument_tick(InstrumentState& s, double now) {
  if (!s.command.empty() && now - s.command_since > kCommandTimeout) s.command.clear();
}

void press_trigger(const InstrumentConfig& c, InstrumentState& s, int records) {
  if (c.kind.type == kEm38Mk2) {
    if (s.manual_switch) ++s.presses_left;
    return;
  }
  s.marker_left = records > 0 ? records : 1;
}

void set_mode_switch(const InstrumentConfig& c, InstrumentState& s, bool manual) {
  if (c.kind.type != kEm38Mk2) return;
  s.manual_switch = manual;
  s.presses_left = 0;
}

}  // namespace quelor::devsim
