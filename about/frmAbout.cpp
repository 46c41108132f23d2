#include "about/frmAbout.h"

namespace brisvane {

AboutForm frmAbout;

void AboutForm::Show(HWND owner) {
  if (!Loaded()) {
    Load({L"About", 4920, 3405, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, nullptr}, owner);
    CenterOn(owner);
    forms::Application::Get().AddModeless(Hwnd(), this);
  }
  Form::Show();
}

void AboutForm::CreateControls() {}

LRESULT AboutForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  return Form::OnMessage(msg, wp, lp);
}

bool AboutForm::PreviewKeyDown(WPARAM vk, int) {
  if (vk == VK_ESCAPE) {
    Unload();
    return true;
  }
  return false;
}

}  // namespace brisvane
