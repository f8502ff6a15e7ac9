// Writes an exchange file of N elements (see PlanGenerator.h), tidy by default (`jwcount-generate 264` is
// the sample drawing) or as Jw_cad writes a much-edited drawing with --real.
//
//   jwcount-generate [--real|--tidy] N [OUTPUT]      (standard output when OUTPUT is left out)
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/PlanGenerator.h"

int main(int argc, char** argv) {
  jwcount::PlanStyle style = jwcount::PlanStyle::kTidy;
  if (argc > 1 && (std::strcmp(argv[1], "--real") == 0 || std::strcmp(argv[1], "--tidy") == 0)) {
    style = argv[1][2] == 'r' ? jwcount::PlanStyle::kReal : jwcount::PlanStyle::kTidy;
    --argc;
    ++argv;
  }
  if (argc < 2 || argc > 3) {
    std::fputs("usage: jwcount-generate [--real|--tidy] N [OUTPUT]\n", stderr);
    return 2;
  }
  const long elements = std::strtol(argv[1], nullptr, 10);
  if (elements < 0) {
    std::fputs("jwcount-generate: N must be 0 or more\n", stderr);
    return 2;
  }
  std::FILE* file = argc == 3 ? std::fopen(argv[2], "wb") : stdout;
  if (file == nullptr) {
    std::perror(argv[2]);
    return 1;
  }
  bool ok = jwcount::GeneratePlan(elements, file, style);
  if (file != stdout) ok = std::fclose(file) == 0 && ok;
  if (!ok) {
    std::fputs("jwcount-generate: write failed\n", stderr);
    return 1;
  }
  return 0;
}
