// Buffered file output over the stand-in's files: the bytes on the host in text and binary mode,
// a replaced file, and failures of the underlying calls reported by Close.
#include <string>

#include "runtime/outfile.h"
#include "standin/control.h"
#include "tests/unit/standin_test_machine.h"

namespace {

class OutFile : public standin_test::Machine {};

TEST_F(OutFile, TextModeWritesCrLfAndBinaryModeWritesBytesAsGiven) {
  const std::string bytes("a\nb\r\n\0\xFF\n", 8);
  struct {
    rt::OutFile::Mode mode;
    const char* path;
    std::string expected;
  } cases[] = {
      {rt::OutFile::kText, "C:\\TEXT.DAT", std::string("a\r\nb\r\r\n\0\xFF\r\n", 11)},
      {rt::OutFile::kBinary, "C:\\BIN.DAT", bytes},
  };
  for (const auto& c : cases) {
    rt::OutFile out;
    ASSERT_TRUE(out.Open(c.path, c.mode)) << c.path;
    EXPECT_TRUE(out.Put(bytes.data(), bytes.size()));
    EXPECT_TRUE(out.Close());
    EXPECT_EQ(Bytes(standin::HostPath(c.path)), c.expected) << c.path;
  }
}

TEST_F(OutFile, ABufferfulAndMoreArriveWhole) {
  std::string expected;
  rt::OutFile out;
  ASSERT_TRUE(out.Open("C:\\BIG.TXT", rt::OutFile::kText));
  for (int i = 0; i < 300; ++i) {
    EXPECT_TRUE(out.Print("%s\n", "line"));
    expected += "line\r\n";
  }
  EXPECT_TRUE(out.Close());
  EXPECT_EQ(Bytes(C("BIG.TXT")), expected);
}

TEST_F(OutFile, AnExistingFileIsReplacedNotAppended) {
  HostFile("GRPNAM.DAT", "a much longer old group name\r\n");
  rt::OutFile out;
  ASSERT_TRUE(out.Open("C:\\grpnam.dat", rt::OutFile::kText));
  EXPECT_TRUE(out.Print("%s\n", "New"));
  EXPECT_TRUE(out.Close());
  EXPECT_EQ(Bytes(C("GRPNAM.DAT")), "New\r\n");
}

TEST_F(OutFile, FailuresOfTheCallsBelowAreReported) {
  {
    standin::ArmFault("CreateFileA");
    rt::OutFile out;
    EXPECT_FALSE(out.Open("C:\\A.DAT", rt::OutFile::kBinary));
    EXPECT_FALSE(out.IsOpen());
    EXPECT_FALSE(out.PutByte('x'));
    EXPECT_FALSE(out.Close());
  }
  for (const char* call : {"WriteFile", "CloseHandle"}) {
    standin::ArmFault(call);
    rt::OutFile out;
    ASSERT_TRUE(out.Open("C:\\B.DAT", rt::OutFile::kBinary)) << call;
    EXPECT_TRUE(out.PutByte('x'));  // still buffered
    EXPECT_FALSE(out.Close()) << call;
    EXPECT_FALSE(out.IsOpen()) << call;
  }
}

}  // namespace
