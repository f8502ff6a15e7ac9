// Writes a realistic exchange file of N elements (see PlanGenerator.h).
//
//   jwcount-generate N [OUTPUT]      (standard output when OUTPUT is left out)
#include <cstdio>
#include <cstdlib>

#include "PlanGenerator.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fputs("usage: jwcount-generate N [OUTPUT]\n", stderr);
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
  bool ok = jwcount::GeneratePlan(elements, file);
  if (file != stdout) ok = std::fclose(file) == 0 && ok;
  if (!ok) {
    std::fputs("jwcount-generate: write failed\n", stderr);
    return 1;
  }
  return 0;
}
