// `quelor check` on any bytes: the report is consistent with itself.
#include "data_file_seeds.h"
#include "datafile/file_check.h"
#include "datafile/intact_length.h"

namespace quelor::fuzz {
std::vector<std::string> seeds() { return data_file_seeds(false); }

void fuzz_one(const FuzzInput& in) {
  const std::string_view bytes = in.text;
  const FileCheckReport report = check_data_file(bytes);
  expect(report.errors.size() <= kMaxReportedErrors, "at most the reported errors kept");
  expect(report.error_count >= static_cast<long>(report.errors.size()), "error count covers the kept errors");
  long tagged = 0;
  for (const auto& [tag, count] : report.by_tag) tagged += count;
  expect(tagged <= report.records, "tags counted within the records");
  // --repair cuts to the intact length; the cut file checks again.
  const std::size_t intact = intact_length(bytes);
  expect(intact <= in.bytes.size(), "intact length within the file");
  (void)check_data_file(bytes.substr(0, intact));
}

}  // namespace quelor::fuzz
