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

HWND FindAbout(DWORD pid) {
  for (HWND w : TopLevelWindows(pid)) {
    if (IsWindowVisible(w) && WindowText(w) == L"About") return w;
  }
  return nullptr;
}

int CountAbout(DWORD pid) {
  int n = 0;
  for (HWND w : TopLevelWindows(pid)) n += IsWindowVisible(w) && WindowText(w) == L"About";
  return n;
}

void Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

// Presses vk with the modifiers held, as a user would.
void Press(WORD vk, const std::vector<WORD>& modifiers = {}) {
  for (WORD m : modifiers) Key(m, false);
  Key(vk, false);
  Key(vk, true);
  for (WORD m : modifiers) Key(m, true);
}

void ClickAt(POINT p) {
  SetCursorPos(p.x, p.y);
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof in[0]);
}

POINT CentreOf(HWND w) {
  RECT rc;
  GetWindowRect(w, &rc);
  return {(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

RECT RectIn(HWND control, HWND container) {
  RECT rc;
  GetWindowRect(control, &rc);
  MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

class AboutE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearOffice();
    main_ = app_.MainWindow();
    ASSERT_TRUE(main_);
  }
  void TearDown() override { ClearOffice(); }

  HWND OpenAbout() {
    app_.Command(kMenuAbout);
    HWND box = nullptr;
    WaitFor([&] { return (box = FindAbout(app_.Pid())) != nullptr; }, 10000);
    return box;
  }
  // Wine hands keys to its active window; make the box that window first.
  bool Activate(HWND box) {
    SetForegroundWindow(box);
    return WaitFor([&] { return GetForegroundWindow() == box; }, 5000);
  }
  bool Gone(HWND box) { return WaitFor([&] { return !IsWindow(box); }, 5000); }
  bool StillThere(HWND box) {
    Sleep(300);  // nothing to wait for: the key was meant to change nothing
    return IsWindow(box) && IsWindowVisible(box);
  }

  Program app_;
  HWND main_ = nullptr;
};

}  // namespace

TEST_F(AboutE2E, AboutTwiceGivesOneCentredBoxOwnedByTheMainWindow) {
  HWND box = OpenAbout();
  ASSERT_TRUE(box);
  app_.Command(kMenuAbout);
  Sleep(300);
  EXPECT_EQ(FindAbout(app_.Pid()), box);
  EXPECT_EQ(CountAbout(app_.Pid()), 1);
  EXPECT_EQ(GetWindow(box, GW_OWNER), main_);

  RECT b, m, client;
  GetWindowRect(box, &b);
  GetWindowRect(main_, &m);
  EXPECT_LE(std::abs((b.left + b.right) - (m.left + m.right)), 1);
  EXPECT_LE(std::abs((b.top + b.bottom) - (m.top + m.bottom)), 1);
  GetClientRect(box, &client);
  EXPECT_EQ(client.right, 328);
  EXPECT_EQ(client.bottom, 227);

  HWND close = GetDlgItem(box, AboutForm::idClose), pic = GetDlgItem(box, AboutForm::idPic1);
  ASSERT_TRUE(close && pic);
  EXPECT_EQ(WindowText(close), L"&Close");
  RECT rc = RectIn(close, box);
  EXPECT_EQ(rc.left, 208);
  EXPECT_EQ(rc.top, 176);
  EXPECT_EQ(rc.right, 208 + 105);
  EXPECT_EQ(rc.bottom, 176 + 33);
  rc = RectIn(pic, box);
  EXPECT_EQ(rc.right, 409);
  EXPECT_EQ(rc.bottom, 161);
  EXPECT_EQ(WindowText(GetDlgItem(pic, AboutForm::idTitle)), L"Brisvane ");
  EXPECT_EQ(WindowText(GetDlgItem(pic, AboutForm::idVerJP)), L"1.1") << "fixed, not the version record's";
  EXPECT_EQ(WindowText(GetDlgItem(pic, AboutForm::idThis)), L"");

  // The main window stays usable: About again answers while the box is open.
  EXPECT_TRUE(IsWindowEnabled(main_));
  app_.Command(kMenuExit);
  EXPECT_TRUE(app_.WaitExit()) << "closing the main window closes the box with it";
}

TEST_F(AboutE2E, EscShiftEscEnterAndAltCCloseItOtherKeysDoNot) {
  struct Case { const char* name; WORD vk; std::vector<WORD> mods; };
  const Case closing[] = {
      {"Esc", VK_ESCAPE, {}},
      {"Shift+Esc", VK_ESCAPE, {VK_SHIFT}},
      {"Enter", VK_RETURN, {}},
      {"Alt+C", 'C', {VK_MENU}},
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
  for (WORD vk : {WORD('A'), WORD('C'), WORD(VK_F2), WORD(VK_DELETE), WORD(VK_TAB)}) {
    Press(vk);
    EXPECT_TRUE(StillThere(box)) << vk;
  }
  // The Tab above moved the focus to the panel: Esc closes from there too.
  Press(VK_ESCAPE, {VK_SHIFT});
  EXPECT_TRUE(Gone(box));
}

TEST_F(AboutE2E, LinkClickOpensTheHomePageAndTheBoxStaysOpen) {
  OpenRecorder opened;
  ASSERT_TRUE(opened.Ready());

  HWND box = OpenAbout();
  ASSERT_TRUE(box);
  ASSERT_TRUE(Activate(box));
  HWND pic = GetDlgItem(box, AboutForm::idPic1);
  ClickAt(CentreOf(GetDlgItem(pic, AboutForm::idCopyright)));
  ClickAt(CentreOf(GetDlgItem(pic, AboutForm::idTitle)));
  Sleep(500);
  EXPECT_EQ(opened.Recorded(), "") << "only the link opens anything";

  ClickAt(CentreOf(GetDlgItem(pic, AboutForm::idLink)));
  EXPECT_TRUE(WaitFor([&] { return opened.Recorded().find('\n') != std::string::npos; }, 20000));
  EXPECT_EQ(opened.Recorded(), std::string(BRISVANE_HOME_PAGE) + "\n");
  EXPECT_TRUE(StillThere(box));
}

TEST(AboutDuringCapture, OpensAndClosesWhileTheStatusRunCaptures) {
  ClearOffice();
  // Each echo is a chunk; the busy loops between them keep the capture going
  // for a few seconds (Wine's cscript has no WScript.Sleep).
  std::string script;
  for (int i = 0; i < 8; ++i) {
    script += "WScript.Echo \"tick " + std::to_string(i) + "\"\r\n";
    script += "t = Timer: Do While Timer < t + 0.5: Loop\r\n";
  }
  WriteFile(kScript16, script);
  Program busy;
  HWND main = busy.MainWindow();
  ASSERT_TRUE(main);
  ASSERT_TRUE(WaitFor([&] { return busy.StatusText().find(L"tick 1") != std::wstring::npos; }));
  busy.Command(kMenuAbout);
  HWND box = nullptr;
  ASSERT_TRUE(WaitFor([&] { return (box = FindAbout(busy.Pid())) != nullptr; }, 10000));
  EXPECT_EQ(busy.StatusText().find(L"tick 7"), std::wstring::npos) << "the capture ended first";
  SetForegroundWindow(box);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == box; }, 5000));
  Press(VK_ESCAPE);
  EXPECT_TRUE(WaitFor([&] { return !IsWindow(box); }, 5000));
  EXPECT_TRUE(WaitFor([&] { return busy.StatusText().find(L"tick 7") != std::wstring::npos; }))
      << "closing the box leaves the capture running";
  ClearOffice();
}
