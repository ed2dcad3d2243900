// quelor check FILE: validates a survey data file and prints one JSON object.

#include <cstdio>
#include <string>

#include "commands.h"
#include "datafile/file_check.h"
#include "json.h"

namespace quelor::tool {

namespace {

std::string by_tag_json(const FileCheckReport& r) {
  JsonObject o;
  for (const auto& [tag, count] : r.by_tag) o.integer(std::string(1, tag), count);
  return o.text();
}

std::string errors_json(const FileCheckReport& r) {
  std::string out = "[";
  for (std::size_t i = 0; i < r.errors.size(); ++i) {
    if (i) out += ',';
    out += JsonObject().integer("record", r.errors[i].record).str("message", r.errors[i].message).text();
  }
  return out + "]";
}

}  // namespace

int run_check(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: quelor check FILE\n");
    return 2;
  }
  std::FILE* in = std::fopen(argv[1], "rb");
  std::string bytes;
  bool failed = in == nullptr;
  if (in) {
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, in)) > 0;) bytes.append(buffer, n);
    failed = std::ferror(in) != 0;
    std::fclose(in);
  }
  if (failed) {
    std::fprintf(stderr, "quelor check: cannot read %s\n", argv[1]);
    return 2;
  }
  const FileCheckReport r = check_data_file(bytes);
  JsonObject o;
  o.integer("record_length", r.record_length)
      .integer("records", r.records)
      .raw("by_tag", by_tag_json(r))
      .str("program_code", r.program_code)
      .str("version", r.version)
      .integer("headers", r.headers)
      .integer("lines", r.lines)
      .integer("gps_positions", r.gps_positions)
      .raw("errors", errors_json(r));
  if (r.error_count > static_cast<long>(r.errors.size())) o.integer("error_count", r.error_count);
  std::printf("%s\n", o.text().c_str());
  return r.error_count == 0 ? 0 : 1;
}

}  // namespace quelor::tool
