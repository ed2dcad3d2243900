#pragma once
// Test helpers: a simulated walk along one survey line and the project's own
// framers run over a byte stream.

#include <string>
#include <vector>

#include "devsim/readings.h"
#include "devsim/site.h"
#include "devsim/walk.h"
#include "serial/instrument_framer.h"

namespace quelor::devsim::testing {

inline WalkPlan test_plan() {
  WalkPlan p;
  p.origin = to_grid(GeoPoint{43.6099, -79.6000});
  p.lines = 4;
  p.line_length = 30;
  p.spacing = 2;
  p.speed = 1.2;
  p.heading = 30;
  return p;
}

inline Site test_site(const WalkPlan& p) {
  return make_default_site(p.line_length, (p.lines - 1) * p.spacing, p.heading, 7);
}

// Points every `step` metres over the whole walk.
inline std::vector<WalkPoint> walk_points(const WalkPlan& p, double step) {
  std::vector<WalkPoint> out;
  for (double d = 0; d <= walk_length(p); d += step) out.push_back(walk_at_distance(p, d));
  return out;
}

// Every record the program's reader for `type` frames out of `stream`.
inline std::vector<RecordBytes> frame_stream(InstrumentType type, const ReaderOptions& options,
                                             const std::string& stream) {
  std::vector<RecordBytes> records;
  auto framer = make_instrument_framer(type, options);
  if (!framer) return records;
  const FrameContext ctx{};
  for (char c : stream) {
    const FrameStep step = frame_byte(*framer, static_cast<std::uint8_t>(c), ctx);
    if (step.event == FrameEvent::kRecord) records.push_back(framed_record(*framer));
  }
  return records;
}

}  // namespace quelor::devsim::testing
