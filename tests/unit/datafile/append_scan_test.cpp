#include "datafile/append_scan.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "datafile/data_records.h"
#include "test_support.h"

namespace quelor {
namespace {

const Variant kV{kEm38, 0};

std::string groups(int count, double e, double n) {
  std::string out = swath_start_record(kV);
  for (int i = 0; i < count; ++i) out += swath_group_records(kV, i % 2, {e, n, e + 1, n + 1});
  return out;
}

TEST(Scan, CountsOnePositionPerDAndH) {
  std::string file = groups(5, 100, 200);
  file += swath_group_records(kV, 2, {1e6, 1e6, 1e6, 1e6});  // i-l: neither extent nor count
  file += "{d" + std::string(3, ' ');                        // short tail ends the scan
  const ScanResult r = scan_appended_file(file, 27, MapFrame{100, 200, 1, 500, 500});
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.positions, 5);
  EXPECT_EQ(r.extent.max_easting, 101);
  EXPECT_EQ(r.extent.max_northing, 201);
  EXPECT_EQ(r.extent.min_easting, 100);
  EXPECT_EQ(r.message.title, "INFORMATION");
  EXPECT_EQ(r.message.text, "Total Number of GPS Positions:       5\r\n");
}

TEST(Scan, MapTooSmall) {
  const std::string file = groups(1, 100 + 1000 * 500.0, 200);
  const ScanResult r = scan_appended_file(file, 27, MapFrame{100, 200, 1, 500, 500});
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.message.title, "WARNING");
  EXPECT_EQ(r.message.text,
            "Map Size too small to accommodate the data file.\r\nPlease increase map size in Map Size option\r\n"
            "then select the file again");
  EXPECT_TRUE(scan_appended_file(groups(1, 100 + 998 * 500.0, 200), 27, MapFrame{100, 200, 1, 500, 500}).ok);
}

// Values far beyond any pixel, or no number at all, are off the map.
TEST(Scan, ValuesBeyondAnyPixelAreOffTheMap) {
  for (double far :
       {1e300, -1e300, 9.3e18, std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
    const ScanResult r = scan_appended_file(groups(1, far, 200), 27, MapFrame{100, 200, 1, 500, 500});
    EXPECT_EQ(r.message.title, std::isnan(far) ? "INFORMATION" : "WARNING") << far;
  }
  EXPECT_EQ(tile_column(std::numeric_limits<long>::max(), 500), kMapTiles);
  EXPECT_EQ(tile_row(std::numeric_limits<long>::min(), 500), -1);
}

TEST(Scan, TileRule) {
  EXPECT_EQ(tile_column(0, 500), 1000);
  EXPECT_EQ(tile_column(1, 500), 1001);
  EXPECT_EQ(tile_column(-499, 500), 1000);
  EXPECT_EQ(tile_column(-500, 500), 999);
  EXPECT_EQ(tile_row(499, 500), 1000);
  EXPECT_EQ(tile_row(-1, 500), 999);
}

TEST(Scan, MaximumPositions) {
  std::string file;
  const std::string d = swath_group_records(kV, 0, {1, 1, 1, 1});
  for (int i = 0; i < 28799; ++i) file += d;
  ScanResult r = scan_appended_file(file, 27, MapFrame{1, 1, 1, 500, 500});
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.positions, 28799);
  file += d;
  r = scan_appended_file(file, 27, MapFrame{1, 1, 1, 500, 500});
  EXPECT_FALSE(r.ok);
  EXPECT_TRUE(r.must_exit);
  EXPECT_EQ(r.message.text, "Number of GPS Positions in the file has reached its maximum");
}

class SteppingClock : public Clock {
 public:
  std::uint32_t now_ms() override { return t += 100; }
  void wait_ms(std::uint32_t) override {}
  std::uint32_t t = 0;
};

TEST(Scan, BusyIndicatorEvery750Milliseconds) {
  SteppingClock clock;
  int busy = 0;
  scan_appended_file(groups(10, 1, 1), 27, MapFrame{1, 1, 1, 500, 500}, &clock, [&] { ++busy; });
  // 41 records, 100 ms per look at the clock: every 8th record advances it.
  EXPECT_GE(busy, 4);
  EXPECT_LE(busy, 6);
}

}  // namespace
}  // namespace quelor
