// Failing file operations: reads that fail part way, replies and placement files whose create, write or
// close fails. Every case must give the specified result, leave no partial file, keep every file it does
// not own, throw nothing and print nothing.
//
// Most cases use the failing file system in memory. A few run the real file system in a child process
// whose file size limit (RLIMIT_FSIZE) makes writes fail, which works even for root; they only ever touch
// a scratch folder.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "app/view/Placement.h"
#include "tests/hardening/HardeningSupport.h"
#include "tests/support/ScratchFolder.h"

namespace jwcount::hardening {
namespace {

const std::filesystem::path kPlacementFile = kFolder / "jwcount.dat";
const std::string kOtherFile = "-8\r\n-8\r\n1296\r\n1000\r\n";

// Runs f with standard output and standard error captured; both must stay empty, and f must not throw.
void Quietly(const std::function<void()>& f) {
  testing::internal::CaptureStdout();
  testing::internal::CaptureStderr();
  EXPECT_NO_THROW(f());
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

// --- Reading the exchange file ---

TEST(ReadFaults, FailuresGiveFalseKeepWhatWasReadAndStillReply) {
  // Three circles of three lines each, 13 bytes a line.
  const std::string file = "lc5\r\nci 1 1 1\r\nci 2 2 2\r\nci 3 3 3\r\n";
  struct Case {
    const char* what;
    std::function<void(FakeFileSystem&)> fault;
    bool readOk;
    int circles;  // stored before the failure
  };
  const Case cases[] = {
      {"no fault", [](FakeFileSystem&) {}, true, 3},
      {"missing file", [](FakeFileSystem& fs) { fs.files.erase(kTempFile); }, false, 0},
      {"open fails", [](FakeFileSystem& fs) { fs.openFails = true; }, false, 0},
      {"first read fails", [](FakeFileSystem& fs) { fs.failAtRead = 1; }, false, 0},
      {"read fails after two whole circles",
       [](FakeFileSystem& fs) {
         fs.readChunk = 5 + 10 + 10;
         fs.failAtRead = 2;
       },
       false, 2},
      {"read fails inside the third circle's line",
       [](FakeFileSystem& fs) {
         fs.readChunk = 5 + 10 + 10 + 6;
         fs.failAtRead = 2;
       },
       false, 2},
      {"read fails at the end of the file",
       [](FakeFileSystem& fs) {
         fs.readChunk = 1000;
         fs.failAtRead = 2;
       },
       false, 3},
      {"closing fails", [](FakeFileSystem& fs) { fs.closeInputFails = true; }, false, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ToolRun run;
    run.fs.files[kTempFile] = file;
    run.fs.files[kPlacementFile] = kOtherFile;
    c.fault(run.fs);
    run.reader->ParseLine("lt4");  // the read itself resets nothing
    Quietly([&] { run.readOk = run.reader->ReadTempFile(kTempFile); });
    EXPECT_EQ(run.readOk, c.readOk);
    EXPECT_EQ(run.fs.filesOpenForRead, 0);
    EXPECT_EQ(run.reader->Current.LineType, 4);
    EXPECT_EQ(run.reader->Current.LineColour, c.circles == 0 ? 1 : 5);
    ASSERT_EQ(run.reader->StoreCount(kCircle), c.circles);
    for (int i = 0; i < c.circles; ++i) {
      EXPECT_EQ(run.reader->Stores.Circles[i].Param3, i + 1.0);
      EXPECT_EQ(run.reader->Stores.Circles[i].Attrs.LineColour, 5);
    }
    // The count runs on what was read and answers the host all the same.
    run.fs.failAtRead = 0;
    Quietly([&] { run.Count(); });
    EXPECT_EQ(run.Total(2), c.circles);
    ASSERT_NE(run.Reply(), nullptr);
    EXPECT_EQ(*run.Reply(), kReply);
    EXPECT_EQ(run.fs.files[kPlacementFile], kOtherFile);
  }
}

// --- Writing the reply ---

struct WriteFault {
  const char* what;
  std::function<void(FakeFileSystem&)> fault;
  bool written;
};

const WriteFault kReplyFaults[] = {
    {"no fault", [](FakeFileSystem&) {}, true},
    {"create fails", [](FakeFileSystem& fs) { fs.createFails = true; }, false},
    {"write fails at the first byte", [](FakeFileSystem& fs) { fs.failWriteAtByte = 0; }, false},
    {"write fails at the second byte", [](FakeFileSystem& fs) { fs.failWriteAtByte = 1; }, false},
    {"write fails at a middle byte", [](FakeFileSystem& fs) { fs.failWriteAtByte = 14; }, false},
    {"write fails at the last byte", [](FakeFileSystem& fs) { fs.failWriteAtByte = 27; }, false},
    {"the disk fills just after the last byte", [](FakeFileSystem& fs) { fs.failWriteAtByte = 28; }, true},
    {"closing fails", [](FakeFileSystem& fs) { fs.closeOutputFails = true; }, false},
    {"write and close both fail",
     [](FakeFileSystem& fs) {
       fs.failWriteAtByte = 3;
       fs.closeOutputFails = true;
     },
     false},
};

TEST(ReplyFaults, AFailedReplyLeavesNoFileAndTouchesNoOtherFile) {
  for (const WriteFault& c : kReplyFaults) {
    SCOPED_TRACE(c.what);
    auto run = std::make_unique<ToolRun>();
    run->fs.files[kTempFile] = "ci 1 2 3\r\n1 2 3 4\r\n";
    run->fs.files[kPlacementFile] = kOtherFile;
    run->readOk = run->reader->ReadTempFile(kTempFile);
    ASSERT_TRUE(run->readOk);
    c.fault(run->fs);
    Quietly([&] { run->Count(); });
    EXPECT_EQ(run->fs.filesOpenForWrite, 0);
    if (c.written) {
      ASSERT_NE(run->Reply(), nullptr);
      EXPECT_EQ(*run->Reply(), kReply);
    } else {
      EXPECT_EQ(run->Reply(), nullptr) << "a partial reply was left: " << *run->Reply();
    }
    EXPECT_EQ(run->fs.files[kPlacementFile], kOtherFile);
    EXPECT_EQ(run->Total(1) + run->Total(2), 2);  // the count itself is complete either way

    // WriteReplyFile reports the outcome and keeps the buffer, so a second try after the fault is gone
    // writes the whole reply.
    bool result = !c.written;
    Quietly([&] { result = run->reader->WriteReplyFile(kTempFile); });
    EXPECT_EQ(result, c.written);
    FakeFileSystem& fs = run->fs;
    fs = FakeFileSystem{};
    fs.files[kPlacementFile] = kOtherFile;
    EXPECT_TRUE(run->reader->WriteReplyFile(kTempFile));
    EXPECT_EQ(fs.files[kTempFile], kReply);
  }
}

// --- The placement file ---

TEST(PlacementFaults, AFailedSaveLeavesNoFile) {
  const WindowPlacement placement{192, 107, 521, 423};
  const std::string text = "192\r\n107\r\n521\r\n423\r\n";  // 20 bytes
  const WriteFault cases[] = {
      {"no fault", [](FakeFileSystem&) {}, true},
      {"create fails", [](FakeFileSystem& fs) { fs.createFails = true; }, false},
      {"write fails at the first byte", [](FakeFileSystem& fs) { fs.failWriteAtByte = 0; }, false},
      {"write fails at a middle byte", [](FakeFileSystem& fs) { fs.failWriteAtByte = 10; }, false},
      {"write fails at the last byte", [](FakeFileSystem& fs) { fs.failWriteAtByte = 19; }, false},
      {"closing fails", [](FakeFileSystem& fs) { fs.closeOutputFails = true; }, false},
  };
  for (const WriteFault& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFileSystem fs;
    fs.files[kPlacementFile] = "1\r\n2\r\n600\r\n500\r\n";  // the placement of the last run
    fs.files[kTempFile] = std::string(kReply);
    c.fault(fs);
    Quietly([&] { SavePlacement(fs, kPlacementFile, placement); });
    EXPECT_EQ(fs.filesOpenForWrite, 0);
    if (c.written) {
      EXPECT_EQ(fs.files[kPlacementFile], text);
    } else {
      EXPECT_EQ(fs.files.count(kPlacementFile), 0u) << "left behind: " << fs.files[kPlacementFile];
    }
    EXPECT_EQ(fs.files[kTempFile], kReply);
  }
}

TEST(PlacementFaults, AFailedLoadKeepsWhatWasReadAndTheDefaultsForTheRest) {
  const std::string file = "-8\r\n-8\r\n1296\r\n1000\r\n";
  struct Case {
    const char* what;
    std::function<void(FakeFileSystem&)> fault;
    std::vector<int32_t> expected;
  };
  const Case cases[] = {
      {"no fault", [](FakeFileSystem&) {}, {-8, -8, 1296, 1000}},
      {"no file", [](FakeFileSystem& fs) { fs.files.clear(); }, {0, 0, 475, 475}},
      {"open fails", [](FakeFileSystem& fs) { fs.openFails = true; }, {0, 0, 475, 475}},
      {"first read fails", [](FakeFileSystem& fs) { fs.failAtRead = 1; }, {0, 0, 475, 475}},
      {"read fails after two lines",
       [](FakeFileSystem& fs) {
         fs.readChunk = 8;
         fs.failAtRead = 2;
       },
       {-8, -8, 475, 475}},
      {"read fails inside the width",
       [](FakeFileSystem& fs) {
         fs.readChunk = 10;
         fs.failAtRead = 2;
       },
       {-8, -8, 475, 475}},
      {"closing fails", [](FakeFileSystem& fs) { fs.closeInputFails = true; }, {-8, -8, 1296, 1000}},
      {"read and close both fail",
       [](FakeFileSystem& fs) {
         fs.readChunk = 8;
         fs.failAtRead = 2;
         fs.closeInputFails = true;
       },
       {-8, -8, 475, 475}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakeFileSystem fs;
    fs.files[kPlacementFile] = file;
    c.fault(fs);
    WindowPlacement p;
    Quietly([&] { p = LoadPlacement(fs, kPlacementFile); });
    EXPECT_EQ((std::vector<int32_t>{p.Left, p.Top, p.Width, p.Height}), c.expected);
    EXPECT_EQ(fs.filesOpenForRead, 0);
    EXPECT_TRUE(fs.files.empty() || (fs.files.size() == 1 && fs.files[kPlacementFile] == file));
  }
}

// --- The real file system with a file size limit ---

// Runs f in a child process whose files may not grow beyond `limit` bytes (a write beyond it fails with
// EFBIG instead of raising SIGXFSZ) and returns the child's exit code.
int WithFileSizeLimit(rlim_t limit, const std::function<int()>& f) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit rl{limit, limit};
    if (setrlimit(RLIMIT_FSIZE, &rl) != 0) _exit(100);
    _exit(f());
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(NativeFaults, AReplyThatOutgrowsTheFileSizeLimitIsDeleted) {
  for (rlim_t limit : {rlim_t{0}, rlim_t{1}, rlim_t{14}, rlim_t{27}, rlim_t{28}}) {
    SCOPED_TRACE(limit);
    test::ScratchFolder folder;
    const auto path = folder / "JWC_TEMP.TXT";
    test::WriteBytes(path, "ci 1 2 3\r\n");
    test::WriteBytes(folder / "jwcount.dat", kOtherFile);
    const int exit = WithFileSizeLimit(limit, [&] {
      JwwGaibu reader;
      if (!reader.ReadTempFile(path)) return 2;
      QuietHost host;
      CountTables tables;
      CountElements(reader, tables, folder.Path(), host);
      return reader.WriteReplyFile(path) ? 0 : 1;
    });
    if (limit >= kReply.size()) {
      EXPECT_EQ(exit, 0);
      EXPECT_EQ(test::ReadBytes(path), kReply);
    } else {
      EXPECT_EQ(exit, 1);
      EXPECT_FALSE(std::filesystem::exists(path)) << "left behind: " << test::ReadBytes(path);
    }
    EXPECT_EQ(test::ReadBytes(folder / "jwcount.dat"), kOtherFile);
  }
}

TEST(NativeFaults, APlacementThatOutgrowsTheFileSizeLimitIsDeleted) {
  test::ScratchFolder folder;
  const auto path = folder / "jwcount.dat";
  test::WriteBytes(path, kOtherFile);
  EXPECT_EQ(WithFileSizeLimit(9,
                              [&] {
                                SavePlacement(NativeFileSystem(), path, WindowPlacement{192, 107, 521, 423});
                                return 0;
                              }),
            0);
  EXPECT_FALSE(std::filesystem::exists(path));
}

#ifdef JWCOUNT_CLI
TEST(NativeFaults, TheCliReportsAReplyItCouldNotWriteAndLeavesNoPartOfIt) {
  test::ScratchFolder folder;
  const auto path = folder / "JWC_TEMP.TXT";
  test::WriteBytes(path, "ci 1 2 3\r\n1 2 3 4\r\n");
  const std::string cli = JWCOUNT_CLI;
  const std::string folderText = folder.Path().string();
  const int exit = WithFileSizeLimit(14, [&] {
    // Reports and progress go nowhere; only the exit code and the files matter here.
    std::freopen("/dev/null", "w", stdout);
    std::freopen("/dev/null", "w", stderr);
    execl(cli.c_str(), cli.c_str(), "run", folderText.c_str(), static_cast<char*>(nullptr));
    return 127;
  });
  EXPECT_EQ(exit, 5);
  EXPECT_FALSE(std::filesystem::exists(path));
}
#endif

}  // namespace
}  // namespace jwcount::hardening
