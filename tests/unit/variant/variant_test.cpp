#include "variant/variant.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "variant/instrument.h"

#include <gtest/gtest.h>

namespace quelor {
namespace {

TEST(Variant, DeliveredBuildIsQyn31) {
  Variant v;
  ASSERT_TRUE(is_valid_variant(v));
  EXPECT_EQ(product_names(v).program_name, "Qyn31");
  EXPECT_EQ(product_names(v).settings_stem, "Qyn31MK2");
  EXPECT_EQ(version_digits(product_names(v).version), "220");
}

TEST(Variant, TableCoversNineInstrumentsBothLines) {
  ASSERT_EQ(variant_table().size(), 9u);
  for (const VariantRow& row : variant_table()) {
    EXPECT_TRUE(row.line[0].program_name.starts_with("Zelko")) << row.instrument;
    EXPECT_TRUE(row.line[1].program_name.starts_with("Qyn")) << row.instrument;
    EXPECT_GE(type_index(row.instrument_type), 0);
    EXPECT_LE(type_index(row.instrument_type), 13);
  }
  EXPECT_FALSE(is_valid_variant({kEm31Mk2, 2}));
  EXPECT_EQ(product_names({kEm61Mk2, kRealTimeMap}).version, "2.28");
  EXPECT_EQ(product_names({kEm34_3, kNavigation}).program_name, "Qyn34-3");
}

// A number from outside is an instrument type only when the table has it.
TEST(Variant, InstrumentTypeFromNumber) {
  int found = 0;
  for (int n = -20; n <= 20; ++n) {
    const std::optional<InstrumentType> type = instrument_type_from_number(n);
    if (!type) continue;
    ++found;
    EXPECT_EQ(*type, n);
    ASSERT_NE(find_variant_row(*type), nullptr) << n;
  }
  EXPECT_EQ(found, 9);
  for (int n : {1, 2, 5, 6, -3, 10, 13, -5, -2147483647 - 1, 2147483647})
    EXPECT_EQ(instrument_type_from_number(n), std::nullopt) << n;
}

// Which column-0 letters of a data-file record are readings and markers,
// instrument by instrument, over every printable letter.
TEST(InstrumentTable, RecordLettersOfEveryInstrument) {
  struct Row {
    InstrumentType type;
    std::string readings;
    std::string markers;
  };
  const Row rows[] = {
      {kEm31Mk2, "T23456", ""}, {kEm38, "T23456", ""},      {kEm34_3, "T23456", ""},
      {kEm38Mk2, "Tt", ""},     {kEm38_4, "Tt", ""},        {kCs21, "T", ""},
      {kGrad601, "T", ""},      {kEm61Lx2, "TDEF", "MNPQ"}, {kEm61Mk2, "TDEF", "MNPQJKjk"},
  };
  ASSERT_EQ(instrument_table().size(), std::size(rows));
  for (const Row& r : rows) {
    for (int c = 1; c < 127; ++c) {
      const char tag = static_cast<char>(c);
      EXPECT_EQ(is_reading_letter(r.type, tag), r.readings.find(tag) != std::string::npos) << r.type << " " << tag;
      EXPECT_EQ(is_marker_letter(r.type, tag), r.markers.find(tag) != std::string::npos) << r.type << " " << tag;
    }
    EXPECT_FALSE(is_instrument_letter(r.type, '\0'));
    EXPECT_TRUE(is_instrument_letter(r.type, 'T'));
  }
}

TEST(InstrumentTable, FamiliesAndRecordLengths) {
  for (const VariantRow& v : variant_table()) {
    const InstrumentRow* row = find_instrument(v.instrument_type);
    ASSERT_NE(row, nullptr) << v.instrument;
    const bool em61 = v.instrument_type == kEm61Mk2 || v.instrument_type == kEm61Lx2;
    EXPECT_EQ(is_em61(v.instrument_type), em61) << v.instrument;
    EXPECT_EQ(is_conductivity_meter(v.instrument_type), !em61 && v.instrument_type != kGrad601) << v.instrument;
    EXPECT_EQ(has_sensor_count(v.instrument_type), v.instrument_type == kGrad601 || v.instrument_type == kEm61Lx2)
        << v.instrument;
    EXPECT_EQ(has_binary_records(v.instrument_type),
              em61 || v.instrument_type == kEm38Mk2 || v.instrument_type == kEm38_4)
        << v.instrument;
    // Each instrument in exactly one family.
    int families = 0;
    for (InstrumentFamily f :
         {InstrumentFamily::kTRecord, InstrumentFamily::kBinaryFF, InstrumentFamily::kEm61, InstrumentFamily::kLine})
      families += in_family(v.instrument_type, f);
    EXPECT_EQ(families, 1) << v.instrument;
    EXPECT_EQ(in_family(v.instrument_type, InstrumentFamily::kBinaryFF),
              v.instrument_type == kEm38Mk2 || v.instrument_type == kEm38_4)
        << v.instrument;
    // Coil columns exactly for the conductivity meters; the mapped channel is one of the columns.
    bool coils = false, mapped = row->mapped_channel.empty();
    for (const ValueColumnSpec& c : row->value_columns) {
      const bool coil = c.kind == ColumnKind::kCoil || c.kind == ColumnKind::kCoilWithoutInphase;
      coils |= coil;
      if (coil) {
        EXPECT_TRUE(c.separation > 0 && c.frequency > 0 && !c.orientation.empty()) << c.label;
      }
      mapped |= c.label == row->mapped_channel;
    }
    EXPECT_EQ(coils, row->conductivity_meter) << v.instrument;
    EXPECT_TRUE(mapped) << v.instrument;
    for (int line : {kRealTimeMap, kNavigation}) {
      const int expected = v.instrument_type == kEm38_4                           ? 47
                           : v.instrument_type == kCs21                           ? 65
                           : v.instrument_type == kEm31Mk2 && line == kNavigation ? 24
                                                                                  : 27;
      EXPECT_EQ(instrument_record_length({v.instrument_type, line}), expected) << v.instrument << " " << line;
    }
  }
  EXPECT_TRUE(is_t_record_instrument(kEm34_3));
  EXPECT_FALSE(is_t_record_instrument(kEm38Mk2));
  for (InstrumentType type : {kGrad601, kEm61Lx2, kEm61Mk2, kEm34_3}) EXPECT_FALSE(has_inphase_columns(type)) << type;
  for (InstrumentType type : {kEm31Mk2, kEm38, kEm38Mk2, kEm38_4, kCs21})
    EXPECT_TRUE(has_inphase_columns(type)) << type;
  EXPECT_EQ(instrument_record_length({kEm38, 2}), 0);
}

// Which instruments answer yes to each trait question; every other
// instrument, and a type outside the table, answers no.
TEST(InstrumentTable, TraitsOfEveryInstrument) {
  using T = Trait;
  struct Row {
    Trait trait;
    std::vector<int> types;
  };
  const Row rows[] = {
      {T::kDipoleSetting, {kEm31Mk2, kEm38, kEm38Mk2}},
      {T::kStationReadings, {kEm34_3}},
      {T::kPolledReadings, {kEm61Mk2}},
      {T::kTiltMeter, {kEm61Mk2}},
      {T::kCurrentRing, {kEm61Mk2}},
      {T::kSensorSize, {kEm61Mk2}},
      {T::kSensorSeparation, {kGrad601}},
      {T::kCoilReference, {kEm34_3}},
      {T::kHeightSetting, {kEm38_4, kCs21}},
      {T::kChannelGroups, {kEm38_4, kCs21}},
      {T::kSelectableRate, {kEm38_4, kCs21}},
      {T::kDriftReminder, {kEm38Mk2, kEm38_4, kCs21}},
      {T::kDriftControl, {kEm38Mk2, kEm38_4}},
      {T::kModelCoilPairs, {kEm38Mk2}},
      {T::kInphaseUnits, {kEm38_4}},
      {T::kOwnModeSwitch, {kEm38Mk2}},
      {T::kAlarmSetup, {kEm61Lx2}},
      {T::kFilterFactors, {kEm61Lx2}},
      {T::kNoGeometryUnits, {kGrad601}},
      {T::kSecondColourBar, {kEm31Mk2, kEm38Mk2, kEm38_4}},
      {T::kHiddenChannelSelectors, {kEm38, kGrad601}},
      {T::kPortFailureOnly, {kEm38, kCs21}},
      {T::kSoftMarkerKeys, {kEm61Lx2}},
      {T::kNoRateField, {kEm38_4, kGrad601}},
      {T::kWheelMode, {kEm61Mk2}},
      {T::kModeNotListed, {kEm38_4}},
      {T::kSurveyGpsOffsets, {kEm61Lx2}},
      {T::kNoSlamExtras, {kEm61Lx2}},
      {T::kCoilConfigurations, {kEm34_3}},
      {T::kWideColourBar, {kEm31Mk2, kEm38Mk2, kEm38_4, kCs21}},
      {T::kComponentView, {kEm38}},
      {T::kWideHeader, {kEm38_4, kCs21}},
      {T::kCalibrationOffsets, {kEm38Mk2}},
      {T::kCalibrationConstants, {kEm38_4}},
      {T::kNullPairs, {kEm61Lx2}},
      {T::kInphaseOnlyComponent, {kEm31Mk2}},
      {T::kSlamLabels, {kEm31Mk2, kEm38Mk2, kEm61Mk2, kGrad601}},
      {T::kRecordGroups, {kEm38_4}},
  };
  for (const Row& r : rows) {
    for (const InstrumentRow& row : instrument_table()) {
      const bool listed = std::find(r.types.begin(), r.types.end(), row.type) != r.types.end();
      EXPECT_EQ(has_trait(row.type, r.trait), listed) << static_cast<int>(r.trait) << " " << row.type;
    }
  }
  // Every trait has its row above.
  std::uint64_t all = 0;
  for (const InstrumentRow& row : instrument_table()) all |= row.traits;
  std::uint64_t tested = 0;
  for (const Row& r : rows) tested |= trait_bit(r.trait);
  EXPECT_EQ(all, tested);
}

// The row's values that stand for former per-instrument switches.
TEST(InstrumentTable, ValuesOfEveryInstrument) {
  struct Row {
    InstrumentType type;
    int baud_index;
    int sensor_count_column;
    std::uint8_t ncc_models;
    std::size_t models;
    std::size_t components;
    std::size_t second;
    std::string_view profile_form;
  };
  const Row rows[] = {
      {kEm31Mk2, 0, 0, 0, 2, 2, 0, "DISPLAYSETUP31"},    {kEm38, 0, 0, 0, 2, 2, 0, "DISPLAYSETUP31"},
      {kEm34_3, 0, 0, 0, 2, 0, 0, "DISPLAYSETUP34"},     {kEm38Mk2, 1, 0, 0, 2, 0, 0, "DISPLAYSETUP38MK2"},
      {kEm38_4, 1, 0, 0, 2, 0, 9, "DISPLAYSETUP384"},    {kCs21, 0, 0, 0, 3, 0, 5, "DISPLAYSETUP384"},
      {kGrad601, 0, 19, 0, 2, 0, 0, "DISPLAYSETUP601"},  {kEm61Lx2, 0, 22, 0b10, 2, 0, 0, "DISPLAYSETUPLX2"},
      {kEm61Mk2, 0, 0, 0b1100, 4, 0, 0, "DISPLAYSETUP"},
  };
  ASSERT_EQ(instrument_table().size(), std::size(rows));
  for (const Row& r : rows) {
    const InstrumentRow* row = find_instrument(r.type);
    ASSERT_NE(row, nullptr) << r.type;
    EXPECT_EQ(instrument_baud_index(r.type), r.baud_index) << r.type;
    EXPECT_EQ(row->sensor_count_column != 0, row->sensor_count) << r.type;
    EXPECT_EQ(row->sensor_count_column, r.sensor_count_column) << r.type;
    EXPECT_EQ(row->ncc_models, r.ncc_models) << r.type;
    EXPECT_EQ(row->model_labels.size(), r.models) << r.type;
    EXPECT_EQ(row->component_labels.size(), r.components) << r.type;
    EXPECT_EQ(row->second_labels.size(), r.second) << r.type;
    EXPECT_EQ(row->profile_options_form, r.profile_form) << r.type;
    for (int line : {kRealTimeMap, kNavigation})
      EXPECT_EQ(has_shortened_records({r.type, line}), r.type == kEm31Mk2 && line == kNavigation) << r.type;
  }
}

}  // namespace
}  // namespace quelor
