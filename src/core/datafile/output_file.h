#pragma once
// Files the companion tool makes from survey data files (grids, pictures,
// pages, exports, the bytes a repair cuts) are written so that nothing is
// lost: the bytes go to a temporary file in the target's own folder, which
// takes the target's name only once it is complete. A failed write leaves
// the target as it was and no temporary file behind. A target that is one
// of the inputs (by any spelling, symbolic or hard link) or that already
// holds a survey data file is never written over.
//
// Plain standard C++ (std::filesystem and stdio): the same code runs in the
// native tool and in quelor.exe.

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quelor {

// Takes the next bytes of the output; false when they could not be written.
using OutputSink = std::function<bool(const void* data, std::size_t size)>;
// Writes the whole output through the sink; false on any failure.
using OutputWriter = std::function<bool(const OutputSink& sink)>;

// The bytes start with the identification record of a survey data file of
// any program of the family (a continued file's lower-case letter too).
bool holds_data_file_header(std::string_view head);

// Whether two paths name the same file: the same file on disk when both
// exist (symbolic and hard links included), else the same absolute path.
bool same_file(const std::string& a, const std::string& b);

// Why `target` must not be written, empty when it may: it is one of the
// `inputs`, or an existing file holding a survey data file's header.
std::string output_refusal(const std::string& target, const std::vector<std::string>& inputs);

// The refusal of the first of several outputs of one run that may not be
// written, checked against the inputs and against the outputs before it
// (two outputs on one file would lose the first).
std::string outputs_refusal(const std::vector<std::string>& outputs, const std::vector<std::string>& inputs);

// The outputs of one run: each is written whole to its temporary file
// (`stage`), then all take their names together (`commit`). Whatever is not
// committed is removed when the batch ends, so a run that fails half-way
// leaves none of its outputs.
class OutputBatch {
 public:
  explicit OutputBatch(std::vector<std::string> inputs) : inputs_(std::move(inputs)) {}
  OutputBatch(const OutputBatch&) = delete;
  OutputBatch& operator=(const OutputBatch&) = delete;
  ~OutputBatch();

  // Empty on success, else the one-line reason (nothing of it is kept). A
  // symbolic link's target is the file replaced; the link stays.
  std::string stage(const std::string& target, const OutputWriter& write);
  std::string stage(const std::string& target, std::string_view bytes);
  // Renames every staged file onto its target; empty on success.
  std::string commit();

 private:
  struct Staged {
    std::string target;
    std::filesystem::path temporary, destination;
  };
  std::vector<std::string> inputs_;
  std::vector<Staged> staged_;
};

// One output written alone: staged and committed. Empty on success.
std::string write_output_file(const std::string& target, const std::vector<std::string>& inputs,
                              std::string_view bytes);

// A Windows device name (NUL, CON, PRN, AUX, COM1-COM9, LPT1-LPT9 in any
// case, with or without an extension, in any folder) or a "\\.\" path: on
// Windows it names no file, so there is nothing to replace; it is written
// straight, as a device or pipe is everywhere.
bool names_windows_device(std::string_view path);

// `path` itself when no file has that name, else the first of `path`.2,
// `path`.3, ... that is free (empty when none is): for a copy that must
// never replace another.
std::string free_file_name(const std::string& path);

}  // namespace quelor
