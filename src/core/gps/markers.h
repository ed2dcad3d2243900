#pragma once
// The four marker characters handed with each logged GPS line to the data
// file: first-piece tag, continuation tag, summary tag and summary flag.

namespace quelor {

struct MarkerSet {
  char first;
  char continuation;
  char summary;
  char flag;
};

inline bool operator==(const MarkerSet& a, const MarkerSet& b) {
  return a.first == b.first && a.continuation == b.continuation && a.summary == b.summary && a.flag == b.flag;
}

// An accepted sentence.
inline constexpr MarkerSet kMarkerSetA{0x40, 0x23, 0x21, 0x20};
// The accepted position sentence that is also sent to the window.
inline constexpr MarkerSet kMarkerSetAp{0x40, 0x23, 0x21, 0x70};
// A line with a wrong or missing checksum or without a leading "$".
inline constexpr MarkerSet kMarkerSetQ{0x3F, 0x22, 0x21, 0x20};

}  // namespace quelor
