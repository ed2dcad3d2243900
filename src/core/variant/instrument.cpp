#include "variant/instrument.h"

#include <array>

namespace quelor {

namespace {

using F = InstrumentFamily;
using C = ColumnKind;
using T = Trait;

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

constexpr std::uint64_t kEm31Traits =
    trait_bits({T::kDipoleSetting, T::kSecondColourBar, T::kWideColourBar, T::kInphaseOnlyComponent, T::kSlamLabels});
constexpr std::uint64_t kEm38Traits =
    trait_bits({T::kDipoleSetting, T::kHiddenChannelSelectors, T::kPortFailureOnly, T::kComponentView});
constexpr std::uint64_t kEm34Traits = trait_bits({T::kStationReadings, T::kCoilReference, T::kCoilConfigurations});
constexpr std::uint64_t kEm38Mk2Traits =
    trait_bits({T::kDipoleSetting, T::kDriftReminder, T::kDriftControl, T::kModelCoilPairs, T::kOwnModeSwitch,
                T::kSecondColourBar, T::kWideColourBar, T::kCalibrationOffsets, T::kSlamLabels});
constexpr std::uint64_t kEm38_4Traits =
    trait_bits({T::kHeightSetting, T::kChannelGroups, T::kSelectableRate, T::kDriftReminder, T::kDriftControl,
                T::kInphaseUnits, T::kSecondColourBar, T::kWideColourBar, T::kRecordGroups, T::kWideHeader,
                T::kCalibrationConstants, T::kNoRateField, T::kModeNotListed});
constexpr std::uint64_t kCs21Traits =
    trait_bits({T::kHeightSetting, T::kChannelGroups, T::kSelectableRate, T::kDriftReminder, T::kPortFailureOnly,
                T::kWideColourBar, T::kWideHeader});
constexpr std::uint64_t kGrad601Traits = trait_bits(
    {T::kSensorSeparation, T::kNoGeometryUnits, T::kHiddenChannelSelectors, T::kNoRateField, T::kSlamLabels});
constexpr std::uint64_t kLx2Traits = trait_bits(
    {T::kAlarmSetup, T::kFilterFactors, T::kSoftMarkerKeys, T::kSurveyGpsOffsets, T::kNoSlamExtras, T::kNullPairs});
constexpr std::uint64_t kMk2Traits =
    trait_bits({T::kPolledReadings, T::kTiltMeter, T::kCurrentRing, T::kSensorSize, T::kWheelMode, T::kSlamLabels});

using L = std::string_view;
constexpr L kStandardShort[] = {"Standard", "Short"};
constexpr L kEm38Mk2Models[] = {"EM38-MK2", "EM38-MK2-1"};
constexpr L kEm38_4Units[] = {"ppt", "mS/m"};
constexpr L kCs21Models[] = {"DualEM CS-21", "DualEM CS-20", "DualEM CS-20"};
constexpr L kStandardNcc[] = {"Standard", "Standard N.C.C."};
constexpr L kMk2Models[] = {"Standard", "High Power", "Standard   N.C.C.", "High Power N.C.C."};
constexpr L kEm31Components[] = {"Both", "Inphase"};
constexpr L kEm38Components[] = {"Conductivity", "Inphase"};
constexpr L kEm38_4Rates[] = {"10 Hz", "5 Hz", "3.3 Hz", "2.5 Hz", "2 Hz", "1 Hz", "0.5 Hz", "0.2 Hz", "0.1 Hz"};
constexpr L kCs21Bauds[] = {"9600", "19200", "38400", "57600", "115200"};

constexpr L kMs = "%0.0fmS/m";

constexpr std::array<InstrumentRow, 9> kInstruments{{
    {.type = kEm31Mk2,
     .family = F::kTRecord,
     .reading_letters = "T23456",
     .marker_letters = "",
     .record_length = {27, 24},
     .mapped_channel = "",
     .conductivity_meter = true,
     .sensor_count = false,
     .sensor_count_column = 0,
     .value_columns = kEm31Columns,
     .traits = kEm31Traits,
     .baud_index = 0,
     .model_labels = kStandardShort,
     .component_labels = kEm31Components,
     .second_labels = {},
     .scale_format = kMs,
     .readings_scale_form = "READINGSCALE31",
     .profile_options_form = "DISPLAYSETUP31",
     .ncc_models = 0},
    {.type = kEm38,
     .family = F::kTRecord,
     .reading_letters = "T23456",
     .marker_letters = "",
     .record_length = {27, 27},
     .mapped_channel = "",
     .conductivity_meter = true,
     .sensor_count = false,
     .sensor_count_column = 0,
     .value_columns = kEm38Columns,
     .traits = kEm38Traits,
     .baud_index = 0,
     .model_labels = kStandardShort,
     .component_labels = kEm38Components,
     .second_labels = {},
     .scale_format = kMs,
     .readings_scale_form = "READINGSCALE31",
     .profile_options_form = "DISPLAYSETUP31",
     .ncc_models = 0},
    {.type = kEm34_3,
     .family = F::kTRecord,
     .reading_letters = "T23456",
     .marker_letters = "",
     .record_length = {27, 27},
     .mapped_channel = "",
     .conductivity_meter = true,
     .sensor_count = false,
     .sensor_count_column = 0,
     .value_columns = kEm34Columns,
     .traits = kEm34Traits,
     .baud_index = 0,
     .model_labels = kStandardShort,
     .component_labels = {},
     .second_labels = {},
     .scale_format = kMs,
     .readings_scale_form = "READINGSCALE34",
     .profile_options_form = "DISPLAYSETUP34",
     .ncc_models = 0},
    {.type = kEm38Mk2,
     .family = F::kBinaryFF,
     .reading_letters = "Tt",
     .marker_letters = "",
     .record_length = {27, 27},
     .mapped_channel = "",
     .conductivity_meter = true,
     .sensor_count = false,
     .sensor_count_column = 0,
     .value_columns = kEm38Mk2Columns,
     .traits = kEm38Mk2Traits,
     .baud_index = 1,
     .model_labels = kEm38Mk2Models,
     .component_labels = {},
     .second_labels = {},
     .scale_format = kMs,
     .readings_scale_form = "READINGSCALE31",
     .profile_options_form = "DISPLAYSETUP38MK2",
     .ncc_models = 0},
    {.type = kEm38_4,
     .family = F::kBinaryFF,
     .reading_letters = "Tt",
     .marker_letters = "",
     .record_length = {47, 47},
     .mapped_channel = "",
     .conductivity_meter = true,
     .sensor_count = false,
     .sensor_count_column = 0,
     .value_columns = kEm38_4Columns,
     .traits = kEm38_4Traits,
     .baud_index = 1,
     .model_labels = kEm38_4Units,
     .component_labels = {},
     .second_labels = kEm38_4Rates,
     .scale_format = kMs,
     .readings_scale_form = "READINGSCALE31",
     .profile_options_form = "DISPLAYSETUP384",
     .ncc_models = 0},
    {.type = kCs21,
     .family = F::kLine,
     .reading_letters = "T",
     .marker_letters = "",
     .record_length = {65, 65},
     .mapped_channel = "",
     .conductivity_meter = true,
     .sensor_count = false,
     .sensor_count_column = 0,
     .value_columns = kCs21Columns,
     .traits = kCs21Traits,
     .baud_index = 0,
     .model_labels = kCs21Models,
     .component_labels = {},
     .second_labels = kCs21Bauds,
     .scale_format = kMs,
     .readings_scale_form = "READINGSCALE31",
     .profile_options_form = "DISPLAYSETUP384",
     .ncc_models = 0},
    {.type = kGrad601,
     .family = F::kLine,
     .reading_letters = "T",
     .marker_letters = "",
     .record_length = {27, 27},
     .mapped_channel = "",
     .conductivity_meter = false,
     .sensor_count = true,
     .sensor_count_column = 19,
     .value_columns = kGrad601Columns,
     .traits = kGrad601Traits,
     .baud_index = 0,
     .model_labels = kStandardNcc,
     .component_labels = {},
     .second_labels = {},
     .scale_format = "%0.1f nT/m",
     .readings_scale_form = "READINGSCALE",
     .profile_options_form = "DISPLAYSETUP601",
     .ncc_models = 0},
    {.type = kEm61Lx2,
     .family = F::kEm61,
     .reading_letters = "TDEF",
     .marker_letters = "MNPQ",
     .record_length = {27, 27},
     .mapped_channel = "ch2_mV",
     .conductivity_meter = false,
     .sensor_count = true,
     .sensor_count_column = 22,
     .value_columns = kEm61Columns,
     .traits = kLx2Traits,
     .baud_index = 0,
     .model_labels = kStandardNcc,
     .component_labels = {},
     .second_labels = {},
     .scale_format = "%0.1f mV",
     .readings_scale_form = "READINGSCALE",
     .profile_options_form = "DISPLAYSETUPLX2",
     .ncc_models = 0b10},
    {.type = kEm61Mk2,
     .family = F::kEm61,
     .reading_letters = "TDEF",
     .marker_letters = "MNPQJKjk",
     .record_length = {27, 27},
     .mapped_channel = "ch3_mV",
     .conductivity_meter = false,
     .sensor_count = false,
     .sensor_count_column = 0,
     .value_columns = kEm61Columns,
     .traits = kMk2Traits,
     .baud_index = 0,
     .model_labels = kMk2Models,
     .component_labels = {},
     .second_labels = {},
     .scale_format = "%0.1f mV",
     .readings_scale_form = "READINGSCALE",
     .profile_options_form = "DISPLAYSETUP",
     .ncc_models = 0b1100},
}};

bool holds(std::string_view letters, char tag) { return tag != 0 && letters.find(tag) != std::string_view::npos; }

}  // namespace

std::span<const InstrumentRow> instrument_table() { return kInstruments; }

const InstrumentRow* find_instrument(InstrumentType instrument_type) {
  for (const InstrumentRow& row : kInstruments)
    if (row.type == instrument_type) return &row;
  return nullptr;
}

bool in_family(InstrumentType instrument_type, InstrumentFamily family) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && row->family == family;
}

bool has_trait(InstrumentType instrument_type, Trait trait) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && (row->traits & trait_bit(trait)) != 0;
}

int instrument_baud_index(InstrumentType instrument_type) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row ? row->baud_index : 0;
}

bool is_em61(InstrumentType instrument_type) { return in_family(instrument_type, F::kEm61); }

bool is_t_record_instrument(InstrumentType instrument_type) { return in_family(instrument_type, F::kTRecord); }

bool is_conductivity_meter(InstrumentType instrument_type) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && row->conductivity_meter;
}

bool has_inphase_columns(InstrumentType instrument_type) {
  const InstrumentRow* row = find_instrument(instrument_type);
  if (!row) return false;
  for (const ValueColumnSpec& c : row->value_columns)
    if (c.kind == ColumnKind::kCoil) return true;
  return false;
}

bool has_sensor_count(InstrumentType instrument_type) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && row->sensor_count;
}

bool has_binary_records(InstrumentType instrument_type) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && (row->family == F::kBinaryFF || row->family == F::kEm61);
}

bool is_reading_letter(InstrumentType instrument_type, char tag) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && holds(row->reading_letters, tag);
}

bool is_marker_letter(InstrumentType instrument_type, char tag) {
  const InstrumentRow* row = find_instrument(instrument_type);
  return row && holds(row->marker_letters, tag);
}

char marker_letter_of(InstrumentType instrument_type, char letter) {
  const InstrumentRow* row = find_instrument(instrument_type);
  if (!row) return letter;
  const std::size_t at = row->reading_letters.find(letter);
  return at < row->marker_letters.size() ? row->marker_letters[at] : letter;
}

bool has_shortened_records(const Variant& v) {
  const InstrumentRow* row = find_instrument(v.instrument_type);
  return row && v.navigation_mode == kNavigation && row->record_length[kNavigation] < row->record_length[kRealTimeMap];
}

int instrument_record_length(const Variant& v) {
  const InstrumentRow* row = find_instrument(v.instrument_type);
  if (!row || (v.navigation_mode != kRealTimeMap && v.navigation_mode != kNavigation)) return 0;
  return row->record_length[v.navigation_mode];
}

}  // namespace quelor
