// Reading the exchange file, the record chain and the resets.
#include "tempfile/JwwGaibu.h"

#include "tempfile/PlainLine.h"

#include <exception>
#include <memory>

#include "tempfile/ReadAhead.h"

namespace jwcount {

JwwGaibu::JwwGaibu(FileSystem& fileSystem) : fileSystem_(&fileSystem) {
  ResetReaderState();
}

bool JwwGaibu::ReadTempFile(const std::filesystem::path& path) {
  std::unique_ptr<InputFile> file;
  try {
    if (!fileSystem_->Exists(path)) return false;
    file = fileSystem_->OpenForRead(path);
    if (!file) return false;
    LineReader::Result ending;
    {
      ReadAhead lines(*file);
      while (const LineBatch* batch = lines.Next()) StoreLines(*batch);
      ending = lines.Ending();
    }
    ReleaseSpareMemory();
    const bool closed = file->Close();
    file.reset();
    return ending == LineReader::Result::kEnd && closed;
  } catch (const std::exception&) {
    // Out of memory while storing, or a store full: keep what was read before, report failure.
    if (file) file->Close();
    ReleaseSpareMemory();
    return false;
  }
}

void JwwGaibu::ReleaseSpareMemory() {
  Index.ReleaseSpare();
  VisitAllStores([](auto& store) { store.ReleaseSpare(); });
  Texts.ReleaseSpare();
}

void JwwGaibu::StoreLines(const LineBatch& batch) {
  auto values = batch.Values.begin();
  for (const LineBatch::Line& line : batch.Lines) {
    if (line.Size == LineBatch::kPlain) {
      StorePlainLine((values++)->Values);
    } else {
      ParseRecordLine(batch.Text(line));
    }
  }
}

void JwwGaibu::ParseLine(std::string_view line) {
  // Most lines of a drawing are plain lines: read straight from the line. No record of the chain below
  // starts with a digit, a sign, a "." or an "e", so such a line would reach ParsePlainLine all the same.
  if (double values[4]; ReadPlainLineNumbers(line, values)) {
    StorePlainLine(values);
    return;
  }
  ParseRecordLine(line);
}

void JwwGaibu::ParseRecordLine(std::string_view line) {
  TokenizeLine(line, tokens_);
  const LineTokens& t = tokens_;
  const std::string_view keyword = t.Token(0);
  if (keyword.empty()) {
    // Only a line whose one slot is empty makes no record; a blank first slot with more tokens after it
    // cannot occur, as an empty slot is never closed.
    if (t.Count == 1) return;
  }
  bool handled = false;
  switch (keyword.empty() ? '\0' : keyword[0]) {
    case 'f':
    case 'h':
    case 'b':
      handled = ParseHeaderRecord(t);
      break;
    case 'l':
    case 'z':
    case 'm':
    case '#':
      handled = ParseAttributeRecord(t);
      break;
    case 'c':
      handled = ParseAttributeRecord(t) || ParseShapeRecord(t) || ParseTextRecord(t);
      break;
    case 'p':
      handled = ParseAttributeRecord(t) || ParseShapeRecord(t);
      break;
    case 'B':
      handled = ParseShapeRecord(t);
      break;
    case 's':
      handled = ParseSolidRecord(t);
      break;
    default:
      break;
  }
  if (!handled && t.Count == 4) ParsePlainLine(t);
}

void JwwGaibu::ResetReaderState() {
  Drawing = DrawingState{};
  Drawing.HsValues.fill(1.0);
  Drawing.FirstSeenFlags.fill(true);
  Current = CurrentAttributes{};
  ResetEntityStores();
}

void JwwGaibu::ResetCurrentAttributes() {
  Drawing.FirstSeenFlags.fill(true);
  Current.LayerGroup = 0;
  Current.Layer = 0;
  Current.LineColour = 1;
  Current.LineType = 1;
  Current.LineWidth = 0;
  Current.TextKind = 1;
  Current.FreeCharWidth = 2.0;
  Current.FreeCharHeight = 2.0;
  Current.FreeCharSpacing = 0.0;
  Current.FreeCharColour = 1;
  Current.CcCode = 0;
  Current.FontName = kDefaultFontName;
  Current.PointColour = 1;
  Current.SolidColour = 0;
}

void JwwGaibu::ResetEntityStores() {
  Index.Reset();
  VisitAllStores([](auto& store) { store.Reset(); });
  Texts.Reset();
  lastFontName_ = {};
  Reply.Lines.clear();
  Reply.Lines.shrink_to_fit();
  Reply.LineCount = 0;
}

void JwwGaibu::ReleaseEntityStores() {
  ResetEntityStores();
  // The layer tables and numbered points go with the stores; nothing reads them after this.
  for (std::string& name : Drawing.GroupNames) std::string().swap(name);
  for (std::string& name : Drawing.LayerNames) std::string().swap(name);
  Drawing.GroupValues.fill(0);
  Drawing.LayerValues.fill(0);
  Drawing.HpPoints.fill(HpPoint{});
}

}  // namespace jwcount
