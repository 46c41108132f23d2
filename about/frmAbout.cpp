#include "about/frmAbout.h"

#include <vector>

#include "about/design_images.h"
#include "app/shell.h"
#include "forms/application.h"
#include "forms/failure.h"
#include "forms/fonts.h"
#include "forms/text.h"
#include "res/identity.h"

namespace brisvane {

namespace {

const wchar_t kPictureClass[] = L"BrisvanePicture";
constexpr int kBlack = -1;  // a fixed colour, not a system colour index

enum class FontKind { kDefault, kTitle, kLink };
enum class Align { kLeft, kRight };

// The labels in tab order; positions in twips relative to Pic1. They are
// sized for the design's fonts: wider stand-ins would make "Version:" run
// into the version and wrap the second title line.
struct LabelDesign {
  int id;
  const char* text;  // ANSI, like the identity it comes from
  int left, top, width, height;
  FontKind font;
  int color;  // system colour index, or kBlack
  Align align;
  bool auto_size;
};

const LabelDesign kLabels[] = {
    {AboutForm::idTitle, BRISVANE_TITLE_PRODUCT, 240, 240, 4455, 255, FontKind::kTitle,
     COLOR_WINDOWTEXT, Align::kLeft, false},
    {AboutForm::idVersion, "Version:", 240, 960, 570, 195, FontKind::kDefault, COLOR_WINDOWTEXT,
     Align::kLeft, true},
    {AboutForm::idThis, "", 240, 1320, 3735, 195, FontKind::kDefault, kBlack, Align::kLeft, true},
    {AboutForm::idCopyright, BRISVANE_COPYRIGHT_LINE, 960, 1800, 3795, 195, FontKind::kDefault,
     COLOR_WINDOWTEXT, Align::kRight, false},
    {AboutForm::idLink, BRISVANE_HOME_PAGE, 2880, 2040, 1845, 195, FontKind::kLink, COLOR_HIGHLIGHT,
     Align::kRight, true},
    // The version shown is fixed by the design, not taken from the version record.
    {AboutForm::idVerJP, BRISVANE_ABOUT_VERSION, 840, 960, 855, 255, FontKind::kDefault,
     COLOR_WINDOWTEXT, Align::kLeft, false},
    {AboutForm::idTitle2, BRISVANE_TITLE_EDITION, 240, 480, 4455, 255, FontKind::kTitle,
     COLOR_WINDOWTEXT, Align::kLeft, false},
};

UINT DrawFlags(const LabelDesign& d) {
  UINT flags = DT_NOPREFIX | (d.align == Align::kRight ? DT_RIGHT : DT_LEFT);
  return flags | (d.auto_size ? DT_SINGLELINE : DT_WORDBREAK);
}

// The pointer is made from an icon image: CreateIconFromResourceEx reads a
// cursor's hot spot from two words in front of the image.
forms::UniqueIcon MakeLinkPointer() {
  std::vector<BYTE> bits(4 + kLinkHandPointerSize);
  const WORD hot = 16;  // the fingertip, at the image centre
  bits[0] = bits[2] = static_cast<BYTE>(hot);
  bits[1] = bits[3] = 0;
  std::copy(kLinkHandPointer, kLinkHandPointer + kLinkHandPointerSize, bits.begin() + 4);
  forms::UniqueIcon pointer(CreateIconFromResourceEx(bits.data(), static_cast<DWORD>(bits.size()),
                                                     FALSE, 0x00030000, 32, 32, LR_DEFAULTCOLOR));
  if (!pointer) forms::Fail("CreateIconFromResourceEx (link pointer)");
  return pointer;
}

forms::UniqueIcon MakeDesignIcon() {
  forms::UniqueIcon icon(CreateIconFromResourceEx(const_cast<BYTE*>(kAboutDesignIcon),
                                                  static_cast<DWORD>(kAboutDesignIconSize), TRUE,
                                                  0x00030000, 16, 16, LR_DEFAULTCOLOR));
  if (!icon) forms::Fail("CreateIconFromResourceEx (design icon)");
  return icon;
}

// The dialog manager presses a button whose access letter is typed without
// Alt when the focused control takes no characters; a form's button wants
// Alt. Claiming the characters keeps a bare letter from reaching the mnemonic
// (Windows and Wine alike); Alt+C comes as WM_SYSCHAR and still works. The
// button's own procedure waits in its user data.
LRESULT CALLBACK CloseButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  const auto button_proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  const LRESULT r = CallWindowProcW(button_proc, hwnd, msg, wp, lp);
  return msg == WM_GETDLGCODE ? (r | DLGC_WANTCHARS) : r;
}

}  // namespace

AboutForm::~AboutForm() { Unload(); }

void AboutForm::RegisterPictureClass() const {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (GetClassInfoExW(App().Instance(), kPictureClass, &wc)) return;
  wc.lpfnWndProc = PictureProc;
  wc.hInstance = App().Instance();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kPictureClass;
  if (!RegisterClassExW(&wc)) forms::Fail("RegisterClassEx (picture box)");
}

void AboutForm::Show(HWND owner) {
  if (!Loaded()) {
    Load({L"" BRISVANE_ABOUT_CAPTION, kClientWidthTwips, kClientHeightTwips,
          WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, nullptr},
         owner);
    CenterOn(owner);
    App().AddModeless(Hwnd(), this);
  }
  Form::Show();
}

void AboutForm::CreateControls() {
  const HWND form = Hwnd();
  const HINSTANCE instance = App().Instance();
  const int dpi = Dpi();
  auto px = [dpi](int twips) { return forms::Px(twips, dpi); };

  default_font_ = forms::MakeFont({L"MS Sans Serif", 8.25, FW_NORMAL, ANSI_CHARSET, false}, dpi);
  title_font_ = forms::MakeFont({L"Arial", 9.75, FW_BOLD, RUSSIAN_CHARSET, false}, dpi);
  link_font_ = forms::MakeFont({L"MS Sans Serif", 8.25, FW_NORMAL, RUSSIAN_CHARSET, true}, dpi);
  line_pen_.Reset(CreatePen(PS_SOLID, 1, kLineColor));
  link_pointer_ = MakeLinkPointer();
  design_icon_ = MakeDesignIcon();
  SendMessageW(form, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(design_icon_.get()));
  SendMessageW(form, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(design_icon_.get()));

  // Created in tab order: the dialog manager's Tab follows creation order.
  close_ = CreateWindowExW(
      0, L"BUTTON", L"&Close", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, px(3120),
      px(2640), px(1575), px(495), form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idClose)),
      instance, nullptr);
  if (!close_) forms::Fail("CreateWindowEx (cmdClose)");
  SendMessageW(close_, WM_SETFONT, reinterpret_cast<WPARAM>(default_font_.get()), FALSE);
  SetWindowLongPtrW(close_, GWLP_USERDATA, GetWindowLongPtrW(close_, GWLP_WNDPROC));
  SetWindowLongPtrW(close_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CloseButtonProc));

  RegisterPictureClass();
  pic1_ = CreateWindowExW(0, kPictureClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, px(6135),
                          px(2415), form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(idPic1)),
                          instance, this);
  if (!pic1_) forms::Fail("CreateWindowEx (Pic1)");
  SendMessageW(pic1_, WM_SETFONT, reinterpret_cast<WPARAM>(default_font_.get()), FALSE);

  for (const LabelDesign& d : kLabels) {
    HFONT font = d.font == FontKind::kTitle  ? title_font_.get()
                 : d.font == FontKind::kLink ? link_font_.get()
                                             : default_font_.get();
    int left = px(d.left), width = px(d.width), height = px(d.height);
    const std::wstring text = forms::Widen(d.text);
    if (d.auto_size) {
      HDC dc = GetDC(pic1_);
      SIZE extent{};
      TEXTMETRICW metrics{};
      {
        forms::ScopedSelect select(dc, font);
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        GetTextMetricsW(dc, &metrics);
      }
      ReleaseDC(pic1_, dc);
      if (d.align == Align::kRight) left += width - extent.cx;  // keeps its right edge
      width = extent.cx;
      height = metrics.tmHeight;
    }
    // Owner-drawn, so that the panel shows through; only the link answers the mouse
    // (a STATIC without SS_NOTIFY is transparent to hit testing).
    DWORD style = WS_CHILD | WS_VISIBLE | SS_OWNERDRAW | (d.id == idLink ? SS_NOTIFY : 0);
    HWND label =
        CreateWindowExW(0, L"STATIC", text.c_str(), style, left, px(d.top), width, height, pic1_,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(d.id)), instance, nullptr);
    if (!label) forms::Fail("CreateWindowEx (label)");
    SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  }
}

// Pic1's picture in its own coordinates: background, Line3 and the labels'
// texts, which have no background of their own. Pic1 and every label paint
// through this, so overlapping labels neither hide nor smear each other.
void AboutForm::PaintPicture(HDC dc) const {
  RECT rc;
  GetClientRect(pic1_, &rc);
  FillRect(dc, &rc, GetSysColorBrush(COLOR_WINDOW));
  const int dpi = Dpi();
  const int y = forms::Px(2400, dpi);
  {
    forms::ScopedSelect pen(dc, line_pen_.get());
    MoveToEx(dc, 0, y, nullptr);
    LineTo(dc, forms::Px(6960, dpi), y);
  }
  SetBkMode(dc, TRANSPARENT);
  for (const LabelDesign& d : kLabels) {
    HWND label = GetDlgItem(pic1_, d.id);
    if (!label) continue;
    RECT box;
    GetWindowRect(label, &box);
    MapWindowPoints(nullptr, pic1_, reinterpret_cast<POINT*>(&box), 2);
    wchar_t text[256];
    const int n = GetWindowTextW(label, text, 256);
    forms::ScopedSelect font(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    SetTextColor(dc, d.color == kBlack ? RGB(0, 0, 0) : GetSysColor(d.color));
    DrawTextW(dc, text, n, &box, DrawFlags(d));
  }
}

void AboutForm::DrawLabel(const DRAWITEMSTRUCT& item) const {
  POINT origin{0, 0};
  MapWindowPoints(item.hwndItem, pic1_, &origin, 1);
  POINT old_origin;
  SetViewportOrgEx(item.hDC, -origin.x, -origin.y, &old_origin);
  PaintPicture(item.hDC);
  SetViewportOrgEx(item.hDC, old_origin.x, old_origin.y, nullptr);
}

LRESULT CALLBACK AboutForm::PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  AboutForm* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<AboutForm*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<AboutForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self || !self->pic1_) return DefWindowProcW(hwnd, msg, wp, lp);
  try {
    return self->OnPictureMessage(msg, wp, lp);
  } catch (const std::exception& e) {
    forms::ReportUnhandled(e.what());
  } catch (...) {
    forms::ReportUnhandled("unknown failure");
  }
}

LRESULT AboutForm::OnPictureMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT paints all of it
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS;  // see CloseButtonProc
    case WM_PAINT: {
      forms::PaintDc paint(pic1_);
      PaintPicture(paint.dc());
      return 0;
    }
    case WM_DRAWITEM:
      DrawLabel(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
      return TRUE;
    case WM_SETCURSOR:
      // The screen's hourglass outranks the link's own pointer; the form
      // answers for it when asked by DefWindowProc.
      if (reinterpret_cast<HWND>(wp) == GetDlgItem(pic1_, idLink) && LOWORD(lp) == HTCLIENT &&
          App().GetMousePointer() != forms::MousePointer::kHourglass) {
        SetCursor(link_pointer_.get());
        return TRUE;
      }
      break;
    case WM_COMMAND:
      if (LOWORD(wp) == idLink && HIWORD(wp) == STN_CLICKED) {
        lblLink_Click();
        return 0;
      }
      break;
  }
  return DefWindowProcW(pic1_, msg, wp, lp);
}

LRESULT AboutForm::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (LOWORD(wp) == idClose && HIWORD(wp) == BN_CLICKED) {
        cmdClose_Click();
        return 0;
      }
      break;
    case DM_GETDEFID:  // asked by IsDialogMessage for Enter
      return MAKELRESULT(idClose, DC_HASDEFID);
    case WM_NCDESTROY:
      ReleaseDesign();
      break;
  }
  return Form::OnMessage(msg, wp, lp);
}

void AboutForm::ReleaseDesign() {
  pic1_ = close_ = nullptr;
  // Windows will not destroy the pointer in use: put the arrow back first.
  if (link_pointer_ && GetCursor() == link_pointer_.get()) {
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  }
  link_pointer_.Reset();
  design_icon_.Reset();
  line_pen_.Reset();
  default_font_.Reset();
  title_font_.Reset();
  link_font_.Reset();
}

bool AboutForm::PreviewKeyDown(WPARAM vk, int) {
  if (vk == VK_ESCAPE) {  // whatever the shift state
    Unload();
    return true;
  }
  return false;
}

void AboutForm::cmdClose_Click() { Unload(); }

void AboutForm::lblLink_Click() { OpenHomePage(Hwnd()); }

}  // namespace brisvane
