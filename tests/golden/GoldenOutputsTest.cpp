// Every output of a count, byte for byte as it was when it was last accepted: the CLI's text, CSV and JSON
// reports (with and without the reader state), the table answer, and the CSV the window saves of each page.
// The inputs are the sample drawing and two generated drawings of 20,000 elements (a tidy one and one as
// Jw_cad writes a much-edited drawing). outputs.txt keeps each output's size and FNV-1a hash; an output
// that differs is written to golden-actual/ in the build folder, to be compared by hand. After a change of
// an output made on purpose, JWCOUNT_ACCEPT_OUTPUTS=1 makes the test write outputs.txt anew.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/view/PageTable.h"
#include "bench/PlanGenerator.h"
#include "counting/CountRun.h"
#include "counting/RunSequence.h"
#include "report/CsvReport.h"
#include "report/DiffSection.h"
#include "report/SectionList.h"
#include "report/TextReport.h"
#include "tempfile/NoWriteFileSystem.h"
#include "tests/support/QuietCount.h"
#include "tests/support/ScratchFolder.h"

namespace jwcount {
namespace {

namespace fs = std::filesystem;

using Outputs = std::map<std::string, std::map<std::string, std::string>>;  // input, output name, bytes

// The 64-bit FNV-1a hash of the bytes in 16 hexadecimal digits.
std::string HashText(std::string_view bytes) {
  uint64_t hash = 0xcbf29ce484222325;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
  return text;
}

// Writes the outputs as they are now as the accepted ones: after a change of an output made on purpose.
void AcceptOutputs(const Outputs& outputs) {
  std::ofstream manifest(JWCOUNT_GOLDEN, std::ios::binary);
  for (const auto& [input, files] : outputs) {
    for (const auto& [output, bytes] : files)
      manifest << input << ' ' << output << ' ' << bytes.size() << ' ' << HashText(bytes) << '\n';
  }
}

// What the program writes on standard output for the arguments.
// What the CLI prints for the arguments, run from the folder given (the rules file's name as
// given is part of the take-off's output, so it is named there relative to that folder).
std::string CliOutput(const std::string& arguments, const fs::path& folder = fs::current_path()) {
  const std::string command = "cd '" + folder.string() + "' && '" + JWCOUNT_CLI + "' " + arguments;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::string out;
  char buffer[1 << 16];
  for (std::size_t n; pipe && (n = std::fread(buffer, 1, sizeof buffer, pipe.get())) > 0;)
    out.append(buffer, n);
  return out;
}

// The count host of the window as far as the CSV of page 1 needs it: the labels as shown.
class LabelHost final : public test::QuietHost {
 public:
  std::vector<std::string> labels{kSummaryCaptions.begin(), kSummaryCaptions.end()};
  void ShowSummary(int label, std::string_view text) override {
    labels[static_cast<std::size_t>(label - 1)] = text;
  }
};

// The CSV the window saves of every page after counting the file, of page 7 sorted by name, twice, and of
// page 8 in every grouping and sorted by length, twice.
std::map<std::string, std::string> PageCsvs(const fs::path& file) {
  NoWriteFileSystem noWrites(NativeFileSystem());
  JwwGaibu reader(noWrites);
  auto tables = std::make_unique<CountTables>();
  LabelHost host;
  ReadForCount(reader, file);
  CountElements(reader, *tables, file.parent_path(), host);
  std::map<std::string, std::string> csvs;
  std::vector<std::unique_ptr<GridSource>> sources;
  for (std::size_t i = 0; i < Pages().size(); ++i) {
    std::unique_ptr<GridSource>& source = sources.emplace_back();
    source = Pages()[i].MakeSource({*tables, reader.Drawing});
    if (source) source->Refresh();
    csvs["page" + std::to_string(i + 1)] = PageCsv(source.get(), host.labels);
  }
  GridSource& blocks = *sources[6];
  blocks.SortBy(0);
  blocks.SortBy(0);
  csvs["page7-by-name-descending"] = PageCsv(&blocks, host.labels);
  GridSource& quantities = *sources[7];
  for (int grouping = 1; grouping < static_cast<int>(quantities.Choices().size()); ++grouping) {
    quantities.Choose(grouping);
    csvs["page8-grouping" + std::to_string(grouping + 1)] = PageCsv(&quantities, host.labels);
  }
  quantities.SortBy(4);
  quantities.SortBy(4);
  csvs["page8-by-length-descending"] = PageCsv(&quantities, host.labels);
  return csvs;
}

// Every output for one input file, by the names outputs.txt gives them.
std::map<std::string, std::string> OutputsOf(const fs::path& file) {
  const std::string quoted = "'" + file.string() + "'";
  std::map<std::string, std::string> outputs = PageCsvs(file);
  outputs["text"] = CliOutput("count " + quoted);
  outputs["csv"] = CliOutput("count " + quoted + " --format csv");
  outputs["json"] = CliOutput("count " + quoted + " --format json");
  outputs["state"] = CliOutput("count " + quoted + " --format json --state");
  outputs["table"] = CliOutput("count " + quoted + " --table");
  return outputs;
}

fs::path GeneratedPlan(const test::ScratchFolder& folder, const std::string& name, PlanStyle style) {
  const fs::path path = folder / (name + ".txt");
  FILE* out = std::fopen(path.c_str(), "wb");
  const bool written = out != nullptr && GeneratePlan(20000, out, style);
  if (out != nullptr) std::fclose(out);
  EXPECT_TRUE(written) << path;
  return path;
}

TEST(GoldenOutputs, EveryOutputIsAsAccepted) {
  test::ScratchFolder folder;
  const std::map<std::string, fs::path> inputs = {
      {"sample", fs::path(JWCOUNT_EXAMPLES) / "JWC_TEMP.TXT"},
      {"real20k", GeneratedPlan(folder, "real20k", PlanStyle::kReal)},
      {"tidy20k", GeneratedPlan(folder, "tidy20k", PlanStyle::kTidy)},
  };
  Outputs outputs;
  for (const auto& [name, path] : inputs) outputs[name] = OutputsOf(path);
  // What changed from the sample to its revised twin, in the three forms of the comparison.
  const std::string pair = "'" + inputs.at("sample").string() + "' '" +
                           (fs::path(JWCOUNT_EXAMPLES) / "revised" / "JWC_TEMP.TXT").string() + "'";
  // The quantity sheet of the example rules: alone, in the report, and what changed of it in the revision.
  const std::string rules = " --rules takeoff.csv";
  const fs::path examples = JWCOUNT_EXAMPLES;
  const std::string sample = "'" + inputs.at("sample").string() + "'";
  for (const char* format : {"text", "csv", "json"}) {
    outputs["revised"][std::string("diff-") + format] = CliOutput("diff " + pair + " --format " + format);
    outputs["revised"][std::string("diff-rules-") + format] =
        CliOutput("diff " + pair + " --format " + format + rules, examples);
    outputs["sample"][std::string("takeoff-") + format] =
        CliOutput("takeoff " + sample + " --format " + format + rules, examples);
    outputs["sample"][std::string("rules-") + format] =
        CliOutput("count " + sample + " --format " + format + rules, examples);
  }

  if (std::getenv("JWCOUNT_ACCEPT_OUTPUTS") != nullptr) {
    AcceptOutputs(outputs);
    GTEST_SKIP() << "accepted the outputs as they are now into " << JWCOUNT_GOLDEN;
  }
  std::ifstream manifest(JWCOUNT_GOLDEN);
  ASSERT_TRUE(manifest) << JWCOUNT_GOLDEN;
  std::size_t accepted = 0;
  for (std::string line; std::getline(manifest, line); ++accepted) {
    std::istringstream fields(line);
    std::string input, output, hash;
    std::size_t size = 0;
    fields >> input >> output >> size >> hash;
    SCOPED_TRACE(input + " " + output);
    ASSERT_EQ(outputs[input].count(output), 1u) << "no such output any more";
    const std::string& bytes = outputs[input][output];
    if (bytes.size() != size || hash != HashText(bytes)) {
      // Beside the test program, wherever it is run from.
      const fs::path actual = fs::path(JWCOUNT_GOLDEN_ACTUAL) / (input + "." + output);
      fs::create_directories(actual.parent_path());
      std::ofstream(actual, std::ios::binary) << bytes;
      ADD_FAILURE() << "differs from the accepted output (" << bytes.size() << " bytes, hash "
                    << HashText(bytes) << "; accepted " << size << " bytes, hash " << hash << "): see "
                    << JWCOUNT_GOLDEN_ACTUAL << "/" << input << "." << output;
    }
  }
  std::size_t produced = 0;
  for (const auto& [input, files] : outputs) produced += files.size();
  EXPECT_EQ(accepted, produced)
      << "an output that was never accepted: run the test with JWCOUNT_ACCEPT_OUTPUTS=1";
}

// What an output writes into its buffer.
template <class Write>
std::string Written(Write write) {
  char* data = nullptr;
  std::size_t size = 0;
  FILE* file = open_memstream(&data, &size);
  {
    OutputBuffer out(file);
    write(out);
  }
  std::fclose(file);
  std::string text(data, size);
  std::free(data);
  return text;
}

// The rule that keeps the outputs together: every section of the count writes its part of the text report
// and of the CSV report, and is the grid of a tab of its own, so that a section added to the list reaches
// every output and no output leaves one out.
TEST(Sections, EverySectionIsInTheTextReportTheCsvReportAndTheWindowsTabs) {
  const fs::path sample = fs::path(JWCOUNT_EXAMPLES) / "JWC_TEMP.TXT";
  NoWriteFileSystem noWrites(NativeFileSystem());
  JwwGaibu reader(noWrites);
  auto report = std::make_unique<CountReport>();
  ASSERT_TRUE(ReadForCount(reader, sample, &report->State));
  test::QuietHost host;
  CountElements(reader, report->Tables, sample.parent_path(), host);
  Utf8Text utf8;
  const std::string text = Written([&](OutputBuffer& out) { WriteTextReport(out, utf8, *report); });
  const std::string csv = Written([&](OutputBuffer& out) { WriteCsvReport(out, utf8, *report); });
  // The comparison the window would show against a baseline with a chair more.
  CountComparison comparison;
  comparison.State = CountComparison::Outcome::kCompared;
  CountSnapshot baseline = SnapshotOf(*report);
  ++baseline.Blocks[1].Count;
  comparison.Diff = CompareCounts(baseline, SnapshotOf(*report));
  const SectionData data{report->Tables, report->State.Drawing, &comparison};
  for (const SectionRow& row : Sections()) {
    SCOPED_TRACE(row.Id);
    const std::unique_ptr<Section> section = row.Make(data);
    EXPECT_EQ(section->Id(), row.Id);
    const std::size_t page = PageIndex(row.Id);
    ASSERT_LT(page, Pages().size());
    EXPECT_EQ(Pages()[page].Title, section->Title());
    EXPECT_EQ(GridRows(*Pages()[page].MakeSource({report->Tables, reader.Drawing, &comparison})),
              GridRows(*section));
    // The reports of a count compare with nothing: a section with nothing to show without a comparison
    // is left out of them.
    if (!row.Make({report->Tables, report->State.Drawing})->HasContent()) continue;
    const std::string ownText = Written([&](OutputBuffer& out) {
      TextSink sink(out, utf8);
      section->Write(sink);
    });
    const std::string ownCsv = Written([&](OutputBuffer& out) {
      CsvSink sink(out, utf8);
      section->Write(sink);
    });
    EXPECT_NE(text.find(ownText), std::string::npos);
    EXPECT_FALSE(ownCsv.empty());  // the sample has something in every section
    EXPECT_NE(csv.find(ownCsv), std::string::npos);
  }
}

}  // namespace
}  // namespace jwcount
