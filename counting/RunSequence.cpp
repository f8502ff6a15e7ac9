#include "counting/RunSequence.h"

namespace jwcount {

std::filesystem::path TempFilePath(const std::filesystem::path& folder) {
  return folder / kTempFileName;
}

bool ReadForCount(JwwGaibu& reader, const std::filesystem::path& file, StateAfterRead* state) {
  reader.ResetReaderState();
  const bool readOk = reader.ReadTempFile(file);
  if (state != nullptr) *state = {reader.Drawing, reader.Current};
  reader.ResetCurrentAttributes();
  return readOk;
}

}  // namespace jwcount
