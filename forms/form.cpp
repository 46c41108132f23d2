#include "forms/form.h"

#include "forms/failure.h"
#include "forms/fonts.h"

namespace forms {

namespace {
const wchar_t kFormClass[] = L"BrisvaneForm";
}  // namespace

void Form::Register() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(app_.Instance(), kFormClass, &wc)) return;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = Proc;
  wc.hInstance = app_.Instance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kFormClass;
  if (!RegisterClassExW(&wc)) Fail("RegisterClassEx");
}

Form::~Form() {
  if (!hwnd_) return;
  SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

void Form::Load(const Design& d, HWND owner) {
  if (hwnd_) return;
  Register();
  dpi_ = ScreenDpi();
  RECT rc{0, 0, Px(d.client_width_twips, dpi_), Px(d.client_height_twips, dpi_)};
  AdjustWindowRectEx(&rc, d.style, d.menu != nullptr, d.ex_style);
  HWND w = CreateWindowExW(d.ex_style, kFormClass, d.caption, d.style, CW_USEDEFAULT, CW_USEDEFAULT,
                           rc.right - rc.left, rc.bottom - rc.top, owner ? owner : app_.Window(),
                           d.menu, app_.Instance(), this);
  if (!w) {
    if (d.menu) DestroyMenu(d.menu);
    Fail("CreateWindowEx (form)");
  }
  app_.FormLoaded();
  // A menu bar that wrapped, or a frame the adjustment got wrong, would
  // steal from the designed client area: correct by what is measured.
  RECT client, frame;
  GetClientRect(w, &client);
  GetWindowRect(w, &frame);
  const int dx = Px(d.client_width_twips, dpi_) - client.right;
  const int dy = Px(d.client_height_twips, dpi_) - client.bottom;
  if (dx || dy) {
    SetWindowPos(w, nullptr, 0, 0, frame.right - frame.left + dx, frame.bottom - frame.top + dy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  CreateControls();
  OnLoad();
}

void Form::CenterOn(HWND reference) {
  RECT frame, area;
  GetWindowRect(hwnd_, &frame);
  if (reference) {
    GetWindowRect(reference, &area);
  } else {
    area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  const int w = frame.right - frame.left, h = frame.bottom - frame.top;
  const int x = area.left + (area.right - area.left - w) / 2;
  const int y = area.top + (area.bottom - area.top - h) / 2;
  SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
  ShowWindow(hwnd_, SW_SHOWNORMAL);
  SetForegroundWindow(hwnd_);
  UpdateWindow(hwnd_);
}

void Form::Unload() {
  if (hwnd_) DestroyWindow(hwnd_);
}

HWND Form::FirstTabStop() const {
  for (HWND w = GetWindow(hwnd_, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
    if ((GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP) && IsWindowVisible(w) && IsWindowEnabled(w)) {
      return w;
    }
  }
  return nullptr;
}

LRESULT Form::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETCURSOR:
      if (app_.GetMousePointer() == MousePointer::kHourglass) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        const HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) focus_ = focus;
      }
      break;  // DefWindowProc focuses the form itself, which passes it on
    case WM_SETFOCUS:
      // The form takes no keys: the control that had the focus last gets it
      // back, else the first one in tab order, as when the form first shows.
      if (const HWND to = focus_ && IsChild(hwnd_, focus_) ? focus_ : FirstTabStop()) {
        SetFocus(to);
        return 0;
      }
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Form::Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  Form* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    if (msg == WM_NCDESTROY) {
      const LRESULT r = self->OnMessage(msg, wp, lp);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      self->hwnd_ = self->focus_ = nullptr;
      self->app_.RemoveModeless(hwnd);
      self->app_.FormUnloaded();
      return r;
    }
    return self->OnMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    ReportUnhandled(e.what());
  } catch (...) {
    ReportUnhandled("unknown failure");
  }
}

}  // namespace forms
