// The CSV save: the Save dialog, and saving the file the user chose so that a failure never leaves half a
// file: the bytes go into a temporary file beside the target, which then takes the target's place in one
// step.
#pragma once

#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "report/CsvFileName.h"

namespace jwcount {

// Asks for a CSV file to save to, opening the Save dialog on the offered folder when it exists (else on
// fallbackFolder) with the offered name, and writes the bytes made by `csv` there. A failed write is shown
// to the user with the path and the system's error text, in a message box titled `caption`.
void SaveCsvFile(HWND owner, const CsvFileName& offered, const std::filesystem::path& fallbackFolder,
                 const std::function<std::string()>& csv, const wchar_t* caption);

// Writes bytes to path. The path afterwards holds either all the new bytes or, after a failure, whatever it
// held before; the temporary file is gone either way. ERROR_SUCCESS, or the system's error code.
DWORD WriteFileReplacing(const std::wstring& path, std::string_view bytes);

// The system's text for an error code, in the user's language, without its line break.
std::wstring SystemErrorText(DWORD error);

}  // namespace jwcount
