// The one reader of data files on any bytes (records, header blocks, stored
// GPS sentences), and `quelor check` over it: both consistent with
// themselves.
#include <cmath>

#include "data_file_seeds.h"
#include "datafile/file_check.h"
#include "datafile/file_header.h"
#include "datafile/intact_length.h"
#include "datafile/record_cursor.h"
#include "datafile/stored_gps.h"
#include "gps/parser.h"

namespace quelor::fuzz {
std::vector<std::string> seeds() { return data_file_seeds(false); }

namespace {

void read_records(std::string_view bytes) {
  const DataFile file = open_data_file(bytes);
  expect(file.record_length >= 0 && file.record_length <= kLongestDataRecord, "record length within the longest");
  const FormatTable gga = make_format_table(kFormatGga, false);
  RecordCursor cursor = record_cursor(file);
  SentenceAssembly sentences;
  FixJumpScreen jumps;
  long n = 0;
  for (RecordCursor at = cursor; const auto r = next_record(cursor); at = cursor) {
    expect(r->number == ++n, "records numbered in order");
    expect(r->bytes.size() == static_cast<std::size_t>(file.record_length), "whole records");
    expect(!r->tick || kind_has_tick(r->kind), "a tick only where the record has one");
    if (r->kind == RecordKind::kIdentification) {
      RecordCursor header = at;
      const std::optional<FileHeader> h = read_file_header(header);
      expect(h.has_value(), "an identification record starts a header");
      if (h) expect(h->records >= 1 && header.number == r->number + h->records - 1, "the header's records read");
    }
    if (const auto s = feed_sentence(sentences, *r)) {
      expect(s->record >= 1 && s->record < r->number, "a sentence starts before the record that ends it");
      if (check_stored_sentence(s->text, gga) != StoredSentenceCheck::kOk) continue;
      const GpsFix fix = parse_gps_fix(s->text, gga, FixOptions{});
      if (!fix.valid) continue;
      if (const auto jump = screen_fix(jumps, fix, s->tick))
        expect(jump->seconds > 0 && !(jump->metres <= jump->seconds * kMaximumFixSpeed), "a jump is too fast");
    }
  }
  expect(n == file.record_count(), "every whole record read");
  expect(static_cast<std::size_t>(n) * static_cast<std::size_t>(file.record_length) + file.trailing_bytes() ==
             bytes.size(),
         "records and trailing bytes make the file");
}

}  // namespace

void fuzz_one(const FuzzInput& in) {
  const std::string_view bytes = in.text;
  read_records(bytes);
  const FileCheckReport report = check_data_file(bytes);
  expect(report.errors.size() <= kMaxReportedErrors, "at most the reported errors kept");
  expect(report.error_count >= static_cast<long>(report.errors.size()), "error count covers the kept errors");
  expect(report.warning_count >= static_cast<long>(report.warnings.size()), "warning count covers the kept warnings");
  for (const FileCheckError& w : report.warnings)
    expect(w.record >= 1 && w.record <= report.records, "warned record exists");
  long tagged = 0;
  for (const auto& [tag, count] : report.by_tag) tagged += count;
  expect(tagged <= report.records, "tags counted within the records");
  // --repair cuts to the intact length; the cut file checks again.
  const std::size_t intact = intact_length(bytes);
  expect(intact <= in.bytes.size(), "intact length within the file");
  (void)check_data_file(bytes.substr(0, intact));
}

}  // namespace quelor::fuzz
