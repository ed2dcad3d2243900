#pragma once
// EM31-MK2, EM38 and EM34-3 records: "T", a status byte, five-character
// values ("%+05d"), carriage return. Status bits: 6 marker ("M"), 5 vertical
// dipole (EM34-3: horizontal), the low bits the range code.

#include <string>

namespace quelor::devsim {

// Full-scale ranges; 0 picks the finest range that holds the value.
constexpr int kAutoRange = 0;

struct Em31Reading {
  double conductivity = 0;  // mS/m
  double inphase = 0;       // ppt
  bool vertical = true;
  bool marker = false;
  int range = kAutoRange;  // 10, 100 or 1000 mS/m
};

// 13 bytes: "T" S V1 V2 CR.
std::string encode_em31_record(const Em31Reading& r);

// The range an EM31-MK2 record uses for this conductivity.
int em31_range_for(double conductivity, int requested);

struct Em38Reading {
  double value = 0;      // mS/m or ppt
  bool inphase = false;  // in-phase record (else conductivity)
  bool vertical = true;
  bool marker = false;
  int length = 12;  // 7 or 12 characters before the carriage return
};

// 8 or 13 bytes. The finest of the four scales (range 100 or 1000, fine
// divisor 8 or not) that holds the value is used.
std::string encode_em38_record(const Em38Reading& r);

// The size of one count of the scale an EM38 record uses for this value.
double em38_resolution(double value, bool inphase);

struct Em34Reading {
  double conductivity = 0;  // mS/m
  int spacing = 20;         // 10, 20 or 40 metres
  bool horizontal = false;
  bool marker = false;
  int range = kAutoRange;  // 3, 10, 30, 100, 300 or 1000 mS/m
};

// 13 bytes: "T" S V1 "+0000" CR.
std::string encode_em34_record(const Em34Reading& r);

int em34_range_for(double conductivity, int requested);

// "%+05d" of round(value / scale), held to -9999..9999.
std::string five_char_value(double value, double scale);

}  // namespace quelor::devsim
