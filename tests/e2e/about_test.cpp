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

  // Returns once the program, done opening the box, answers again.
  HWND OpenAbout() {
    app_.Command(kMenuAbout);
    HWND box = app_.Window(kAboutCaption, nullptr, 10000);
    return box && WindowText(box) == kAboutCaption ? box : nullptr;
  }

  Program app_;
  HWND main_ = nullptr;
};

}  // namespace

// Layout and fonts are checked in-process; here, what only the running
// program shows: one visible window, owned by the hidden application window;
// one box, owned by the main window, which stays usable; the close button
// takes the box along and ends the process cleanly.
TEST_F(AboutE2E, OneWindowOneBoxOwnedAsDesignedTheCloseButtonEndsBoth) {
  HWND owner = GetWindow(main_, GW_OWNER);
  ASSERT_TRUE(owner);
  EXPECT_EQ(WindowText(owner), kAppCaption);
  EXPECT_FALSE(IsWindowVisible(owner));
  EXPECT_FALSE(GetWindow(owner, GW_OWNER));
  int visible = 0;
  for (HWND w : TopLevelWindows(app_.Pid())) visible += IsWindowVisible(w) ? 1 : 0;
  EXPECT_EQ(visible, 1);

  HWND box = OpenAbout();
  ASSERT_TRUE(box);
  // Sent, not posted: when it returns, the second About... has run.
  DWORD_PTR result = 0;
  ASSERT_TRUE(
      SendMessageTimeoutW(main_, WM_COMMAND, kMenuAbout, 0, SMTO_ABORTIFHUNG, 20000, &result));
  EXPECT_EQ(VisibleWindows(app_.Pid(), kAboutCaption), std::vector<HWND>{box});
  EXPECT_EQ(GetWindow(box, GW_OWNER), main_);
  EXPECT_TRUE(IsWindowEnabled(main_));
  PostMessageW(main_, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(app_.WaitExit());
  EXPECT_EQ(app_.ExitCode(), 0u);
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
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
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
  ClickAt(link);
  EXPECT_TRUE(WaitFor([&] { return opened.Recorded().find('\n') != std::string::npos; }, 20000))
      << "nothing opened; the box is " << (GetForegroundWindow() == box ? "" : "not ")
      << "in the foreground";
  EXPECT_EQ(opened.Recorded(), std::string(BRISVANE_HOME_PAGE) + "\n");
  // The shell was called from the click's handler, which has returned.
  EXPECT_TRUE(IsWindow(box) && IsWindowVisible(box));
}
