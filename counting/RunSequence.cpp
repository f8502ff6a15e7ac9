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

bool RunCountSequence(JwwGaibu& reader, CountTables& tables, const std::filesystem::path& file,
                      const std::filesystem::path& replyFolder, CountHost& host) {
  const bool readOk = ReadForCount(reader, file);
  CountElements(reader, tables, replyFolder, host);
  return readOk;
}

}  // namespace jwcount
