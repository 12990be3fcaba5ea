// How a process ends: the exit list last registered first, and a real program that shows static
// destructors and atexit work run in reverse at a normal exit and not at all after ExitProcess.
#include <string>
#include <vector>

#include "runtime/rt.h"
#include "standin/control.h"
#include "tests/unit/standin_test_machine.h"

namespace {

std::vector<int> g_ran;
rt::ExitList g_list;  // static: zero-initialised, as the run-time's own list is

void One() { g_ran.push_back(1); }
void Two() { g_ran.push_back(2); }
void Three() { g_ran.push_back(3); }
void RegistersFour() {
  g_ran.push_back(-4);
  g_list.Add(Three);
}

TEST(ExitList, RunsLastRegisteredFirstAndOnlyOnce) {
  g_ran.clear();
  ASSERT_TRUE(g_list.Add(One));
  ASSERT_TRUE(g_list.Add(RegistersFour));
  ASSERT_TRUE(g_list.Add(Two));
  g_list.RunAll();
  // A function registered while the list runs runs next.
  EXPECT_EQ(g_ran, (std::vector<int>{2, -4, 3, 1}));
  g_list.RunAll();
  EXPECT_EQ(g_ran.size(), 4u);
}

TEST(ExitList, RefusesWhatDoesNotFit) {
  g_ran.clear();
  for (int i = 0; i < rt::ExitList::kCapacity; ++i) ASSERT_TRUE(g_list.Add(One)) << i;
  EXPECT_FALSE(g_list.Add(Two));
  g_list.RunAll();
  EXPECT_EQ(g_ran, std::vector<int>(rt::ExitList::kCapacity, 1));
}

class ExitOrder : public standin_test::Machine {};

TEST_F(ExitOrder, NormalExitRunsExitWorkInReverseAndExitProcessRunsNone) {
#ifndef EXIT_ORDER_PROGRAM
  GTEST_SKIP() << "the exit_order fixture is not part of this build";
#else
  struct {
    const char* commandLine;
    int code;
    const char* record;
    const char* log;
  } cases[] = {
      {"EXITORD.EXE", 5, "exit 5", "main\r\natexit\r\nsecond\r\nfirst\r\n"},
      {"EXITORD.EXE exitprocess", 7, "ExitProcess 7", "main\r\n"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(C("EXITLOG.TXT"));
    standin::SetCommandLine(c.commandLine);
    EXPECT_EQ(standin::RunProgram(EXIT_ORDER_PROGRAM, 20), c.code) << c.commandLine;
    EXPECT_EQ(standin::ExitRecord(), c.record) << c.commandLine;
    EXPECT_EQ(Bytes(C("EXITLOG.TXT")), c.log) << c.commandLine << "\n" << JournalText();
  }
#endif
}

}  // namespace
