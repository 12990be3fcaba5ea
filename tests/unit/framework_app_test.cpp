// The class library's start-up and shut-down: the error mode before InitInstance, and the exit
// code from the last message its loops retrieved (or from SetExitCode). Each run is a child
// process, so that its application object does not replace the one of this test program.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "framework/app.h"
#include "framework/dialog.h"
#include "standin/control.h"
#include "tests/unit/standin_desktop_templates.h"

namespace {

using namespace desktop_test;

enum { kDialogId = 210 };

struct StartCase {
  const char* name;
  std::vector<std::string> script;  // for one dialog run from InitInstance ({} runs none)
  int exitCode;                     // -1: none set
  BOOL initResult;                  // TRUE: InitInstance posts a quit with 5 first
  int expected;
};

class TestApp : public CWinApp {
 public:
  explicit TestApp(const StartCase& c) : c_(c) {}
  UINT modeAtInit = 0;

  BOOL InitInstance() override {
    modeAtInit = standin::ErrorMode();
    if (!c_.script.empty()) {
      CDialog dialog(kDialogId);
      dialog.DoModal();
    }
    if (c_.exitCode >= 0) SetExitCode(c_.exitCode);
    if (c_.initResult) PostQuitMessage(5);
    return c_.initResult;
  }

 private:
  const StartCase& c_;
};

// The child: the result of AfxWinMain in the low byte of its exit code, and 100 added when the
// error mode was wrong at InitInstance.
[[noreturn]] void StartInChild(const StartCase& c) {
  standin::Reset();
  standin::SetExitThrows(true);
  Template t{false, WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_CENTER, 0, 0, 200, 100, "App",
             StandardItems()};
  if (!standin::SetModuleResources(BuildRes({{5, kDialogId, BuildTemplate(t)}}))) std::_Exit(99);
  standin::ScriptOperator(c.script);
  TestApp app(c);
  int result = AfxWinMain(reinterpret_cast<HINSTANCE>(0x400000));
  bool modeRight = app.modeAtInit == (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  std::_Exit((result & 0xFF) + (modeRight ? 0 : 100));
}

class AppStart : public ::testing::TestWithParam<StartCase> {};

TEST_P(AppStart, ExitCodeFollowsTheLastMessage) {
  const StartCase& c = GetParam();
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(StartInChild(c), ::testing::ExitedWithCode(c.expected), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AppStart,
    ::testing::Values(StartCase{"NoMessage", {}, -1, FALSE, 0},
                      StartCase{"EnterLeaves13", {"enter"}, -1, FALSE, 13},
                      StartCase{"EscLeaves27", {"esc"}, -1, FALSE, 27},
                      StartCase{"ClickLeaves0", {"click 2"}, -1, FALSE, 0},
                      StartCase{"SetExitCodeWins", {"enter"}, 7, FALSE, 7},
                      // InitInstance TRUE: the application's loop retrieves the quit and its wParam.
                      StartCase{"RunTakesTheQuit", {"enter"}, -1, TRUE, 5}),
    [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

}  // namespace
