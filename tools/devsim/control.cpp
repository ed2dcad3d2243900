#include "devsim/control.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace quelor::devsim {
namespace {

std::vector<std::string_view> words_of(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::optional<long> integer_of(std::string_view w) {
  long v = 0;
  const auto [end, ec] = std::from_chars(w.data(), w.data() + w.size(), v);
  if (ec != std::errc() || end != w.data() + w.size()) return std::nullopt;
  return v;
}

std::optional<double> number_of(std::string_view w) {
  const std::string text(w);
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

struct Keyword {
  std::string_view word;
  ControlKind kind;
};

constexpr std::array<Keyword, 19> kKeywords{{
    {"trigger", ControlKind::kTrigger},
    {"silence", ControlKind::kSilence},
    {"unplug", ControlKind::kUnplug},
    {"plug", ControlKind::kPlug},
    {"garbage", ControlKind::kGarbage},
    {"badsum", ControlKind::kBadsum},
    {"quality", ControlKind::kQuality},
    {"satellites", ControlKind::kSatellites},
    {"hdop", ControlKind::kHdop},
    {"dipole", ControlKind::kDipole},
    {"switch", ControlKind::kSwitch},
    {"offsets", ControlKind::kOffsets},
    {"stance", ControlKind::kStance},
    {"ratio", ControlKind::kRatio},
    {"current", ControlKind::kCurrent},
    {"pause-walk", ControlKind::kPauseWalk},
    {"resume-walk", ControlKind::kResumeWalk},
    {"status", ControlKind::kStatus},
    {"quit", ControlKind::kQuit},
}};

ControlParse fail(std::string message) { return {std::nullopt, std::move(message)}; }

// DEVICE and a count or a number of seconds.
ControlParse device_command(ControlCommand c, const std::vector<std::string_view>& w, bool seconds) {
  if (w.size() != 3) return fail(std::string(w[0]) + ": expected DEVICE and a number");
  const auto d = device_from_name(w[1]);
  if (!d) return fail("unknown device '" + std::string(w[1]) + "'");
  c.device = *d;
  if (seconds) {
    const auto v = number_of(w[2]);
    if (!v || *v < 0) return fail("bad number of seconds '" + std::string(w[2]) + "'");
    c.number = *v;
  } else {
    const auto v = integer_of(w[2]);
    if (!v || *v < 0 || *v > 1000000) return fail("bad count '" + std::string(w[2]) + "'");
    c.count = static_cast<int>(*v);
  }
  return {c, {}};
}

// DEVICE, and with `seconds_allowed` an optional number of seconds above 0.
ControlParse link_command(ControlCommand c, const std::vector<std::string_view>& w, bool seconds_allowed) {
  const std::size_t most = seconds_allowed ? 3 : 2;
  if (w.size() < 2 || w.size() > most)
    return fail(std::string(w[0]) + (seconds_allowed ? ": expected DEVICE [SECONDS]" : ": expected DEVICE"));
  const auto d = device_from_name(w[1]);
  if (!d) return fail("unknown device '" + std::string(w[1]) + "'");
  c.device = *d;
  if (w.size() == 3) {
    const auto v = number_of(w[2]);
    if (!v || *v <= 0) return fail("bad number of seconds '" + std::string(w[2]) + "'");
    c.number = *v;
  }
  return {c, {}};
}

ControlParse count_command(ControlCommand c, const std::vector<std::string_view>& w, long low, long high) {
  if (w.size() != 2) return fail(std::string(w[0]) + ": expected one number");
  const auto v = integer_of(w[1]);
  if (!v || *v < low || *v > high) return fail("bad value '" + std::string(w[1]) + "'");
  c.count = static_cast<int>(*v);
  return {c, {}};
}

}  // namespace

std::optional<Device> device_from_name(std::string_view name) {
  if (name == "instrument") return Device::kInstrument;
  if (name == "gps") return Device::kGps;
  if (name == "tilt") return Device::kTilt;
  return std::nullopt;
}

std::string_view device_name(Device d) {
  switch (d) {
    case Device::kInstrument: return "instrument";
    case Device::kGps: return "gps";
    case Device::kTilt: return "tilt";
  }
  return "";
}

ControlParse parse_control_line(std::string_view line) {
  const std::vector<std::string_view> w = words_of(line);
  if (w.empty() || w[0].front() == '#') return {};
  ControlCommand c;
  bool known = false;
  for (const Keyword& k : kKeywords)
    if (k.word == w[0]) {
      c.kind = k.kind;
      known = true;
    }
  if (!known) return fail("unknown command '" + std::string(w[0]) + "'");
  switch (c.kind) {
    case ControlKind::kTrigger:
      if (w.size() == 1) {
        c.count = 3;
        return {c, {}};
      }
      return count_command(c, w, 1, 1000);
    case ControlKind::kSilence: return device_command(c, w, true);
    case ControlKind::kUnplug: return link_command(c, w, true);
    case ControlKind::kPlug: return link_command(c, w, false);
    case ControlKind::kGarbage:
    case ControlKind::kBadsum: return device_command(c, w, false);
    case ControlKind::kQuality: return count_command(c, w, 0, 9);
    case ControlKind::kSatellites: return count_command(c, w, 0, 99);
    case ControlKind::kHdop: {
      const auto v = w.size() == 2 ? number_of(w[1]) : std::nullopt;
      if (!v || *v < 0 || *v > 99) return fail("hdop: expected a number 0..99");
      c.number = *v;
      return {c, {}};
    }
    case ControlKind::kDipole:
      if (w.size() != 2 || (w[1] != "V" && w[1] != "H" && w[1] != "v" && w[1] != "h"))
        return fail("dipole: expected V or H");
      c.vertical = w[1] == "V" || w[1] == "v";
      return {c, {}};
    case ControlKind::kSwitch:
      if (w.size() != 2 || (w[1] != "auto" && w[1] != "manual")) return fail("switch: expected auto or manual");
      c.manual = w[1] == "manual";
      return {c, {}};
    case ControlKind::kOffsets:
      if (w.size() < 2 || w.size() > 7) return fail("offsets: expected one to six numbers");
      for (std::size_t i = 1; i < w.size(); ++i) {
        const auto v = number_of(w[i]);
        if (!v) return fail("offsets: bad number '" + std::string(w[i]) + "'");
        c.values[i - 1] = *v;
      }
      return {c, {}};
    case ControlKind::kStance: {
      static constexpr std::array<std::string_view, 3> kStances{"walk", "air", "ground"};
      for (std::size_t i = 0; i < kStances.size(); ++i)
        if (w.size() == 2 && w[1] == kStances[i]) {
          c.stance = static_cast<int>(i);
          return {c, {}};
        }
      return fail("stance: expected walk, air or ground");
    }
    case ControlKind::kRatio: {
      const auto v = w.size() == 2 ? number_of(w[1]) : std::nullopt;
      if (!v || *v <= 0 || *v > 1000) return fail("ratio: expected a number above 0");
      c.number = *v;
      return {c, {}};
    }
    case ControlKind::kCurrent: return count_command(c, w, 0, 32767);
    default:
      if (w.size() != 1) return fail(std::string(w[0]) + ": takes no arguments");
      return {c, {}};
  }
}

}  // namespace quelor::devsim
