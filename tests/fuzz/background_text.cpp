// A text file of positions loaded as a background file, with the load
// options (type, coordinates, delimiter, columns, display) taken from the
// first bytes: converted line by line, read back and planned for drawing.
#include "background/point_file.h"
#include "background/text_conversion.h"
#include "background_survey.h"

namespace quelor::fuzz {

std::vector<std::string> seeds() {
  // Options bytes: type, coordinates, delimiter, easting, northing, labels
  // columns, display type; then the text.
  return {
      std::string("\x01\x01\x01\x00\x01\x02\x01", 7) +
          "600010.5,4830020.25,A1\n600011,4830021,B2\r\nb\n600012,4830019\n",
      std::string("\x02\x00\x00\x01\x00\x02\x02", 7) + "-79.6000  43.6099  WELL\n/ comment\n\n-79.6001 43.6100 P2\n",
      std::string("\x01\x02\x02\x00\x01\x02\x00", 7) + "1968540.0\t15846456.0\tx\nB\n1968541.0\t15846457.0\ty\n",
      std::string("\x01\x03\x03\x02\x01\x00\x03", 7) + "L1;4830020;600010;extra\nL2;4830021.5;600011.5;\n",
  };
}

void fuzz_one(const FuzzInput& in) {
  if (in.bytes.size() < 7) return;
  BackgroundLoadOptions options;
  options.file_type = 1 + in.bytes[0] % 2;
  options.coordinates = in.bytes[1] % 4;
  options.delimiter = in.bytes[2] % 4;
  options.easting_column = in.bytes[3] % kBackgroundColumns;
  options.northing_column = in.bytes[4] % kBackgroundColumns;
  options.labels_column = in.bytes[5] % kBackgroundColumns;
  options.display_type = in.bytes[6] % 4;
  const std::string_view text = in.text.substr(7);
  BackgroundSurvey survey;
  survey.map_units = in.bytes[0] >> 6 < 3 ? in.bytes[0] >> 6 : 0;
  survey.zone = 17;
  if (!check_background_columns(options)) {
    TextConversion conversion{options, survey.map_units, survey.zone};
    const TextFileConversion converted = convert_text_file(text, conversion);
    const std::string& records = converted.records;
    expect(records.size() % kPointRecordLength == 0, "whole point records");
    expect(converted.refused_line == 0 || !converted.refusal.empty(), "a refused line says why");
    for (const BackgroundPoint& p : read_point_file(records))
      expect(p.label.size() <= kPointLabelLength, "label length");
  }
  load_background(text, options, survey);
}

}  // namespace quelor::fuzz
