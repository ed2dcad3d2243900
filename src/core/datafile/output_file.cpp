#include "datafile/output_file.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "datafile/naming.h"

namespace quelor {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kHeadBytes = 9;  // the program code of record 1
constexpr int kTemporaryTries = 16;
constexpr int kMostCopies = 9999;

// The absolute, normalised path, through the links of its existing part.
fs::path normal_path(const std::string& p) {
  std::error_code e;
  fs::path c = fs::weakly_canonical(p, e);
  if (!e) return c;
  return fs::absolute(p, e).lexically_normal();
}

// Nothing named so: not even a dangling symbolic link.
bool name_free(const fs::path& p) {
  std::error_code e;
  return !fs::exists(fs::symlink_status(p, e));
}

std::string cannot_write(const std::string& target, int error) {
  return "cannot write " + target + (error != 0 ? std::string(": ") + std::strerror(error) : std::string());
}

// A symbolic link is followed: its target is the file replaced.
fs::path destination_of(const std::string& target) {
  std::error_code e;
  if (!fs::is_symlink(target, e)) return target;
  fs::path resolved = fs::weakly_canonical(target, e);
  return e ? fs::path(target) : resolved;
}

// ".NAME.<random>.part" in the destination's folder.
std::optional<fs::path> temporary_beside(const fs::path& destination) {
  std::random_device random;
  for (int i = 0; i < kTemporaryTries; ++i) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%08x%08x.part", random(), random());
    std::string name(1, '.');
    name += destination.filename().string();
    name += suffix;
    fs::path p = destination.parent_path() / name;
    if (name_free(p)) return p;
  }
  return std::nullopt;
}

// An existing target that is no regular file nor folder: a device or a pipe
// (/dev/null, /dev/stdout, NUL), written straight, never replaced.
bool is_stream(const std::string& target) {
#ifdef _WIN32
  if (names_windows_device(target)) return true;
#endif
  std::error_code e;
  const fs::file_status status = fs::status(target, e);
  return fs::exists(status) && !fs::is_regular_file(status) && !fs::is_directory(status);
}

// The file's bytes on the disk before it takes the target's name, so that
// a power loss never leaves a renamed but empty file.
bool to_disk(std::FILE* out) {
#ifdef _WIN32
  return _commit(_fileno(out)) == 0;
#else
  return fsync(fileno(out)) == 0;
#endif
}

// Writes through the sink into `out` (to the disk when `durable`), then
// closes it; false on any failure, with the errno of the first failing write
// or close in `failure` (0 when the writer itself failed).
bool write_and_close(std::FILE* out, const OutputWriter& write, bool durable, int& failure) {
  failure = 0;
  const OutputSink sink = [&](const void* data, std::size_t size) {
    if (std::fwrite(data, 1, size, out) == size) return true;
    if (failure == 0) failure = errno;
    return false;
  };
  bool ok = write(sink);
  if (std::fflush(out) != 0 || (ok && durable && !to_disk(out))) {
    if (failure == 0) failure = errno;
    ok = false;
  }
  if (std::fclose(out) != 0) {
    if (failure == 0) failure = errno;
    ok = false;
  }
  return ok;
}

std::string head_of(const std::string& path) {
  std::error_code e;
  if (!fs::is_regular_file(path, e)) return {};
  std::FILE* in = std::fopen(path.c_str(), "rb");
  if (in == nullptr) return {};
  char head[kHeadBytes];
  const std::size_t n = std::fread(head, 1, sizeof head, in);
  std::fclose(in);
  return std::string(head, n);
}

}  // namespace

bool names_windows_device(std::string_view path) {
  if (path.starts_with("\\\\.\\")) return true;
  const std::size_t slash = path.find_last_of("/\\:");
  std::string stem(path.substr(slash == std::string_view::npos ? 0 : slash + 1));
  stem = stem.substr(0, stem.find('.'));
  while (!stem.empty() && stem.back() == ' ') stem.pop_back();
  for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static constexpr std::string_view kDevices[] = {"NUL", "CON", "PRN", "AUX"};
  for (std::string_view device : kDevices)
    if (stem == device) return true;
  return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' && stem[3] <= '9';
}

bool holds_data_file_header(std::string_view head) {
  return variant_of_program_code(head.substr(0, kHeadBytes)).has_value();
}

bool same_file(const std::string& a, const std::string& b) {
  std::error_code ea, eb;
  if (fs::exists(a, ea) && fs::exists(b, eb)) {
    std::error_code e;
    return fs::equivalent(a, b, e);
  }
  return normal_path(a) == normal_path(b);
}

std::string output_refusal(const std::string& target, const std::vector<std::string>& inputs) {
  for (const std::string& input : inputs)
    if (same_file(target, input)) return "will not write over " + target + ": it is the input " + input;
  if (holds_data_file_header(head_of(target))) return "will not write over " + target + ": it holds a survey data file";
  return {};
}

std::string outputs_refusal(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs) {
  std::vector<std::string> before = inputs;
  for (const std::string& out : outputs) {
    for (std::size_t i = inputs.size(); i < before.size(); ++i)
      if (same_file(out, before[i])) return "will not write " + out + " twice: it is also the output " + before[i];
    if (std::string why = output_refusal(out, inputs); !why.empty()) return why;
    before.push_back(out);
  }
  return {};
}

OutputBatch::~OutputBatch() {
  for (const Staged& s : staged_) {
    std::error_code e;
    fs::remove(s.temporary, e);
  }
}

std::string OutputBatch::stage(const std::string& target, const OutputWriter& write) {
  if (std::string why = output_refusal(target, inputs_); !why.empty()) return why;
  for (const Staged& s : staged_)
    if (same_file(s.target, target)) return "will not write " + target + " twice: it is also the output " + s.target;
  if (is_stream(target)) {
    std::FILE* out = std::fopen(target.c_str(), "wb");
    if (out == nullptr) return cannot_write(target, errno);
    int failure = 0;
    return write_and_close(out, write, false, failure) ? std::string() : cannot_write(target, failure);
  }
  const fs::path destination = destination_of(target);
  const std::optional<fs::path> temporary = temporary_beside(destination);
  if (!temporary) return "cannot write " + target + ": no temporary name free in its folder";
  std::FILE* out = std::fopen(temporary->string().c_str(), "wb");
  if (out == nullptr) return cannot_write(target, errno);
  if (int failure = 0; !write_and_close(out, write, true, failure)) {
    std::error_code e;
    fs::remove(*temporary, e);
    return cannot_write(target, failure);
  }
  staged_.push_back({target, *temporary, destination});
  return {};
}

std::string OutputBatch::stage(const std::string& target, std::string_view bytes) {
  return stage(target, [bytes](const OutputSink& sink) { return sink(bytes.data(), bytes.size()); });
}

std::string OutputBatch::commit() {
  while (!staged_.empty()) {
    const Staged& s = staged_.front();
    std::error_code e;
    fs::rename(s.temporary, s.destination, e);
    if (e) return "cannot write " + s.target + ": " + e.message();
    staged_.erase(staged_.begin());
  }
  return {};
}

std::string write_output_file(const std::string& target, const std::vector<std::string>& inputs,
                              std::string_view bytes) {
  OutputBatch batch(inputs);
  if (std::string why = batch.stage(target, bytes); !why.empty()) return why;
  return batch.commit();
}

std::string free_file_name(const std::string& path) {
  if (name_free(path)) return path;
  for (int n = 2; n <= kMostCopies; ++n) {
    const std::string candidate = path + "." + std::to_string(n);
    if (name_free(candidate)) return candidate;
  }
  return {};
}

}  // namespace quelor
