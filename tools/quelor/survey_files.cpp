#include "survey_files.h"

#include <filesystem>
#include <optional>
#include <system_error>
#include <string_view>
#include <utility>

#include "file_input.h"

namespace quelor::tool {

std::size_t bytes_fingerprint(std::string_view bytes) { return std::hash<std::string_view>{}(bytes); }

bool read_files_again(const std::vector<std::string>& paths, const std::vector<std::string>& kept,
                      const std::vector<std::size_t>& fingerprints, const std::string& channel, int zone,
                      const GridFileVisitor& visit) {
  for (std::size_t i = 0; i < paths.size(); ++i) {
    SurveySamplesResult read;
    {  // the bytes go before the readings are handed over
      std::optional<std::string> read_again;
      const bool held = i < kept.size() && !kept[i].empty();
      if (!held && !(read_again = read_file_bytes(paths[i]))) return false;
      const std::string_view bytes = held ? std::string_view(kept[i]) : std::string_view(*read_again);
      if (bytes_fingerprint(bytes) != fingerprints[i]) return false;
      read = survey_samples(bytes, channel, zone);
    }
    if (!read.survey) return false;
    visit(read.survey->samples);
  }
  return true;
}

SurveyFiles read_survey_files(const std::vector<std::string>& files, const std::string& channel, int zone,
                              const std::function<void(const std::string&)>& on_file,
                              const std::vector<std::string>& kept) {
  SurveyFiles out{files, channel, zone, {}, {}, {}, {}};
  if (files.empty()) {
    out.mosaic.error = "no data file";
    return out;
  }
  SurveyMosaicBuilder mosaic;
  const bool keep = files.size() == 1;
  for (std::size_t i = 0; i < files.size(); ++i) {
    const std::string& file = files[i];
    if (on_file) on_file(file);
    SurveySamplesResult read;
    {  // the bytes go before the readings are looked at, unless they cannot be read again
      const bool held = i < kept.size() && !kept[i].empty();
      std::optional<std::string> bytes = held ? std::optional<std::string>() : read_file_bytes(file);
      if (!held && !bytes) {
        out.mosaic = {std::nullopt, "cannot read " + file};
        return out;
      }
      const std::string_view view = held ? std::string_view(kept[i]) : std::string_view(*bytes);
      out.fingerprints.push_back(bytes_fingerprint(view));
      read = survey_samples(view, channel, zone);
      std::error_code ec;
      out.kept.push_back(held                                         ? kept[i]
                         : std::filesystem::is_regular_file(file, ec) ? std::string()
                                                                      : std::move(*bytes));
    }
    if (!read.survey) {
      out.mosaic = {std::nullopt, file + ": " + read.error};
      return out;
    }
    survey_file(out.grid, read.survey->samples);
    if (!keep) std::vector<GridSample>().swap(read.survey->samples);
    if (!add_survey_part(mosaic, {file, std::move(*read.survey)})) break;
  }
  out.mosaic = std::move(mosaic.mosaic);
  return out;
}

GridFiles survey_grid_files(const SurveyFiles& s) {
  return [&s](const GridFileVisitor& visit) {
    if (s.files.size() == 1) {
      visit(s.mosaic.survey->samples);
      return true;
    }
    return read_files_again(s.files, s.kept, s.fingerprints, s.channel, s.zone, visit);
  };
}

}  // namespace quelor::tool
