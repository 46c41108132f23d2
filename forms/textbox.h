// A text box (EDIT) with the Text / SelStart / SelText semantics.
#pragma once

#include <windows.h>

#include <string>

#include "forms/raii.h"

namespace forms {

class TextBox {
 public:
  struct Design {
    int left, top, width, height;  // twips, relative to the container
    DWORD style;
    DWORD ex_style;
    bool visible;
  };
  void Create(HWND parent, int id, const Design& design, int dpi);
  // The window went with its form: forget it and free the font and brush.
  void Destroyed();
  HWND Hwnd() const { return hwnd_; }

  std::wstring Text() const;
  void SetText(const std::wstring& text);  // caret to 0
  void SetSelStart(long pos);              // no selection, scrolled to caret
  // Replaces the selection, caret after it. Throws Failure when the box did
  // not take the whole text (out of memory, or past its limit).
  void SetSelText(const std::wstring& text);

  void SetFont(UniqueFont font);
  void SetColors(COLORREF back, COLORREF fore);
  // Answers WM_CTLCOLOR* for this box; null when the colours are not set.
  HBRUSH Paint(HDC dc) const;

 private:
  HWND hwnd_ = nullptr;
  UniqueFont font_;
  UniqueBrush brush_;
  COLORREF back_ = 0, fore_ = 0;
};

}  // namespace forms
