// Saving a file the user chose, so that a failure never leaves half a file: the bytes go into a temporary
// file beside the target, which then takes the target's place in one step.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace jwcount {

// Writes bytes to path. The path afterwards holds either all the new bytes or, after a failure, whatever it
// held before; the temporary file is gone either way. ERROR_SUCCESS, or the system's error code.
DWORD WriteFileReplacing(const std::wstring& path, std::string_view bytes);

// The system's text for an error code, in the user's language, without its line break.
std::wstring SystemErrorText(DWORD error);

}  // namespace jwcount
