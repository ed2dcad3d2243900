#include "datafile/stored_gps.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "gps/checksum.h"

namespace quelor {

namespace {

constexpr double kMetresPerDegree = 111320.0;  // along a meridian, near enough for a jump
constexpr double kShortestInterval = 0.2;      // seconds: receive ticks jitter
constexpr int kRefusalsForNewStart = 3;

std::string piece(const DataRecord& r) {
  std::string_view p = r.body();
  if (p.empty()) return {};
  p.remove_prefix(1);
  while (!p.empty() && p.back() == ' ') p.remove_suffix(1);
  return std::string(p);
}

double seconds_between(const TimedFix& from, const TimedFix& to) {
  double seconds = static_cast<std::uint32_t>(to.tick - from.tick) / 1000.0;
  double utc = to.fix.time_of_day - from.fix.time_of_day;
  if (utc < 0) utc += 86400.0;
  if (from.fix.time_of_day > 0 && to.fix.time_of_day > 0) seconds = std::max(seconds, utc);
  return std::max(seconds, kShortestInterval);
}

std::optional<FixJump> jump_between(const TimedFix& from, const TimedFix& to) {
  const FixJump j{fix_distance(from.fix, to.fix), seconds_between(from, to)};
  if (!(j.metres / j.seconds > kMaximumFixSpeed)) return std::nullopt;
  return j;
}

}  // namespace

std::optional<StoredSentence> feed_sentence(SentenceAssembly& a, const DataRecord& r) {
  if (r.kind == RecordKind::kGpsContinuation && a.open) {
    a.open->text += piece(r);
    return std::nullopt;
  }
  std::optional<StoredSentence> done = std::move(a.open);
  a.open.reset();
  if (done && r.kind == RecordKind::kGpsSummary) {
    done->summarised = true;
    done->tick = r.tick.value_or(0);
    done->passed_on = r.body().size() > 7 && r.body()[7] == 'p';
  }
  if (r.kind == RecordKind::kGpsFirst) a.open = StoredSentence{piece(r), r.number};
  return done;
}

std::optional<StoredSentence> finish_sentence(SentenceAssembly& a) {
  std::optional<StoredSentence> done = std::move(a.open);
  a.open.reset();
  return done;
}

StoredSentenceCheck check_stored_sentence(const std::string& text, const FormatTable& format) {
  switch (check_nmea_checksum(text)) {
    case ChecksumResult::kOk: return StoredSentenceCheck::kOk;
    case ChecksumResult::kMismatch: return StoredSentenceCheck::kChecksumMismatch;
    case ChecksumResult::kMissing: break;
  }
  return format.checksum_required ? StoredSentenceCheck::kChecksumMissing : StoredSentenceCheck::kOk;
}

double fix_distance(const GpsFix& a, const GpsFix& b) {
  if (a.geographic != b.geographic) return INFINITY;
  if (!a.geographic) return std::hypot(b.easting - a.easting, b.northing - a.northing);
  const double mean_latitude = (a.latitude + b.latitude) / 2 * std::numbers::pi / 180;
  double dlon = b.longitude - a.longitude;
  if (dlon > 180) dlon -= 360;
  if (dlon < -180) dlon += 360;
  return kMetresPerDegree * std::hypot(b.latitude - a.latitude, dlon * std::cos(mean_latitude));
}

std::optional<FixJump> screen_fix(FixJumpScreen& s, const GpsFix& fix, std::uint32_t tick) {
  const TimedFix now{fix, tick};
  std::optional<FixJump> jump = s.trusted ? jump_between(*s.trusted, now) : std::nullopt;
  if (!jump) {
    s.trusted = now;
    s.candidate.reset();
    s.agreeing_refusals = 0;
    return std::nullopt;
  }
  s.agreeing_refusals = s.candidate && !jump_between(*s.candidate, now) ? s.agreeing_refusals + 1 : 1;
  s.candidate = now;
  if (s.agreeing_refusals < kRefusalsForNewStart) return jump;
  s.trusted = now;
  s.candidate.reset();
  s.agreeing_refusals = 0;
  return std::nullopt;
}

}  // namespace quelor
