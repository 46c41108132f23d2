#include "app/frmMain.h"

#include "about/seticon_win.h"
#include "app/probe.h"
#include "app/program.h"
#include "app/shell.h"
#include "capture/capture_win.h"
#include "forms/failure.h"
#include "forms/text.h"
#include "res/identity.h"

namespace brisvane {

namespace {
HMENU BuildMenu() {
  HMENU bar = CreateMenu();
  HMENU file = CreatePopupMenu();
  HMENU help = CreatePopupMenu();
  if (!bar || !file || !help) forms::Fail("CreateMenu");
  AppendMenuW(file, MF_STRING, MainForm::mnuExit, L"Exit");
  AppendMenuW(help, MF_STRING, MainForm::mnuWeb, L"Web...");
  AppendMenuW(help, MF_STRING, MainForm::mnuAbout, L"About...");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"&File");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(help), L"&Help");
  return bar;
}
}  // namespace

MainForm::MainForm(Program& program) : forms::Form(program.app), program_(program) {}

MainForm::~MainForm() { Unload(); }

void MainForm::Show() {
  if (!Loaded()) {
    Load({L"" BRISVANE_MAIN_CAPTION, kClientWidthTwips, kClientHeightTwips,
          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
          // Owned by the hidden application window, yet on the taskbar.
          WS_EX_APPWINDOW, BuildMenu()},
         nullptr);
    CenterOn(nullptr);
  }
  Form::Show();
}

void MainForm::CreateControls() {
  txtStatus.Create(Hwnd(), idStatus, kStatusDesign, Dpi());
  txtStatus.SetFont(forms::MakeFont(kStatusFont, Dpi()));
  txtPath2013.Create(Hwnd(), idPath2013,
                     {120, 3000, 6975, 375, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, false},
                     Dpi());
  txtPath2016.Create(Hwnd(), idPath2016,
                     {120, 3480, 6975, 375, ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, false},
                     Dpi());
  Timer1.Attach(Hwnd());
}

void MainForm::OnLoad() {
  SetIcon(Hwnd(), BRISVANE_NAME_OF(BRISVANE_ICON_MAIN), true);
  txtStatus.SetColors(kStatusBackColor, kStatusForeColor);
  txtPath2013.SetText(forms::Widen(FindStatusCommand(OfficeVersion::k2013, ProbeOrdinaryFile)));
  txtPath2016.SetText(forms::Widen(FindStatusCommand(OfficeVersion::k2016, ProbeOrdinaryFile)));
  Timer1.SetEnabled(true);
}

void MainForm::SetIcon(HWND hwnd, const std::string& icon_group, bool set_as_app_icon) {
  SetWindowIcons(App().Instance(), hwnd, icon_group, set_as_app_icon);
}

LRESULT MainForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lp) == txtStatus.Hwnd()) {
        if (HBRUSH brush = txtStatus.Paint(reinterpret_cast<HDC>(wp))) {
          return reinterpret_cast<LRESULT>(brush);
        }
      }
      break;
    case WM_TIMER:
      if (wp == Timer1.Id()) {
        // Only an armed timer ticks: a stray or posted WM_TIMER must not
        // start the status run a second time.
        if (Timer1.Enabled()) status_run_.OnTimer();
        return 0;
      }
      break;
    case WM_COMMAND:
      if (lp == 0) {
        switch (LOWORD(wp)) {
          case mnuExit:
            mnuExit_Click();
            return 0;
          case mnuWeb:
            mnuWeb_Click();
            return 0;
          case mnuAbout:
            mnuAbout_Click();
            return 0;
        }
      }
      break;
    case WM_DESTROY:
      Timer1.SetEnabled(false);
      Timer1.Detach();
      break;
    case WM_NCDESTROY:
      // The controls have gone: now their font and brush may go too.
      txtStatus.Destroyed();
      txtPath2013.Destroyed();
      txtPath2016.Destroyed();
      break;
  }
  return Form::OnMessage(msg, wp, lp);
}

void MainForm::mnuExit_Click() { Unload(); }

void MainForm::mnuWeb_Click() { OpenHomePage(Hwnd()); }

void MainForm::mnuAbout_Click() {
  AboutForm& about = program_.frmAbout;
  about.Show(Hwnd());
  SetIcon(about.Hwnd(), BRISVANE_NAME_OF(BRISVANE_ICON_ABOUT), true);
}

void MainForm::SetScreenPointer(forms::MousePointer pointer) { App().SetMousePointer(pointer); }

CaptureEnd MainForm::Capture(const std::wstring& command_line) {
  return CaptureConsoleOutput(forms::Narrow(command_line), *this);
}

void MainForm::PumpEvents() { App().DoEvents(); }

bool MainForm::Gone() const { return !Loaded() || App().QuitSeen(); }

}  // namespace brisvane
