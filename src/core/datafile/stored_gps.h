#pragma once
// The GPS sentences a data file stores, read back: '@' and '#' pieces joined
// into one sentence, the '!' summary after it, and what may be trusted for a
// position. A sentence whose checksum does not match what it says (a byte
// changed in the file) gives no position, nor does a fix that lies further
// from the last trusted one than walking or towing can go in the time
// between them.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "datafile/record_cursor.h"
#include "gps/fix.h"
#include "gps/formats.h"

namespace quelor {

struct StoredSentence {
  std::string text;         // the pieces joined, trailing spaces cut
  long record = 0;          // the number of its '@' record
  bool summarised = false;  // a '!' record followed it
  std::uint32_t tick = 0;   // the summary's tick
  bool passed_on = false;   // the summary's 'p'
};

struct SentenceAssembly {
  std::optional<StoredSentence> open;
};

// Feeds the records in file order. A sentence is complete at the first
// record after its '@' that is no '#'; that record's sentence is returned.
std::optional<StoredSentence> feed_sentence(SentenceAssembly& a, const DataRecord& record);
// The sentence still open at the end of the file.
std::optional<StoredSentence> finish_sentence(SentenceAssembly& a);

enum class StoredSentenceCheck { kOk, kChecksumMismatch, kChecksumMissing };

// A checksum that does not match fails whatever the format; a missing one
// only where the format requires it.
StoredSentenceCheck check_stored_sentence(const std::string& text, const FormatTable& format);
// "GPS sentence checksum does not match", "GPS sentence without its checksum".
std::string_view stored_sentence_problem(StoredSentenceCheck check);

// Faster than this between two fixes is no walk or tow: a changed byte or a
// receiver's glitch.
inline constexpr double kMaximumFixSpeed = 50.0;  // metres per second

struct TimedFix {
  GpsFix fix;
  std::uint32_t tick = 0;
};

struct FixJumpScreen {
  std::optional<TimedFix> trusted;    // the last fix used
  std::optional<TimedFix> candidate;  // the last fix refused
  int agreeing_refusals = 0;          // refused fixes in a row that agree with each other
};

struct FixJump {
  double metres = 0.0;
  double seconds = 0.0;
};

// Nothing when the fix may be used (it becomes the trusted one); the jump
// from the trusted fix otherwise. Three refused fixes in a row that agree
// with each other are a new start (the trusted fix was the wrong one): the
// third is used. Geographic fixes are compared by latitude and longitude,
// grid fixes by easting and northing (metres).
std::optional<FixJump> screen_fix(FixJumpScreen& screen, const GpsFix& fix, std::uint32_t tick);

// Metres between two fixes of one kind.
double fix_distance(const GpsFix& a, const GpsFix& b);

}  // namespace quelor
