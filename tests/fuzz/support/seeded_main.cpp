// The driver used where libFuzzer is not: every seed, every file given (the
// kept regression inputs of the target), then a fixed number of mutated
// inputs from a fixed random seed, so that a run repeats exactly.
//   fuzz_TARGET [--runs N] [--seed S] [--seconds T] [FILE|DIR ...]
#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz_target.h"

namespace {

using Rng = std::mt19937_64;

// The input under test, written to crash-input when the process dies on
// it (a failed property aborts; run sanitizers with abort_on_error=1), so
// that it can be kept in regressions/<target>/.
const std::string* current = nullptr;

extern "C" void write_current_input(int signal) {
  if (current) {
    const int fd = ::open("crash-input", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
      (void)!::write(fd, current->data(), current->size());
      ::close(fd);
    }
    static const char note[] = "the input is kept in crash-input\n";
    (void)!::write(2, note, sizeof note - 1);
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void run_one(const std::string& input) {
  current = &input;
  // A copy of its own, so that a read past the end is seen by the sanitizer.
  std::vector<std::uint8_t> bytes(input.begin(), input.end());
  LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
  current = nullptr;
}

std::string read_file(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// Bytes that matter to the readers: separators, line ends, signs, digits,
// the record ends of the binary instruments, letters of record tags.
constexpr char kInterestingBytes[] = "\0\r\n$*,.-+0179eE\x7F\xFF TtHLXGM@#!{}";
constexpr std::string_view kInteresting(kInterestingBytes, sizeof kInterestingBytes - 1);

std::string mutate(std::string s, const std::vector<std::string>& seeds, Rng& rng) {
  const int edits = 1 + static_cast<int>(rng() % 8);
  for (int e = 0; e < edits; ++e) {
    const std::size_t at = s.empty() ? 0 : rng() % (s.size() + 1);
    const std::size_t span = 1 + rng() % 16;
    switch (rng() % 9) {
      case 0:  // a random byte
        if (!s.empty()) s[at % s.size()] = static_cast<char>(rng());
        break;
      case 1:  // a bit flipped
        if (!s.empty()) s[at % s.size()] ^= static_cast<char>(1u << (rng() % 8));
        break;
      case 2:  // an interesting byte
        if (!s.empty()) s[at % s.size()] = kInteresting[rng() % kInteresting.size()];
        break;
      case 3:  // bytes inserted
        for (std::size_t i = 0; i < span; ++i)
          s.insert(s.begin() + static_cast<std::ptrdiff_t>(at),
                   static_cast<char>(rng() % 2 ? rng() : kInteresting[rng() % kInteresting.size()]));
        break;
      case 4:  // bytes removed
        if (at < s.size()) s.erase(at, span);
        break;
      case 5:  // a piece repeated
        if (at < s.size()) s.insert(at, s.substr(at, span * 4));
        break;
      case 6:  // cut short
        s.resize(at);
        break;
      case 7: {  // a piece of another seed spliced in
        const std::string& other = seeds[rng() % seeds.size()];
        if (!other.empty()) {
          const std::size_t from = rng() % other.size();
          s.insert(at, other.substr(from, span * 8));
        }
        break;
      }
      default:  // a long number
        s.insert(at, rng() % 2 ? "99999999999999999999" : "-1e308");
        break;
    }
  }
  return s;
}

}  // namespace

int main(int argc, char** argv) {
  long runs = 1000;
  std::uint64_t seed = 20261209;
  double seconds = 0;
  std::vector<std::filesystem::path> given;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
      runs = std::atol(argv[++i]);
    else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc)
      seed = std::strtoull(argv[++i], nullptr, 10);
    else if (!std::strcmp(argv[i], "--seconds") && i + 1 < argc)
      seconds = std::atof(argv[++i]);
    else
      given.emplace_back(argv[i]);
  }
  for (int s : {SIGABRT, SIGSEGV, SIGFPE, SIGBUS}) std::signal(s, write_current_input);
  const std::vector<std::string> seeds = quelor::fuzz::seeds();
  if (seeds.empty()) {
    std::fprintf(stderr, "no seeds\n");
    return 1;
  }
  long executed = 0;
  for (const std::string& s : seeds) run_one(s), ++executed;
  long kept = 0;
  for (const auto& p : given) {
    if (std::filesystem::is_directory(p)) {
      for (const auto& entry : std::filesystem::directory_iterator(p))
        if (entry.is_regular_file()) run_one(read_file(entry.path())), ++kept;
    } else if (std::filesystem::exists(p)) {
      run_one(read_file(p)), ++kept;
    }
  }
  executed += kept;
  Rng rng(seed);
  const auto start = std::chrono::steady_clock::now();
  const auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
  // With --seconds the run lasts that long instead; mutations build on the
  // last input now and then, so they wander further from the seeds.
  std::string last = seeds[0];
  for (long i = 0; seconds > 0 ? elapsed() < seconds : i < runs; ++i) {
    const std::string& base = rng() % 4 == 0 ? last : seeds[rng() % seeds.size()];
    last = mutate(base, seeds, rng);
    if (last.size() > 1 << 16) last.resize(1 << 16);
    run_one(last);
    ++executed;
  }
  std::printf("%s: %ld inputs (%zu seeds, %ld kept regression inputs) in %.1f s, no finding\n", argv[0], executed,
              seeds.size(), kept, elapsed());
  return 0;
}
