// Measures the time and peak memory of reading and counting exchange files of growing size, to show
// that both grow linearly with the input. Not a test: it prints one table and judges nothing.
//
//   jwcount_linearity [ELEMENTS]   (the largest element count, default 8000000; halved three times)
//
// Inputs: files of many small elements of every common kind; of texts that are all different, and of
// block insertions whose names are all different (a row each in the tables by name); of one line drawn
// over and over (every element a duplicate); and of one single huge block line. Each size runs in a child
// process of its own, so that its peak memory is its own.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/hardening/HardeningSupport.h"

namespace {

using jwcount::hardening::FakeFileSystem;

// Eight elements (a line, a circle, an arc, a text, a point, a block, two solids) and two attribute lines.
std::string ManyElements(long elements) {
  static const char* const kCycle =
      "lg1\r\nly2\r\n1 2 3 4\r\nci 10 20 5\r\nci 10 20 5 0 90 1 0\r\nch 0 0 1 0 \"\x95\xB6\x8E\x9A\r\n"
      "pt 1.5 2.5\r\nBL 0 0 \"door\r\nsl 1 2 3 4\r\nsc 0 0 1 1 0 360 1 10\r\n";
  const std::string cycle = kCycle;
  std::string out;
  out.reserve(cycle.size() * static_cast<std::size_t>((elements + 7) / 8));  // no peak from regrowing
  for (long i = 0; i < elements; i += 8) out += cycle;
  return out;
}

// `lines` lines of `before` and a number of its own: texts or block names that are all different.
std::string Numbered(const char* before, long lines) {
  std::string out;
  out.reserve((std::strlen(before) + 10) * static_cast<std::size_t>(lines));
  for (long i = 0; i < lines; ++i) {
    out += before;
    out += std::to_string(i);
    out += "\r\n";
  }
  return out;
}

std::string Copies(long lines) {
  std::string out;
  out.reserve(9 * static_cast<std::size_t>(lines));
  for (long i = 0; i < lines; ++i) out += "0 0 1 1\r\n";
  return out;
}

std::string OneHugeLine(long bytes) {
  std::string out;
  out.reserve(static_cast<std::size_t>(bytes) + 32);
  out += "BL 1 2 \"";
  out.append(static_cast<std::size_t>(bytes), 'x');
  out += "\r\nci 1 2 3\r\n";
  return out;
}

// In a child: builds the input, reads and counts it, and prints elements, bytes, seconds and the peak
// memory above the input itself.
void Measure(const char* kind, long size) {
  std::fflush(stdout);
  const pid_t child = fork();
  if (child == 0) {
    const std::string k = kind;
    std::string bytes = k == "elements" ? ManyElements(size)
                        : k == "texts"  ? Numbered("ch 0 0 1 0 \"", size)
                        : k == "names"  ? Numbered("BL 0 0 \"", size)
                        : k == "copies" ? Copies(size)
                                        : OneHugeLine(size);
    const std::size_t inputBytes = bytes.size();
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    FakeFileSystem fs;
    fs.readChunk = jwcount::hardening::kLargeReads;
    fs.files[jwcount::hardening::kTempFile] = std::move(bytes);
    jwcount::JwwGaibu reader(fs);
    jwcount::CountTables tables;
    jwcount::hardening::QuietHost host;
    const auto start = std::chrono::steady_clock::now();
    const bool ok = jwcount::ReadForCount(reader, jwcount::hardening::kTempFile);
    jwcount::CountElements(reader, tables, jwcount::hardening::kFolder, host);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    rusage after{};
    getrusage(RUSAGE_SELF, &after);
    const double extraMiB = static_cast<double>(after.ru_maxrss - before.ru_maxrss) / 1024.0;
    std::printf("%-9s %10ld %10.1f %8.3f %9.1f %9.2f %10.1f%s\n", kind,
                static_cast<long>(reader.EntityCount()), static_cast<double>(inputBytes) / (1 << 20), seconds,
                extraMiB, seconds * 1e9 / static_cast<double>(inputBytes),
                extraMiB * (1 << 20) / static_cast<double>(inputBytes), ok ? "" : "  (read failed)");
    std::fflush(stdout);
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
  const long largest = argc > 1 ? std::atol(argv[1]) : 8'000'000;
  std::printf("%-9s %10s %10s %8s %9s %9s %10s\n", "input", "elements", "MiB", "seconds", "+MiB peak",
              "ns/byte", "peak B/B");
  for (const char* kind : {"elements", "texts", "names", "copies"}) {
    for (long n = largest / 8; n <= largest; n *= 2) Measure(kind, n);
  }
  for (long n = largest * 2; n <= largest * 16; n *= 2) Measure("one-line", n);
  return 0;
}
