// The file name and folder the window's CSV save offers.
#pragma once

#include <string>
#include <string_view>

#include "report/ReportTexts.h"

namespace jwcount {

// The name and folder offered for the CSV file (UTF-8). For a drawing the exchange file names ("file=",
// a Shift-JIS Windows path), "<drawing name>_<subject>.csv" in the drawing's folder; the folder is "" when
// the path has none. Without a drawing name, "<subject>.csv" and no folder. Characters a Windows file name
// cannot hold become "_".
struct CsvFileName {
  std::string FolderUtf8;
  std::string NameUtf8;
};
CsvFileName DefaultCsvFileName(std::string_view drawingFile, std::u8string_view subject = kCountCsvSubject);

}  // namespace jwcount
