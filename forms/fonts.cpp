#include "forms/fonts.h"

#include "forms/failure.h"

namespace forms {

int ScreenDpi() {
  HDC dc = GetDC(nullptr);
  const int dpi = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
  if (dc) ReleaseDC(nullptr, dc);
  return dpi > 0 ? dpi : 96;
}

int FontHeight(double points, int dpi) { return -static_cast<int>(points * dpi / 72.0 + 0.5); }

UniqueFont MakeFont(const FontDesign& design, int dpi) {
  LOGFONTW lf{};
  lf.lfHeight = FontHeight(design.points, dpi);
  lf.lfWeight = design.weight;
  lf.lfCharSet = design.charset;
  lf.lfUnderline = design.underline ? TRUE : FALSE;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  lstrcpynW(lf.lfFaceName, design.face, LF_FACESIZE);
  UniqueFont font(CreateFontIndirectW(&lf));
  if (!font) Fail("CreateFontIndirect");
  return font;
}

}  // namespace forms
