// ValidateDestination on any entry, in-process on the stand-in, with an operator that answers every
// box: an accepted entry has a drive and a backslash, a last element within the 8.3 rule, and names
// a directory that exists afterwards; a refused one was told by exactly one box (none only after No
// to the existing-directory question); the working directory is the same afterwards either way.
//
// Input: one control byte (bit 0: answer Yes to the existing-directory question), then the entry up
// to the first NUL. Drive C: holds C:\WORK (the working directory), C:\EXIST and the file C:\FILE.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/setup_state.h"
#include "dialogs/validate_destination.h"
#include "standin/control.h"
#include "win32/api.h"

namespace {

// The last element within 8 bytes before its first dot and 2 to 4 bytes from that dot on.
bool ShortName(const std::string& entry) {
  const std::string element = entry.substr(entry.rfind('\\') + 1);
  const size_t dot = element.find('.');
  if (dot == std::string::npos) return element.size() <= 8;
  const size_t extension = element.size() - dot;
  return dot <= 8 && extension >= 2 && extension <= 4;
}

const std::filesystem::path& Root() {
  // Never destroyed, so that it still stands when the folder is removed at exit.
  static const std::filesystem::path* root = new std::filesystem::path(
      std::filesystem::temp_directory_path() / ("destination_fuzz_" + std::to_string(getpid())));
  return *root;
}

// The drive's host folder goes when the fuzzer ends.
struct RemoveRootAtExit {
  ~RemoveRootAtExit() {
    std::error_code ignored;
    std::filesystem::remove_all(Root(), ignored);
  }
} g_removeRoot;

void Fail(const char* why, const std::string& entry) {
  std::fprintf(stderr, "destination: %s for entry \"%s\"\n", why, entry.c_str());
  abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const char* yesOrNo = (data[0] & 1) ? "answer IDYES" : "answer IDNO";
  const std::string entry(reinterpret_cast<const char*>(data + 1), strnlen(reinterpret_cast<const char*>(data + 1), size - 1));

  std::filesystem::remove_all(Root());
  std::filesystem::create_directories(Root() / "c" / "WORK");
  std::filesystem::create_directories(Root() / "c" / "EXIST");
  std::ofstream(Root() / "c" / "FILE") << "x";
  standin::Reset();
  standin::SetExitThrows(true);
  standin::MapDrive('C', (Root() / "c").string());
  standin::SetCurrentDir("C:\\WORK");
  std::memset(&g_setup, 0, sizeof g_setup);

  // The box in front has the focus on its first button: IDYES for the one question, IDOK otherwise.
  const std::vector<std::string> placeholder = {"answer IDOK"};
  standin::ScriptOperator(placeholder);
  standin::ObserveOperator([&](const std::string&) {
    const bool question = GetDlgCtrlID(GetFocus()) == IDYES;
    standin::ScriptOperator({question ? yesOrNo : "answer IDOK", "answer IDOK"});
  });

  bool accepted = false;
  try {
    accepted = ValidateDestination(entry.c_str(), 0);
  } catch (const standin::ProcessExit& exit) {
    Fail("the process ended", entry);
  }
  standin::ObserveOperator(nullptr);

  const std::vector<standin::Box> boxes = standin::Boxes();
  if (boxes.size() > 1) Fail("more than one box", entry);
  if (standin::CurrentDir() != "C:\\WORK") Fail("the working directory moved", entry);

  const bool form = entry.find(':') != std::string::npos && entry.find('\\') != std::string::npos;
  if (!form) {
    if (accepted || boxes.size() != 1 || boxes[0].caption != "Incomplete Directory Name")
      Fail("an incomplete path was not refused with its box", entry);
    return 0;
  }
  if (!ShortName(entry)) {
    if (accepted || boxes.size() != 1 || boxes[0].text.rfind("Please use a directory name", 0) != 0)
      Fail("a long name was not refused with its box", entry);
    return 0;
  }
  if (accepted) {
    const DWORD attributes = GetFileAttributesA(entry.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
      Fail("accepted, but no directory exists", entry);
    if (!boxes.empty() && boxes[0].answer != IDYES) Fail("accepted without a Yes", entry);
  } else if (boxes.empty()) {
    Fail("refused without a box", entry);
  } else if (boxes[0].caption == "Confirm Directory Choice" && boxes[0].answer != IDNO) {
    Fail("refused after Yes", entry);
  }
  return 0;
}
