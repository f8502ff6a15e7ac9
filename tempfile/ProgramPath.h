// Where the running program lives: the tool keeps its exchange file and its placement file beside its own
// file, whatever the working folder is.
#pragma once

#include <filesystem>

namespace jwcount {

// The running program's full path, however long it is; empty if it cannot be found.
std::filesystem::path ProgramPath();

// The folder of the running program's own file (not the working folder); empty if it cannot be found.
std::filesystem::path ProgramFolder();

}  // namespace jwcount
