// The stand-in's files and paths where product tests rely on them: Windows paths mapped to the host
// without regard to case, the error of each failing call, one directory level at a time, and the
// buffer rule of the directory queries.
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "standin/control.h"
#include "tests/unit/standin_test_machine.h"

namespace {

class Files : public standin_test::Machine {
 protected:
  void SetUp() override {
    standin_test::Machine::SetUp();
    HostFile("Harvel95/Readme.TXT", "r");
    standin::SetCurrentDir("C:\\HARVEL95");
  }
};

struct PathCase {
  const char* windowsPath;
  const char* hostRelative;  // below drive C:'s folder; "" for no mapping
};

TEST_F(Files, MapsWindowsPathsToHostNamesWithoutRegardToCase) {
  const PathCase cases[] = {
      {"C:\\HARVEL95\\README.TXT", "/Harvel95/Readme.TXT"},
      {"c:/harvel95/readme.txt", "/Harvel95/Readme.TXT"},
      {"README.TXT", "/Harvel95/Readme.TXT"},              // against the working directory
      {".\\..\\HARVEL95\\.\\readme.txt", "/Harvel95/Readme.TXT"},
      {"C:readme.txt", "/Harvel95/Readme.TXT"},            // drive-relative, same drive
      {"\\Harvel95", "/Harvel95"},
      {"C:\\..\\..", ""},                                  // above the root stays at the root
      {"C:\\HARVEL95\\NEW\\File.Dat", "/Harvel95/NEW/File.Dat"},  // missing parts keep their case
      {"D:\\X", nullptr},                                  // a drive not mapped
  };
  for (const PathCase& c : cases) {
    std::string expected = c.hostRelative == nullptr ? "" : (root_ / "c").string() + c.hostRelative;
    EXPECT_EQ(standin::HostPath(c.windowsPath), expected) << c.windowsPath;
  }
}

struct AttributeCase {
  const char* path;
  DWORD attributes;
  DWORD error;  // when INVALID_FILE_ATTRIBUTES
};

TEST_F(Files, GetFileAttributesTellsFilesFoldersAndWhyNot) {
  standin::MapDrive('E', (root_ / "e").string());
  standin::SetNoMedium('E');
  chmod(C("Harvel95/Readme.TXT").c_str(), 0444);
  const AttributeCase cases[] = {
      {"C:\\", FILE_ATTRIBUTE_DIRECTORY, 0},
      {"C:\\harvel95", FILE_ATTRIBUTE_DIRECTORY, 0},
      {"C:\\HARVEL95\\README.TXT", 0x20 | FILE_ATTRIBUTE_READONLY, 0},
      {"C:\\HARVEL95\\NONE.TXT", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {"C:\\NOWHERE\\NONE.TXT", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {"D:\\", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {"E:\\SETUP.EXE", INVALID_FILE_ATTRIBUTES, ERROR_NOT_READY},
      {"C:\\A*B", INVALID_FILE_ATTRIBUTES, 123},
      {"", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
  };
  for (const AttributeCase& c : cases) {
    EXPECT_EQ(GetFileAttributesA(c.path), c.attributes) << c.path;
    if (c.attributes == INVALID_FILE_ATTRIBUTES) {
      EXPECT_EQ(GetLastError(), c.error) << c.path;
    }
  }
}

TEST_F(Files, CreateDirectoryMakesOnlyTheLastLevel) {
  EXPECT_FALSE(CreateDirectoryA("C:\\A\\B", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(std::filesystem::exists(C("A")));
  EXPECT_TRUE(CreateDirectoryA("C:\\A", nullptr));
  EXPECT_TRUE(CreateDirectoryA("c:\\a\\B", nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(C("A/B")));
  EXPECT_FALSE(CreateDirectoryA("C:\\A", nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_FALSE(CreateDirectoryA("C:\\HARVEL95\\README.TXT", nullptr));  // a file has that name
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_NE(JournalText().find("dir create C:\\a\\B\n"), std::string::npos) << JournalText();
}

TEST_F(Files, CreateFileReplacesAndRefusesWhatItMust) {
  HostFile("Old.txt", "old contents");
  HANDLE h = CreateFileA("C:\\OLD.TXT", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  DWORD written = 0;
  EXPECT_TRUE(WriteFile(h, "new", 3, &written, nullptr));
  EXPECT_EQ(written, 3u);
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_FALSE(CloseHandle(h));
  EXPECT_EQ(Bytes(C("Old.txt")), "new");

  chmod(C("Harvel95/Readme.TXT").c_str(), 0444);
  struct Refusal {
    const char* path;
    DWORD error;
  } refusals[] = {
      {"C:\\HARVEL95", ERROR_ACCESS_DENIED},               // a directory
      {"C:\\HARVEL95\\README.TXT", ERROR_ACCESS_DENIED},   // read-only
      {"C:\\MISSING\\FILE.TXT", ERROR_PATH_NOT_FOUND},
      {"Q:\\FILE.TXT", ERROR_PATH_NOT_FOUND},
  };
  for (const Refusal& r : refusals) {
    EXPECT_EQ(CreateFileA(r.path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr),
              INVALID_HANDLE_VALUE) << r.path;
    EXPECT_EQ(GetLastError(), r.error) << r.path;
  }
  EXPECT_EQ(Bytes(C("Harvel95/Readme.TXT")), "r");

  // A file made read-only by its creator can still be written through that handle, not replaced.
  h = CreateFileA("C:\\RO.DAT", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_READONLY, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(WriteFile(h, "x", 1, &written, nullptr));
  CloseHandle(h);
  EXPECT_EQ(CreateFileA("C:\\RO.DAT", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Bytes(C("RO.DAT")), "x");
}

TEST_F(Files, DeleteFileRefusesFoldersAndMissingFiles) {
  EXPECT_FALSE(DeleteFileA(""));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
  EXPECT_FALSE(DeleteFileA("C:\\HARVEL95"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(DeleteFileA("C:\\NONE.INI"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_TRUE(DeleteFileA("readme.txt"));
  EXPECT_FALSE(std::filesystem::exists(C("Harvel95/Readme.TXT")));
  EXPECT_NE(JournalText().find("file delete C:\\HARVEL95\\readme.txt\n"), std::string::npos) << JournalText();
}

TEST_F(Files, WorkingDirectoryAndWindowsDirectoryBufferRule) {
  EXPECT_FALSE(SetCurrentDirectoryA("C:\\HARVEL95\\README.TXT"));
  EXPECT_FALSE(SetCurrentDirectoryA("C:\\NONE"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  ASSERT_TRUE(SetCurrentDirectoryA("c:/harvel95/"));
  EXPECT_EQ(standin::CurrentDir(), "C:\\harvel95");  // the full form, drive letter upper-case

  const std::string cwd = "C:\\harvel95";
  char buffer[32];
  for (DWORD size : {DWORD(0), DWORD(cwd.size()), DWORD(cwd.size() + 1), DWORD(sizeof buffer)}) {
    std::memset(buffer, '#', sizeof buffer);
    DWORD result = GetCurrentDirectoryA(size, size == 0 ? nullptr : buffer);
    if (size <= cwd.size()) {
      EXPECT_EQ(result, cwd.size() + 1) << size;  // the size needed, NUL included
      EXPECT_EQ(buffer[0], '#') << size;           // and nothing written
    } else {
      EXPECT_EQ(result, cwd.size()) << size;
      EXPECT_STREQ(buffer, cwd.c_str());
    }
  }
  standin::SetWindowsDir("C:\\WINDOWS");
  char small[10];
  std::memset(small, '#', sizeof small);
  EXPECT_EQ(GetWindowsDirectoryA(small, sizeof small), 11u);
  EXPECT_EQ(small[0], '#');
  EXPECT_EQ(GetWindowsDirectoryA(buffer, sizeof buffer), 10u);
  EXPECT_STREQ(buffer, "C:\\WINDOWS");
}

}  // namespace
