#include "variant/variant.h"

#include <string>

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
  EXPECT_EQ(find_variant_row(1), nullptr);
  EXPECT_FALSE(is_valid_variant({0, 2}));
  EXPECT_EQ(product_names({kEm61Mk2, kRealTimeMap}).version, "2.28");
  EXPECT_EQ(product_names({kEm34_3, kNavigation}).program_name, "Qyn34-3");
}

// Which column-0 letters of a data-file record are readings and markers,
// instrument by instrument, over every printable letter.
TEST(InstrumentTable, RecordLettersOfEveryInstrument) {
  struct Row {
    int type;
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
  EXPECT_FALSE(is_reading_letter(1, 'T'));
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
  EXPECT_FALSE(in_family(1, InstrumentFamily::kTRecord));
  for (int type : std::initializer_list<int>{kGrad601, kEm61Lx2, kEm61Mk2, kEm34_3, 1})
    EXPECT_FALSE(has_inphase_columns(type)) << type;
  for (int type : {kEm31Mk2, kEm38, kEm38Mk2, kEm38_4, kCs21}) EXPECT_TRUE(has_inphase_columns(type)) << type;
  EXPECT_EQ(instrument_record_length({1, 0}), 0);
  EXPECT_EQ(instrument_record_length({kEm38, 2}), 0);
}

}  // namespace
}  // namespace quelor
