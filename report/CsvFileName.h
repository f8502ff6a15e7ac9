// The file names and folders the window's saves offer: the CSV save's and the workbook's.
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

// The same for the workbook: "<drawing name>_jwcount.xlsx" in the drawing's folder, "jwcount.xlsx" without
// a drawing name.
CsvFileName DefaultWorkbookFileName(std::string_view drawingFile);

}  // namespace jwcount
