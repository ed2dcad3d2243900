#include "variant/instrument.h"

#include <array>

namespace quelor {

namespace {

using F = InstrumentFamily;

constexpr std::array<InstrumentRow, 9> kInstruments{{
    {kEm31Mk2, F::kTRecord, "T23456", "", {27, 24}, "", true},
    {kEm38, F::kTRecord, "T23456", "", {27, 27}, "", true},
    {kEm34_3, F::kTRecord, "T23456", "", {27, 27}, "", true},
    {kEm38Mk2, F::kBinaryFF, "Tt", "", {27, 27}, "", true},
    {kEm38_4, F::kBinaryFF, "Tt", "", {47, 47}, "", true},
    {kCs21, F::kLine, "T", "", {65, 65}, "", true},
    {kGrad601, F::kLine, "T", "", {27, 27}, "", false},
    {kEm61Lx2, F::kEm61, "TDEF", "MNPQ", {27, 27}, "ch2_mV", false},
    {kEm61Mk2, F::kEm61, "TDEF", "MNPQJKjk", {27, 27}, "ch3_mV", false},
}};

bool holds(std::string_view letters, char tag) { return tag != 0 && letters.find(tag) != std::string_view::npos; }

}  // namespace

std::span<const InstrumentRow> instrument_table() { return kInstruments; }

const InstrumentRow* find_instrument(int instrument_type) {
  for (const InstrumentRow& row : kInstruments)
    if (row.type == instrument_type) return &row;
  return nullptr;
}

bool is_em61(int instrument_type) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && row->family == F::kEm61;
}

bool is_t_record_instrument(int instrument_type) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && row->family == F::kTRecord;
}

bool is_conductivity_meter(int instrument_type) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && row->conductivity_meter;
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
