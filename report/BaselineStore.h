// Where the window keeps a drawing's baseline, and the comparison it shows on page 11: a folder 基準 beside
// the program, one file per drawing, named from the drawing's file name and a short hash of its full path,
// so that two drawings of one name in different folders never share a baseline.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "report/CountDiff.h"
#include "report/CountReport.h"
#include "tempfile/FileIo.h"
#include "tempfile/JwwGaibu.h"

namespace jwcount {

// The folder of baselines in the program's folder.
std::filesystem::path BaselineFolder(const std::filesystem::path& programFolder);

// The baseline file of the drawing at `drawingPath` (the exchange file's "file=", Shift-JIS):
// "<file name>_<8 hex digits>.json" in BaselineFolder. The hash is of the whole path with ASCII letters in
// one case, as Windows compares paths. Empty for a drawing never saved (an empty path).
std::filesystem::path BaselinePath(const std::filesystem::path& programFolder, std::string_view drawingPath);

// The time now on this machine's clock, as a baseline records it: ISO 8601 with its offset from UTC,
// "2026-12-09T14:05:31+09:00".
std::string LocalTimeNow();

// The bytes of the baseline of this count, kept at `time` (ISO 8601 with its offset).
std::string BaselineBytes(const CountReport& report, const JwwGaibu& reader, std::string_view time);

// This count against the baseline kept for its drawing: none for a drawing never saved or with none kept,
// the reason when the file cannot be read as one, else the rows that differ. A damaged file is left as it is.
CountComparison CompareWithKept(const CountReport& report, FileSystem& files,
                                const std::filesystem::path& programFolder);

}  // namespace jwcount
