#include "variant/instrument.h"

#include <array>

namespace quelor {

namespace {

using F = InstrumentFamily;
using C = ColumnKind;

// The vertical dipole of these instruments has its coils horizontal coplanar.
constexpr ValueColumnSpec kEm31Columns[] = {{C::kCoil, "vertical", "HCP", 3.66, 9800},
                                            {C::kCoil, "horizontal", "VCP", 3.66, 9800}};
constexpr ValueColumnSpec kEm38Columns[] = {{C::kCoil, "vertical", "HCP", 1.0, 14600},
                                            {C::kCoil, "horizontal", "VCP", 1.0, 14600}};
constexpr ValueColumnSpec kEm34Columns[] = {{C::kCoilWithoutInphase, "vertical_10m", "HCP", 10, 6400},
                                            {C::kCoilWithoutInphase, "vertical_20m", "HCP", 20, 1600},
                                            {C::kCoilWithoutInphase, "vertical_40m", "HCP", 40, 400},
                                            {C::kCoilWithoutInphase, "horizontal_10m", "VCP", 10, 6400},
                                            {C::kCoilWithoutInphase, "horizontal_20m", "VCP", 20, 1600},
                                            {C::kCoilWithoutInphase, "horizontal_40m", "VCP", 40, 400}};
constexpr ValueColumnSpec kEm38Mk2Columns[] = {{C::kCoil, "vertical_100cm", "HCP", 1.0, 14500},
                                               {C::kCoil, "horizontal_100cm", "VCP", 1.0, 14500},
                                               {C::kCoil, "vertical_50cm", "HCP", 0.5, 14500},
                                               {C::kCoil, "horizontal_50cm", "VCP", 0.5, 14500}};
constexpr ValueColumnSpec kEm38_4Columns[] = {
    {C::kCoil, "100cm", "HCP", 1.0, 14500}, {C::kCoil, "88cm", "HCP", 0.88, 14500},
    {C::kCoil, "50cm", "HCP", 0.5, 14500},  {C::kCoil, "75cm", "HCP", 0.75, 14500},
    {C::kNumber, "aux1", "", 0, 0},         {C::kNumber, "aux2", "", 0, 0},
    {C::kNumber, "aux3", "", 0, 0},         {C::kNumber, "aux4", "", 0, 0}};
constexpr ValueColumnSpec kCs21Columns[] = {{C::kCoil, "hcp_100cm", "HCP", 1.0, 9000},
                                            {C::kCoil, "prp_110cm", "PRP", 1.1, 9000},
                                            {C::kCoil, "hcp_200cm", "HCP", 2.0, 9000},
                                            {C::kCoil, "prp_210cm", "PRP", 2.1, 9000}};
constexpr ValueColumnSpec kGrad601Columns[] = {{C::kNumber, "sensor1_nT", "", 0, 0},
                                               {C::kNumber, "sensor2_nT", "", 0, 0}};
constexpr ValueColumnSpec kEm61Columns[] = {{C::kText, "record_letter", "", 0, 0},
                                            {C::kNumber, "ch1_mV", "", 0, 0},
                                            {C::kNumber, "ch2_mV", "", 0, 0},
                                            {C::kNumber, "ch3_mV", "", 0, 0},
                                            {C::kNumber, "ch4_mV", "", 0, 0}};

constexpr std::array<InstrumentRow, 9> kInstruments{{
    {kEm31Mk2, F::kTRecord, "T23456", "", {27, 24}, "", true, false, kEm31Columns},
    {kEm38, F::kTRecord, "T23456", "", {27, 27}, "", true, false, kEm38Columns},
    {kEm34_3, F::kTRecord, "T23456", "", {27, 27}, "", true, false, kEm34Columns},
    {kEm38Mk2, F::kBinaryFF, "Tt", "", {27, 27}, "", true, false, kEm38Mk2Columns},
    {kEm38_4, F::kBinaryFF, "Tt", "", {47, 47}, "", true, false, kEm38_4Columns},
    {kCs21, F::kLine, "T", "", {65, 65}, "", true, false, kCs21Columns},
    {kGrad601, F::kLine, "T", "", {27, 27}, "", false, true, kGrad601Columns},
    {kEm61Lx2, F::kEm61, "TDEF", "MNPQ", {27, 27}, "ch2_mV", false, true, kEm61Columns},
    {kEm61Mk2, F::kEm61, "TDEF", "MNPQJKjk", {27, 27}, "ch3_mV", false, false, kEm61Columns},
}};

bool holds(std::string_view letters, char tag) { return tag != 0 && letters.find(tag) != std::string_view::npos; }

}  // namespace

std::span<const InstrumentRow> instrument_table() { return kInstruments; }

const InstrumentRow* find_instrument(int instrument_type) {
  for (const InstrumentRow& row : kInstruments)
    if (row.type == instrument_type) return &row;
  return nullptr;
}

bool in_family(int instrument_type, InstrumentFamily family) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && row->family == family;
}

bool is_em61(int instrument_type) { return in_family(instrument_type, F::kEm61); }

bool is_t_record_instrument(int instrument_type) { return in_family(instrument_type, F::kTRecord); }

bool is_conductivity_meter(int instrument_type) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && row->conductivity_meter;
}

bool has_inphase_columns(int instrument_type) {
  const InstrumentRow* row = find_instrument(instrument_type);
  if (!row) return false;
  for (const ValueColumnSpec& c : row->value_columns)
    if (c.kind == ColumnKind::kCoil) return true;
  return false;
}

bool has_sensor_count(int instrument_type) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && row->sensor_count;
}

bool has_binary_records(int instrument_type) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && (row->family == F::kBinaryFF || row->family == F::kEm61);
}

bool is_reading_letter(int instrument_type, char tag) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && holds(row->reading_letters, tag);
}

bool is_marker_letter(int instrument_type, char tag) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && holds(row->marker_letters, tag);
}

char marker_letter_of(int instrument_type, char letter) {
  const InstrumentRow* row = find_instrument(instrument_type);
  if (!row) return letter;
  const std::size_t at = row->reading_letters.find(letter);
  return at < row->marker_letters.size() ? row->marker_letters[at] : letter;
}

int instrument_record_length(const Variant& v) {
  const InstrumentRow* row = find_instrument(v.instrument_type);
  if (!row || (v.navigation_mode != kRealTimeMap && v.navigation_mode != kNavigation)) return 0;
  return row->record_length[v.navigation_mode];
}

}  // namespace quelor
