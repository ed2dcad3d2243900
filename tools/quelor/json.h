#pragma once
// A small writer of one-line JSON objects for the tool's output.

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quelor::tool {

inline std::string json_string(std::string_view s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20 || c >= 0x7F) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

// At least 10 significant digits; non-finite numbers become null.
inline std::string json_number(double v) {
  if (!std::isfinite(v)) return "null";
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.12g", v);
  return buf;
}

inline std::string json_hex(const unsigned char* bytes, std::size_t n) {
  static const char digits[] = "0123456789abcdef";
  std::string out = "\"";
  for (std::size_t i = 0; i < n; ++i) {
    out += digits[bytes[i] >> 4];
    out += digits[bytes[i] & 15];
  }
  return out + "\"";
}

class JsonObject {
 public:
  JsonObject& raw(std::string_view key, std::string_view value) {
    text_ += text_.empty() ? "{" : ",";
    text_ += json_string(key);
    text_ += ':';
    text_ += value;
    return *this;
  }
  JsonObject& str(std::string_view key, std::string_view v) { return raw(key, json_string(v)); }
  JsonObject& num(std::string_view key, double v) { return raw(key, json_number(v)); }
  JsonObject& integer(std::string_view key, long long v) { return raw(key, std::to_string(v)); }
  JsonObject& boolean(std::string_view key, bool v) { return raw(key, v ? "true" : "false"); }
  JsonObject& numbers(std::string_view key, const std::vector<std::optional<double>>& values) {
    std::string arr = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (i) arr += ',';
      arr += values[i] ? json_number(*values[i]) : "null";
    }
    return raw(key, arr + "]");
  }
  std::string text() const { return text_.empty() ? "{}" : text_ + "}"; }

 private:
  std::string text_;
};

}  // namespace quelor::tool
