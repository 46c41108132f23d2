// Twips, points and fonts at the screen's resolution.
#pragma once

#include <windows.h>

#include "forms/raii.h"

namespace forms {

// Twips to pixels at the given DPI (15 twips a pixel at 96 DPI).
inline int Px(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }
int ScreenDpi();

// Points to font height in pixels for LOGFONT (negative: character height).
int FontHeight(double points, int dpi);

// A font as a design names it.
struct FontDesign {
  const wchar_t* face;
  double points;
  int weight;
  BYTE charset;
  bool underline;
};
// The design's font at the given resolution; throws Failure when it cannot.
UniqueFont MakeFont(const FontDesign& design, int dpi);

}  // namespace forms
