// What the in-process tests share: a fresh forms runtime and program for
// each test, pumping until something holds, and the status pane as a capture
// target of its own.
#pragma once

#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>

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

// Loads the common controls that the test program's manifest binds, before
// any window is made (the EDIT class comes from them).
void InitCommonControls();

// A test with its own forms runtime and program, taken down after the test
// (forms unloaded while whole, the runtime last, the thread's queue emptied),
// so that tests pass in any order in one process.
class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() = default;

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
  bool Gone() const override { return false; }
  void SelText(const std::wstring& chunk) override;

  forms::TextBox pane;
  std::size_t shown = 0;
  std::function<void()> on_pump;

 private:
  forms::Application app_{L"pane"};
  HWND window_ = nullptr;
};

}  // namespace brisvane::test
