// quelor check [--repair] FILE: validates a survey data file and prints one
// JSON object. --repair first cuts what a crash may leave at the end (a
// partial last record, records of zero bytes) and reports how many bytes;
// the cut bytes are kept beside the file (FILE.cut, or FILE.cut.2, ... when
// that name is taken), written before anything is cut.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

#include "commands.h"
#include "datafile/output_file.h"
#include "file_input.h"
#include "datafile/file_check.h"
#include "datafile/intact_length.h"
#include "json.h"

namespace quelor::tool {

namespace {

std::string by_tag_json(const FileCheckReport& r) {
  JsonObject o;
  for (const auto& [tag, count] : r.by_tag) o.integer(std::string(1, tag), count);
  return o.text();
}

std::string errors_json(const std::vector<FileCheckError>& errors) {
  std::string out = "[";
  for (std::size_t i = 0; i < errors.size(); ++i) {
    if (i) out += ',';
    out += JsonObject().integer("record", errors[i].record).str("message", errors[i].message).text();
  }
  return out + "]";
}

// Cuts `bytes` (the whole file as read) to `intact` bytes, the rest first
// kept in a copy beside it: the copy's name, or the reason nothing was cut.
struct Repair {
  std::string copy, error;
};

Repair repair_file(const std::string& path, std::string_view bytes, std::size_t intact) {
  const std::string copy = free_file_name(path + ".cut");
  if (copy.empty()) return {{}, "no free name for the cut bytes beside " + path};
  if (std::string why = write_output_file(copy, {path}, bytes.substr(intact)); !why.empty()) return {{}, why};
  std::error_code error;
  // Bytes added since the file was read (a program still logging) are never cut.
  if (std::filesystem::file_size(path, error) != bytes.size() || error) {
    std::filesystem::remove(copy, error);
    return {{}, path + " changed while it was read: not repaired"};
  }
  std::filesystem::resize_file(path, intact, error);
  if (error) {
    const std::string why = "cannot repair " + path + ": " + error.message();
    std::filesystem::remove(copy, error);
    return {{}, why};
  }
  return {copy, {}};
}

}  // namespace

int run_check(int argc, char** argv) {
  const bool repair = argc == 3 && std::strcmp(argv[1], "--repair") == 0;
  if (argc != 2 && !repair) {
    std::fprintf(stderr, "usage: quelor check [--repair] FILE\n");
    return 2;
  }
  const char* path = argv[argc - 1];
  const std::optional<std::string> read = read_file_bytes(path);
  if (!read) {
    std::fprintf(stderr, "quelor check: cannot read %s\n", path);
    return 2;
  }
  std::string bytes = std::move(*read);
  std::size_t cut = 0;
  std::string cut_copy;
  if (repair) {
    const std::size_t intact = intact_length(bytes);
    cut = bytes.size() - intact;
    if (cut > 0) {
      const Repair done = repair_file(path, bytes, intact);
      if (!done.error.empty()) {
        std::fprintf(stderr, "quelor check: %s\n", done.error.c_str());
        return 2;
      }
      cut_copy = done.copy;
    }
    bytes.resize(intact);
  }
  const FileCheckReport r = check_data_file(bytes);
  JsonObject o;
  if (repair) o.integer("repaired_bytes", static_cast<long long>(cut));
  if (!cut_copy.empty()) o.str("cut_bytes", cut_copy);
  o.integer("record_length", r.record_length)
      .integer("records", r.records)
      .raw("by_tag", by_tag_json(r))
      .str("program_code", r.program_code)
      .str("version", r.version)
      .integer("headers", r.headers)
      .integer("lines", r.lines)
      .integer("gps_positions", r.gps_positions)
      .raw("errors", errors_json(r.errors))
      .raw("warnings", errors_json(r.warnings));
  if (r.error_count > static_cast<long>(r.errors.size())) o.integer("error_count", r.error_count);
  if (r.warning_count > static_cast<long>(r.warnings.size())) o.integer("warning_count", r.warning_count);
  std::printf("%s\n", o.text().c_str());
  return r.error_count == 0 ? 0 : 1;
}

}  // namespace quelor::tool
