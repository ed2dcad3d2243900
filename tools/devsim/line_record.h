#pragma once
// The line instruments and the tilt meter: NMEA-style text lines.
//   Grad601: "$PBAR,<sensor 1>[,<sensor 2>]" CR LF, gradients in nT as at most five
//   characters with a floating point ("-1.23", "45.6", "-789"), held to +-9999.
//   DualEM CS-21: "$PDLM<g>,<time>,<HCP cond>,<HCP in-phase>,<PRP cond>,<PRP in-phase>,<temperature>*hh" CR LF,
//   g 1 for the 1 m HCP and 1.1 m PRP coils, 2 for the 2 m HCP and 2.1 m PRP coils.
//   Tilt meter: "$PTLT,<pitch>,<heading>,<temperature>,<roll>*hh" CR LF (angles in degrees;
//   roll in field 5 and pitch in field 2, the fields the program reads by default).

#include <optional>
#include <string>
#include <string_view>

namespace quelor::devsim {

struct GradReading {
  double sensor1 = 0;  // nT
  double sensor2 = 0;
  int sensors = 2;
};

std::string encode_grad601_line(const GradReading& r);
std::string grad601_value(double nt);
double grad601_resolution(double nt);  // 0.01, 0.1 or 1 nT by size

struct Cs21Reading {
  double time_of_day = 0;       // seconds
  double hcp_conductivity = 0;  // mS/m, horizontal co-planar pair (1 m or 2 m)
  double hcp_inphase = 0;       // ppt
  double prp_conductivity = 0;  // perpendicular pair (1.1 m or 2.1 m)
  double prp_inphase = 0;
  double temperature = 18.5;  // degrees C
  int group = 1;              // 1 ($PDLM1) or 2 ($PDLM2)
};

std::string encode_cs21_line(const Cs21Reading& r, bool good_checksum = true);

struct TiltReading {
  double roll = 0, pitch = 0;  // degrees
  double heading = 0;          // degrees
  double temperature = 19.0;
};

std::string encode_tilt_sentence(const TiltReading& r, bool good_checksum = true);

// Output rates of the tilt meter by index 0..4: 1, 2, 5, 10, 20 Hz.
int tilt_rate_hz(int index);

// "[1D<rate>" + CR -> the new rate in Hz when it is one of the five rates.
std::optional<int> parse_tilt_rate_command(std::string_view command);

// "[1D<rate>" + CR for a rate index (what the program sends).
std::string tilt_rate_command(int index);

// The tilt meter's confirmation: ">New Output Data Rate: <n> Hz" CR LF.
std::string tilt_rate_answer(int hz);

}  // namespace quelor::devsim
