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

// Which keys close it is checked in-process with posted keys; here, the ones
// whose message depends on the real keyboard's state: with Alt held a key
// comes as WM_SYSKEYDOWN, with Shift held Esc is still Esc.
TEST_F(AboutE2E, ShiftEscAltEscAndAltCCloseIt) {
  struct Case {
    const char* name;
    WORD vk;
    WORD held;
  };
  const Case closing[] = {
      {"Shift+Esc", VK_ESCAPE, VK_SHIFT}, {"Alt+Esc", VK_ESCAPE, VK_MENU}, {"Alt+C", 'C', VK_MENU}};
  for (const Case& c : closing) {
    SCOPED_TRACE(c.name);
    HWND box = OpenAbout();
    ASSERT_TRUE(box);
    ASSERT_TRUE(Activate(box));
    Press(c.vk, {c.held});
    EXPECT_TRUE(Gone(box));
  }
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
