// The about box of the real program, driven from another process with real
// keyboard and mouse input.
#include <gtest/gtest.h>

#include <vector>

#include "about/frmAbout.h"
#include "harness.h"
#include "res/identity.h"

using namespace e2e;
using brisvane::AboutForm;

namespace {

class AboutE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearOffice();
    main_ = app_.MainWindow();
    ASSERT_TRUE(main_) << app_.Describe();
  }
  void TearDown() override { ClearOffice(); }

  HWND OpenAbout() {
    app_.Command(kMenuAbout);
    return app_.Window(kAboutCaption, nullptr, 10000);
  }
  bool Gone(HWND box) {
    return WaitFor([&] { return !IsWindow(box); }, 5000);
  }
  // The control of the box's thread that has the focus.
  HWND Focus(HWND box) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info);
    return info.hwndFocus;
  }

  Program app_;
  HWND main_ = nullptr;
};

}  // namespace

// Layout and fonts are checked in-process; here, what only the running
// program shows: one box, owned by the main window, which stays usable and
// takes the box with it when it closes.
TEST_F(AboutE2E, AboutTwiceGivesOneBoxOwnedByTheMainWindowWhichTakesItAlong) {
  HWND box = OpenAbout();
  ASSERT_TRUE(box);
  // Sent, not posted: when it returns, the second About... has run.
  DWORD_PTR result = 0;
  ASSERT_TRUE(
      SendMessageTimeoutW(main_, WM_COMMAND, kMenuAbout, 0, SMTO_ABORTIFHUNG, 20000, &result));
  EXPECT_EQ(VisibleWindows(app_.Pid(), kAboutCaption), std::vector<HWND>{box});
  EXPECT_EQ(GetWindow(box, GW_OWNER), main_);
  EXPECT_TRUE(IsWindowEnabled(main_));
  app_.Command(kMenuExit);
  EXPECT_TRUE(app_.WaitExit()) << "closing the main window closes the box with it";
}

TEST_F(AboutE2E, EscShiftEscEnterAndAltCCloseItOtherKeysDoNot) {
  struct Case {
    const char* name;
    WORD vk;
    std::vector<WORD> mods;
  };
  const Case closing[] = {
      {"Esc", VK_ESCAPE, {}},   {"Shift+Esc", VK_ESCAPE, {VK_SHIFT}},
      {"Enter", VK_RETURN, {}}, {"Alt+C", 'C', {VK_MENU}},
      {"Space", VK_SPACE, {}},
  };
  for (const Case& c : closing) {
    SCOPED_TRACE(c.name);
    HWND box = OpenAbout();
    ASSERT_TRUE(box);
    ASSERT_TRUE(Activate(box));
    Press(c.vk, c.mods);
    EXPECT_TRUE(Gone(box));
  }

  HWND box = OpenAbout();
  ASSERT_TRUE(box);
  ASSERT_TRUE(Activate(box));
  HWND pic = GetDlgItem(box, AboutForm::idPic1);
  for (WORD vk : {WORD('A'), WORD('C'), WORD(VK_F2), WORD(VK_DELETE)}) Press(vk);
  // Keys are handled in turn: once the Tab behind them has moved the focus
  // to the panel, they have all been handled, and the box must be there.
  Press(VK_TAB);
  ASSERT_TRUE(WaitFor([&] { return Focus(box) == pic; }, 5000)) << "Tab did not move the focus";
  EXPECT_TRUE(IsWindow(box) && IsWindowVisible(box)) << "a key that should do nothing closed it";
  // Esc closes from the panel too.
  Press(VK_ESCAPE, {VK_SHIFT});
  EXPECT_TRUE(Gone(box));
}

TEST_F(AboutE2E, LinkClickOpensTheHomePageAndTheBoxStaysOpen) {
  OpenRecorder opened;
  ASSERT_TRUE(opened.Ready());

  // That clicks on the other labels open nothing is checked in-process,
  // where the shell's call itself can be counted.
  HWND box = OpenAbout();
  ASSERT_TRUE(box);
  ASSERT_TRUE(Activate(box));
  HWND pic = GetDlgItem(box, AboutForm::idPic1);
  HWND link = GetDlgItem(pic, AboutForm::idLink);
  ClickAt(CentreOf(link));
  const bool recorded =
      WaitFor([&] { return opened.Recorded().find('\n') != std::string::npos; }, 20000);
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT at{};
  GetWindowRect(link, &at);
  EXPECT_TRUE(recorded) << "nothing opened; the pointer at " << cursor.x << "," << cursor.y
                        << ", the link at " << at.left << "," << at.top << "-" << at.right << ","
                        << at.bottom << "; the foreground is "
                        << (GetForegroundWindow() == box ? "the box" : "another window")
                        << "; the shell's handler "
                        << (ProcessRunning(L"win_tests.exe") ? "runs" : "does not run");
  EXPECT_EQ(opened.Recorded(), std::string(BRISVANE_HOME_PAGE) + "\n");
  // The shell was called from the click's handler, which has returned.
  EXPECT_TRUE(IsWindow(box) && IsWindowVisible(box));
}

// A WM_QUIT from outside with the box open: the program ends with the forms
// still open, and takes them down without a fault.
TEST_F(AboutE2E, QuitMessageWithTheBoxOpenEndsTheProgramCleanly) {
  HWND box = OpenAbout();
  ASSERT_TRUE(box);
  PostThreadMessageW(GetWindowThreadProcessId(main_, nullptr), WM_QUIT, 0, 0);
  ASSERT_TRUE(app_.WaitExit(10000));
  EXPECT_EQ(app_.ExitCode(), 0u) << "ended by a fault";
}
