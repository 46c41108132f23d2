// The main window: the blue status pane, the menus, the script probes and
// the one-shot timer that starts the status run.
#pragma once

#include <string>

#include "app/status_run.h"
#include "capture/capture.h"
#include "forms/fonts.h"
#include "forms/form.h"
#include "forms/textbox.h"
#include "forms/timer.h"

namespace brisvane {

class Program;

class MainForm : public forms::Form, private StatusForm, private CaptureTarget {
 public:
  enum MenuId { mnuExit = 101, mnuWeb = 102, mnuAbout = 103 };
  enum ControlId { idStatus = 1, idPath2013 = 2, idPath2016 = 3 };

  // The status pane's design, for whatever else builds or measures one.
  static constexpr forms::TextBox::Design kStatusDesign{
      20,
      20,
      7200,
      3840,
      ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL | WS_TABSTOP,
      WS_EX_CLIENTEDGE,
      true};
  static constexpr forms::FontDesign kStatusFont{L"MS Sans Serif", 8.25, FW_BOLD, RUSSIAN_CHARSET,
                                                 false};
  static constexpr COLORREF kStatusBackColor = 0x00D08410;  // red 16, green 132, blue 208
  static constexpr COLORREF kStatusForeColor = 0x00FFFFFF;
  static constexpr int kClientWidthTwips = 7260, kClientHeightTwips = 3885;

  explicit MainForm(Program& program);
  ~MainForm() override;

  // Loads the form if needed and shows it modeless on the screen's centre.
  void Show();

  // Gives hwnd, and when asked the top of its owner chain, the large and
  // small icons of the named icon group.
  void SetIcon(HWND hwnd, const std::string& icon_group, bool set_as_app_icon = true);

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
  bool InSystemLoop() override { return forms::Application::InSystemLoop(); }
  void DisarmTimer() override { Timer1.SetEnabled(false); }
  std::wstring Path2013Text() override { return txtPath2013.Text(); }
  std::wstring Path2016Text() override { return txtPath2016.Text(); }
  std::wstring StatusText() override { return txtStatus.Text(); }
  void SetStatusText(const std::wstring& text) override { txtStatus.SetText(text); }
  void SetStatusSelStart(long pos) override { txtStatus.SetSelStart(pos); }
  void SetScreenPointer(forms::MousePointer pointer) override;
  CaptureEnd Capture(const std::wstring& command_line) override;

  // CaptureTarget: the status pane and this form's event pump
  void PumpEvents() override;
  bool Gone() const override;
  void SelText(const std::wstring& chunk) override { txtStatus.SetSelText(chunk); }

  Program& program_;
  StatusRun status_run_{*this};
};

}  // namespace brisvane
