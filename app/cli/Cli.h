// jwcount-cli: the headless run and the reports.
#pragma once

#include <string>
#include <vector>

namespace jwcount {

// Runs the command line (the arguments after the program name, UTF-8 on Windows) and returns the exit
// code. Reports go to standard output, progress and errors to standard error.
int RunCli(const std::vector<std::string>& args);

}  // namespace jwcount
