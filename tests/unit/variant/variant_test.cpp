#include "variant/variant.h"

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

}  // namespace
}  // namespace quelor
