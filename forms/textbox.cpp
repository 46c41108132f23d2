#include "forms/textbox.h"

#include "forms/failure.h"
#include "forms/fonts.h"

namespace forms {

void TextBox::Create(HWND parent, int id, const Design& d, int dpi) {
  const DWORD style = WS_CHILD | d.style | (d.visible ? WS_VISIBLE : 0);
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
  hwnd_ = CreateWindowExW(d.ex_style, L"EDIT", L"", style, Px(d.left, dpi), Px(d.top, dpi),
                          Px(d.width, dpi), Px(d.height, dpi), parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (!hwnd_) Fail("CreateWindowEx (text box)");
  // The default limit (about 30,000 characters) silently truncates inserts.
  SendMessageW(hwnd_, EM_SETLIMITTEXT, 0, 0);
}

void TextBox::Destroyed() {
  hwnd_ = nullptr;
  font_.Reset();
  brush_.Reset();
}

std::wstring TextBox::Text() const {
  if (!hwnd_) return {};
  int n = GetWindowTextLengthW(hwnd_);
  std::wstring text(n + 1, L'\0');
  n = GetWindowTextW(hwnd_, text.data(), n + 1);
  text.resize(n > 0 ? n : 0);
  return text;
}

void TextBox::SetText(const std::wstring& text) {
  if (!hwnd_) return;
  SetWindowTextW(hwnd_, text.c_str());
  SendMessageW(hwnd_, EM_SETSEL, 0, 0);
}

void TextBox::SetSelStart(long pos) {
  if (!hwnd_) return;
  SendMessageW(hwnd_, EM_SETSEL, pos, pos);
  SendMessageW(hwnd_, EM_SCROLLCARET, 0, 0);
}

void TextBox::SetSelText(const std::wstring& text) {
  if (!hwnd_) return;
  DWORD start = 0, end = 0;
  SendMessageW(hwnd_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const long long before = GetWindowTextLengthW(hwnd_);
  SendMessageW(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
  // EM_REPLACESEL reports nothing: an EDIT out of memory (EN_ERRSPACE) or at
  // its limit just takes less. The length tells.
  const long long taken = GetWindowTextLengthW(hwnd_) - before + (end - start);
  if (taken != static_cast<long long>(text.size())) {
    throw Failure("EM_REPLACESEL failed: the text box took " + std::to_string(taken) + " of " +
                  std::to_string(text.size()) + " characters");
  }
}

void TextBox::SetFont(UniqueFont font) {
  font_ = std::move(font);
  if (hwnd_) SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
}

void TextBox::SetColors(COLORREF back, COLORREF fore) {
  back_ = back;
  fore_ = fore;
  brush_.Reset(CreateSolidBrush(back));
  if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

HBRUSH TextBox::Paint(HDC dc) const {
  if (!brush_) return nullptr;
  SetTextColor(dc, fore_);
  SetBkColor(dc, back_);
  return brush_.get();
}

}  // namespace forms
