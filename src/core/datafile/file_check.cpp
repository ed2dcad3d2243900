#include "datafile/file_check.h"

#include <array>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "datafile/file_header.h"
#include "datafile/naming.h"
#include "datafile/record_cursor.h"
#include "datafile/record_layout.h"
#include "datafile/stored_gps.h"
#include "gps/parser.h"
#include "variant/variant.h"
#include "variant/instrument.h"

namespace quelor {

namespace {

enum class Phase { kData, kHeader, kAfterHeader, kLine, kAfterLine };
enum TickKind { kReadingTicks, kGpsTicks, kTiltTicks, kEventTicks, kTickKinds };

struct Checker {
  std::string_view bytes;
  FileCheckReport report;
  int length = 0;
  std::optional<Variant> variant;
  Phase phase = Phase::kData;
  std::string expected;  // tags still due in the current block
  char previous_tag = 0;
  std::array<std::optional<std::uint32_t>, kTickKinds> last_tick{};
  FormatTable format = make_format_table(kFormatGga, false);
  SentenceAssembly sentences;
  FixJumpScreen jumps;

  void error(long record, std::string message) {
    ++report.error_count;
    if (report.errors.size() < kMaxReportedErrors) report.errors.push_back({record, std::move(message)});
  }

  void warning(long record, std::string message) {
    ++report.warning_count;
    if (report.warnings.size() < kMaxReportedErrors) report.warnings.push_back({record, std::move(message)});
  }

  static bool is_digits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
      if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    return true;
  }

  static bool is_number(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) ++i;
    bool digit = false, point = false;
    for (; i < field.size(); ++i) {
      if (std::isdigit(static_cast<unsigned char>(field[i])))
        digit = true;
      else if (field[i] == '.' && !point)
        point = true;
      else
        return false;
    }
    return digit;
  }

  bool is_reading_tag(char tag) const {
    return is_instrument_letter(variant ? variant->instrument_type : kEm31Mk2, tag);
  }

  // A stored GPS sentence: a checksum that does not match, or a position
  // that jumps further than a survey moves, is warned about; the file stays
  // valid (export, map, grid and report leave such positions out).
  void gps_sentence(const StoredSentence& s) {
    const StoredSentenceCheck c = check_stored_sentence(s.text, format);
    const bool position = s.text.find(format.sentence_name) != std::string::npos;
    if (c == StoredSentenceCheck::kChecksumMismatch || (position && c == StoredSentenceCheck::kChecksumMissing)) {
      warning(s.record, std::string(stored_sentence_problem(c)));
      return;
    }
    if (!position || !s.summarised) return;
    const GpsFix fix = parse_gps_fix(s.text, format, FixOptions{});
    if (!fix.valid) return;
    if (const auto jump = screen_fix(jumps, fix, s.tick))
      warning(s.record, format_text("GPS position jumps %.0f m in %.1f s", jump->metres, jump->seconds));
  }

  bool raw_reading_bytes() const {
    if (!variant) return false;
    return has_binary_records(variant->instrument_type);
  }

  void check_tick(long n, std::string_view field, TickKind kind) {
    const std::optional<std::uint32_t> tick = parse_tick(field);
    if (!tick) {
      error(n, "tick field is not a number");
      return;
    }
    if (last_tick[kind] && *tick < *last_tick[kind])
      error(n, format_text("tick decreases (%lu after %lu)", static_cast<unsigned long>(*tick),
                           static_cast<unsigned long>(*last_tick[kind])));
    last_tick[kind] = tick;
  }

  // EM31-MK2, EM38 and EM34-3 records carry the instrument's status byte in
  // column 1 as received: a horizontal dipole or an EM34-3 20 m record has a
  // status byte below 0x20.
  bool raw_status_byte() const {
    if (!variant) return false;
    const InstrumentType t = variant->instrument_type;
    return is_t_record_instrument(t);
  }

  void check_printable(long n, std::string_view rec, bool reading, bool tilt) {
    const std::size_t raw_end = reading && raw_reading_bytes() ? static_cast<std::size_t>(length - 11) : 0;
    const bool raw_status = reading && raw_status_byte();
    for (std::size_t i = 0; i + 1 < rec.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(rec[i]);
      if (i < raw_end || (raw_status && i == 1)) continue;
      if (tilt && i >= 23) {
        if (c != 0) {
          error(n, format_text("tilt record column %d is not a zero byte", static_cast<int>(i)));
          return;
        }
        continue;
      }
      if (c < 32 || c > 126) {
        error(n, format_text("unprintable byte 0x%02X in column %d", c, static_cast<int>(i)));
        return;
      }
    }
  }

  void start_header(long n, std::string_view rec, const std::optional<FileHeader>& header) {
    ++report.headers;
    if (header && header->has_g3)
      format = make_format_table(header->fields.gps_sentence, header->fields.pseudo_gga_variant == 1);
    jumps = FixJumpScreen{};
    const std::optional<Variant> v = variant_of_program_code(rec.substr(0, 9));
    const bool continuing = std::islower(static_cast<unsigned char>(rec[0])) != 0;
    if (!variant) {
      variant = v;
      report.program_code = std::string(rec.substr(0, 9));
      report.version = std::string(rec.substr(9, 3));
      if (record_length(*v) != length)
        error(n, format_text("record length %d does not match the program code (%d)", length, record_length(*v)));
      if (continuing) error(n, "first header is marked as a continuation");
    } else if (v->instrument_type != variant->instrument_type || v->navigation_mode != variant->navigation_mode) {
      error(n, "header of another program: " + std::string(rec.substr(0, 9)));
    } else if (!continuing) {
      error(n, "further header is not marked as a continuation");
    }
    if (continuing && v->navigation_mode == kNavigation) error(n, "navigation-line file continued");
    last_tick.fill(std::nullopt);
    phase = Phase::kHeader;
    expected = v->navigation_mode == kRealTimeMap ? "HGGG" : "HG";
  }

  void check_fields(long n, std::string_view rec) {
    const char tag = rec[0];
    switch (tag) {
      case 'B':
        if (!is_number(rec.substr(1, 11))) error(n, "line start station is not a number");
        break;
      case 'A':
        if (std::string_view("WSNE").find(rec[1]) == std::string_view::npos) error(n, "bad line direction");
        if (!is_number(rec.substr(8, 11))) error(n, "station increment is not a number");
        break;
      case 'Z':
        if (!is_digits(rec.substr(1, 8)) || rec[9] != ' ' || rec[12] != ':' || rec[15] != ':')
          error(n, "bad date and time");
        break;
      case '*':
        if (rec[3] != ':' || rec[6] != ':' || rec[9] != '.' || !is_digits(rec.substr(10, 3))) error(n, "bad time mark");
        break;
      case 'S':
        if (!is_number(rec.substr(1, 11))) error(n, "station is not a number");
        break;
      case '!':
        if (!is_digits(rec.substr(1, 6))) error(n, "GPS sentence count is not a number");
        if (rec[7] == 'p')
          ++report.gps_positions;
        else if (rec[7] != ' ')
          error(n, "bad GPS summary flag");
        if (std::string_view("@#?\"").find(previous_tag) == std::string_view::npos)
          error(n, "GPS summary without a sentence");
        break;
      case '#':
        if (previous_tag != '@' && previous_tag != '#') error(n, "GPS continuation without a first piece");
        break;
      case '"':
        if (previous_tag != '?' && previous_tag != '"') error(n, "GPS input continuation without a first piece");
        break;
      case '{':
        if (rec[1] != '0' && (rec[1] < 'a' || rec[1] > 'l'))
          error(n, "bad swath outline letter");
        else if (!is_number(rec.substr(2, 14)))
          error(n, "swath outline value is not a number");
        break;
      default: break;
    }
  }

  // Tag of the data part: tick kind, or -1 without a tick; -2 unknown.
  int data_kind(char tag) const {
    if (is_reading_tag(tag)) return kReadingTicks;
    switch (tag) {
      case '!': return kGpsTicks;
      case '~': return kTiltTicks;
      case '*':
      case 'C':
      case 'X':
      case '\\': return kEventTicks;
      case 'S':
      case '@':
      case '#':
      case '?':
      case '"':
      case '{':
      case 'O':
      case 'I':
      case 'L': return -1;
      default: return -2;
    }
  }

  void data_record(long n, std::string_view rec) {
    const char tag = rec[0];
    const int kind = data_kind(tag);
    if (kind == -2) {
      if (std::string_view("HGBAZ").find(tag) != std::string_view::npos)
        error(n, format_text("'%c' record outside its block", tag));
      else
        error(n, format_text("unknown tag 0x%02X", static_cast<unsigned char>(tag)));
      return;
    }
    if (tag == 'L') {
      ++report.lines;
      phase = Phase::kLine;
      expected = "BAZ";
    }
    check_printable(n, rec, kind == kReadingTicks, tag == '~');
    if (tag == '~')
      check_tick(n, rec.substr(13, 10), kTiltTicks);
    else if (kind >= 0)
      check_tick(n, rec.substr(static_cast<std::size_t>(length - 11), 10), static_cast<TickKind>(kind));
    check_fields(n, rec);
  }

  void record(const DataRecord& r, RecordCursor at) {
    const long n = r.number;
    const std::string_view rec = r.bytes;
    ++report.by_tag[rec[0]];
    if (auto s = feed_sentence(sentences, r)) gps_sentence(*s);
    if (rec.back() != '\n') error(n, "record does not end in a line feed");
    if (r.kind == RecordKind::kIdentification) {
      if (phase == Phase::kHeader || phase == Phase::kLine) error(n, "block cut short by a header");
      start_header(n, rec, read_file_header(at));
      previous_tag = rec[0];
      return;
    }
    if (n == 1) error(n, "first record is not a header of this program family");
    const char tag = rec[0];
    if (phase == Phase::kHeader || phase == Phase::kLine) {
      if (tag == expected.front()) {
        check_printable(n, rec, false, false);
        check_fields(n, rec);
        expected.erase(0, 1);
        if (expected.empty()) phase = phase == Phase::kHeader ? Phase::kAfterHeader : Phase::kAfterLine;
        previous_tag = tag;
        return;
      }
      error(n, format_text("expected '%c' record", expected.front()));
      phase = Phase::kData;
    } else if (phase == Phase::kAfterHeader && tag != 'O' && tag != 'I' && tag != 'L') {
      error(n, "header block not followed by a line block");
      phase = Phase::kData;
    } else if (phase == Phase::kAfterLine && tag != 'O' && tag != 'I' && tag != '*') {
      error(n, "line block not followed by a time mark");
      phase = Phase::kData;
    } else if ((phase == Phase::kAfterHeader || phase == Phase::kAfterLine) && tag != 'O' && tag != 'I') {
      phase = Phase::kData;
    }
    data_record(n, rec);
    previous_tag = tag;
  }

  void run() {
    const DataFile file = open_data_file(bytes);
    const std::size_t lf = bytes.find('\n');
    if (lf == std::string_view::npos) {
      error(1, "no line feed: not a data file");
      return;
    }
    length = file.record_length > 0 ? file.record_length : static_cast<int>(lf + 1);
    report.record_length = length;
    if (length != 24 && length != 27 && length != 47 && length != 65) {
      error(1, format_text("record length %d is not one of 24, 27, 47, 65", length));
      return;
    }
    RecordCursor cursor = record_cursor(file);
    for (RecordCursor at = cursor; const auto r = next_record(cursor); at = cursor) record(*r, at);
    if (auto s = finish_sentence(sentences)) gps_sentence(*s);
    const long n = cursor.number;
    report.records = n;
    if (file.trailing_bytes() != 0)
      error(n + 1, format_text("truncated record: %d of %d bytes", static_cast<int>(file.trailing_bytes()), length));
    if (phase == Phase::kHeader || phase == Phase::kLine || phase == Phase::kAfterHeader)
      error(n, "file ends inside a header or line block");
  }
};

}  // namespace

FileCheckReport check_data_file(std::string_view bytes) {
  Checker checker;
  checker.bytes = bytes;
  checker.run();
  return checker.report;
}

}  // namespace quelor
