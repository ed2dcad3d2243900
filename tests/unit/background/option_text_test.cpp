// Background requests as `quelor map --background` reads them.
#include <gtest/gtest.h>

#include "background/option_text.h"

namespace quelor {
namespace {

TEST(BackgroundRequest, WordsKeysAndErrors) {
  struct Case {
    const char* text;
    int nav;
    const char* error;  // nullptr: accepted
    BackgroundLoadOptions expected;
  };
  BackgroundLoadOptions text;
  text.file_type = kBackgroundText;
  BackgroundLoadOptions geo = text;
  geo.coordinates = kGeodetic;
  geo.delimiter = 0;
  geo.easting_column = 2;
  geo.northing_column = 1;
  BackgroundLoadOptions labelled = text;
  labelled.file_type = kBackgroundLabelledText;
  labelled.labels_column = 3;
  labelled.display_type = 5;
  BackgroundLoadOptions data;
  BackgroundLoadOptions nav_text = text;
  nav_text.display_type = 0;
  const Case cases[] = {
      {"plan.txt", 0, nullptr, text},
      {"survey.H31", 0, nullptr, data},
      {"plan.XYZ,geodetic,space,lon=3,lat=2", 0, nullptr, geo},
      {"p.csv,labels=4,display=5", 0, nullptr, labelled},
      {"p.txt,type=labels,LABELS=4,display=5", 0, nullptr, labelled},
      {"p.txt", 1, nullptr, nav_text},
      {"p.txt,type=labels", 1, "bad background option 'type=labels'", {}},
      {"p.txt,labels", 1, "the navigation line has no labelled background files", {}},
      {"p.txt,display=12", 0, "bad background option 'display=12'", {}},
      {"p.txt,lon=0", 0, "bad background option 'lon=0'", {}},
      {"p.txt,lat=25", 0, "bad background option 'lat=25'", {}},
      {"p.txt,colour=red", 0, "unknown background option 'colour=red'", {}},
      {"p.txt,fancy", 0, "unknown background option 'fancy'", {}},
      {",geodetic", 0, "background file name missing", {}},
  };
  for (const Case& c : cases) {
    const BackgroundRequestParse p = parse_background_request(c.text, c.nav);
    if (c.error) {
      EXPECT_FALSE(p.request.has_value()) << c.text;
      EXPECT_EQ(p.error, c.error) << c.text;
      continue;
    }
    ASSERT_TRUE(p.request.has_value()) << c.text << ": " << p.error;
    EXPECT_EQ(p.request->options, c.expected) << c.text;
  }
  EXPECT_EQ(parse_background_request("a/b.c.txt,tab", 0).request->file, "a/b.c.txt");
}

}  // namespace
}  // namespace quelor
