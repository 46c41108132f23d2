// What the in-process tests share: a fresh forms runtime and program for
// each test, pumping until something holds, the status pane as a capture
// target of its own, and calls of the system caught on their way out.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "capture/capture.h"
#include "forms/application.h"
#include "forms/textbox.h"
#include "res/identity.h"

namespace brisvane::test {

// Pumps the forms' events until done() holds or ms milliseconds have passed.
bool PumpUntil(forms::Application& app, const std::function<bool()>& done, int ms = 10000);

// Removes whatever waits in this thread's queue, a WM_QUIT included.
void DrainThreadQueue();

RECT RectIn(HWND control, HWND container);
HICON IconOf(HWND w, WPARAM which);
std::wstring Text(HWND w);

// The window styles that make a frame and its title-bar buttons.
constexpr LONG kFrameStyles =
    WS_POPUP | WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

// The font a control was given, and the face that a DC really selects for
// it: "face height weight charset[ underlined][ italic] -> face[, bitmap]"
// (a bitmap face, not a TrueType or vector substitute).
std::string FontOf(HWND w);
// Its text's extent in its font, a line high.
SIZE TextExtent(HWND w);
// Left, top, width, height of w in container's client coordinates.
std::vector<int> Box(HWND w, HWND container);

// A window's client area as painted, read back from its DC.
class Shot {
 public:
  explicit Shot(HWND w) : w_(w), dc_(GetDC(w)) {}
  ~Shot() { ReleaseDC(w_, dc_); }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HWND w_;
  HDC dc_;
};

// While it lives, a colour scheme in which every system colour differs from
// every other and from the designs' fixed colours: a colour given by index
// then shows which index was used. The scheme before comes back after.
struct DistinctSystemColors {
  DistinctSystemColors() {
    for (int i = 0; i < kCount; ++i) {
      index[i] = i, before[i] = GetSysColor(i);
      mine[i] = RGB(40 + 6 * i, 200 - 5 * i, 90 + 3 * i);  // none white, black or grey
    }
    SetSysColors(kCount, index, mine);
  }
  ~DistinctSystemColors() { SetSysColors(kCount, index, before); }
  static constexpr int kCount = COLOR_MENUBAR + 1;
  int index[kCount];
  COLORREF before[kCount], mine[kCount];
};

// Loads the common controls that the test program's manifest binds, before
// any window is made (the EDIT class comes from them).
void InitCommonControls();

// A test with its own forms runtime and program, taken down after the test
// (forms unloaded while whole, the runtime last, the thread's queue emptied),
// so that tests pass in any order in one process.
class ProgramTest : public ::testing::Test {
 private:
  struct Prepared {
    Prepared() { InitCommonControls(); }
    ~Prepared() { DrainThreadQueue(); }
  } prepared_;

 protected:
  forms::Application app{L"" BRISVANE_APP_TITLE};
  Program program{app};
  MainForm& frmMain = program.frmMain;
  AboutForm& frmAbout = program.frmAbout;
};

// The status pane as the main window builds it, in a hidden window of its
// own, written and pumped as the main window does as a capture target.
class PaneTarget : public CaptureTarget {
 public:
  PaneTarget();
  ~PaneTarget() override;

  void PumpEvents() override;
  bool Gone() const override { return gone; }
  void SelText(const std::wstring& chunk) override;

  forms::TextBox pane;
  std::size_t shown = 0;
  int writes = 0;
  bool gone = false;
  std::function<void()> on_pump;

 private:
  forms::Application app_{L"pane"};
  HWND window_ = nullptr;
};

// Replaces, in this program's imports from dll, the system function `name`
// with `to` while it lives; the product code calls through them.
class ImportPatch {
 public:
  ImportPatch(const char* dll, const char* name, void* to);
  ~ImportPatch();
  template <typename F>
  F original() const {
    return reinterpret_cast<F>(original_);
  }
  bool patched() const { return slot_ != nullptr; }

 private:
  void* original_;
  void** slot_ = nullptr;
};

// Hands out `to` where the product looks the export `name` up by name
// (GetProcAddress) while it lives. One at a time.
class LookupPatch {
 public:
  LookupPatch(const char* name, void* to);
  ~LookupPatch();
  ImportPatch patch;

 private:
  const char* name_;
  void* to_;
  static FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR name);
};

// The shell's calls that the product makes while one lives (ShellExecuteW,
// handed out where the product asks shell32 for it), so that nothing opens.
struct ShellCall {
  HWND owner;
  std::wstring verb, file, params, dir;
  INT show;
};
class ShellRecorder {
 public:
  ShellRecorder();
  ~ShellRecorder();
  std::vector<ShellCall> calls;
  LookupPatch lookup;
};

// Moves the real mouse to the centre of w, or to a point of its client area,
// as a user would, and clicks there when asked; returns the pointer that the
// program set once it has handled the input.
HCURSOR PointerOver(forms::Application& app, HWND w, bool click = false, POINT at = {-1, -1});

}  // namespace brisvane::test
