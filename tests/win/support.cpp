#include "support.h"

#include <commctrl.h>

#include <chrono>
#include <thread>

#include "forms/fonts.h"

namespace brisvane::test {

bool PumpUntil(forms::Application& app, const std::function<bool()>& done, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    app.DoEvents();
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void DrainThreadQueue() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

void InitCommonControls() {
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);
}

PaneTarget::PaneTarget() {
  InitCommonControls();
  window_ = CreateWindowExW(0, L"STATIC", L"pane", WS_POPUP, 0, 0, 500, 300, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  pane.Create(window_, MainForm::idStatus, MainForm::kStatusDesign, 96);
  pane.SetFont(forms::MakeFont(MainForm::kStatusFont, 96));
  pane.SetColors(MainForm::kStatusBackColor, MainForm::kStatusForeColor);
}

PaneTarget::~PaneTarget() {
  DestroyWindow(window_);
  pane.Destroyed();
  DrainThreadQueue();
}

void PaneTarget::PumpEvents() {
  app_.DoEvents();
  if (on_pump) on_pump();
}

void PaneTarget::SelText(const std::wstring& chunk) {
  pane.SetSelText(chunk);
  shown += chunk.size();
}

}  // namespace brisvane::test
