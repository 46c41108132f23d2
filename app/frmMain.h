// The main window: the blue status pane, the menus, the script probes and
// the one-shot timer that starts the status run.
#pragma once

#include <string>

// <windows.h> first: it renames CreateProcess, which the capture interface
// declares too, and every translation unit must see the same name.
#include "forms/forms.h"

#include "app/status_run.h"
#include "capture/capture.h"

namespace brisvane {

class MainForm : public forms::Form, private StatusForm, private CaptureTarget {
 public:
  enum MenuId { mnuExit = 101, mnuWeb = 102, mnuAbout = 103 };
  enum ControlId { idStatus = 1, idPath2013 = 2, idPath2016 = 3 };

  // Loads the form if needed and shows it modeless on the screen's centre.
  void Show();

  // Gives hwnd, and when asked the top of its owner chain, the large and
  // small icons of the named icon group.
  void SetIcon(HWND hwnd, const std::string& sIconResName, bool bSetAsAppIcon = true);

  forms::TextBox txtStatus;
  forms::TextBox txtPath2013;
  forms::TextBox txtPath2016;
  forms::Timer Timer1{1, 1000};

 private:
  void CreateControls() override;
  void OnLoad() override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

  void mnuExit_Click();
  void mnuWeb_Click();
  void mnuAbout_Click();

  // StatusForm
  void DisarmTimer() override { Timer1.SetEnabled(false); }
  std::wstring Path2013Text() override { return txtPath2013.Text(); }
  std::wstring Path2016Text() override { return txtPath2016.Text(); }
  std::wstring StatusText() override { return txtStatus.Text(); }
  void SetStatusText(const std::wstring& text) override { txtStatus.SetText(text); }
  void SetStatusSelStart(long pos) override { txtStatus.SetSelStart(pos); }
  void SetScreenPointer(int pointer) override;
  CaptureEnd Capture(const std::wstring& command_line) override;

  // CaptureTarget: the status pane and this form's event pump
  void PumpEvents() override;
  bool Gone() const override;
  void SelText(const std::wstring& chunk) override { txtStatus.SetSelText(chunk); }

  StatusRun status_run_{*this};
};

extern MainForm frmMain;

// The shell's "Open" on the maker's home page, owned by owner.
void OpenHomePage(HWND owner);

// True when path names an ordinary file: not hidden, not system, no folder.
bool ProbeOrdinaryFile(const std::string& path);

}  // namespace brisvane
