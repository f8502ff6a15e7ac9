// One run of the tool, in the order the window runs it: a full reset, the read of the exchange file and a
// reset of the current attributes when the window is first shown; the count with its reply half a second
// later. The window runs the two halves at those two moments; the CLI, the benchmark, the hardening tests
// and the fuzz targets run them back to back: ReadForCount, then CountElements.
#pragma once

#include <filesystem>
#include <string_view>

#include "counting/CountRun.h"
#include "tempfile/JwwGaibu.h"

namespace jwcount {

// The exchange file Jw_cad writes into the tool's folder and reads back as the reply.
inline constexpr std::string_view kTempFileName = "JWC_TEMP.TXT";
std::filesystem::path TempFilePath(const std::filesystem::path& folder);

// The reader state right after the read, before the current attributes are reset (the index and the
// stores do not change after the read, so the reader itself keeps those).
struct StateAfterRead {
  DrawingState Drawing;
  CurrentAttributes Current;
};

// The first half: ResetReaderState, ReadTempFile(file), ResetCurrentAttributes. True when the file was
// read to its end; whatever was read is counted either way. `state`, when given, receives the state
// right after the read.
bool ReadForCount(JwwGaibu& reader, const std::filesystem::path& file, StateAfterRead* state = nullptr);

}  // namespace jwcount
