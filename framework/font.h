// TFont: a GDI font made from the full set of font-creation values (or a
// LOGFONT), owned and deleted with the object.
#pragma once
#include <windows.h>

#include <optional>

class TFont {
 public:
  TFont(const char* facename, int height, int width = 0, int escapement = 0, int orientation = 0,
        int weight = FW_NORMAL, BYTE pitchAndFamily = DEFAULT_PITCH | FF_DONTCARE, BYTE italic = false,
        BYTE underline = false, BYTE strikeout = false, BYTE charSet = DEFAULT_CHARSET,
        BYTE outputPrecision = OUT_DEFAULT_PRECIS, BYTE clipPrecision = CLIP_DEFAULT_PRECIS,
        BYTE quality = DEFAULT_QUALITY)
      : Handle(CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeout,
                           charSet, outputPrecision, clipPrecision, quality, pitchAndFamily, facename)) {}
  explicit TFont(const LOGFONTA& logFont) : Handle(CreateFontIndirectA(&logFont)) {}
  virtual ~TFont() {
    if (Handle) DeleteObject(Handle);
  }
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  HFONT GetHandle() const { return Handle; }
  operator HFONT() const { return Handle; }
  // Metrics of the font on the screen, measured once: layouts ask on every
  // resize, and a font's handle never changes.
  TEXTMETRICA GetTextMetrics() const {
    if (!Metrics) {
      TEXTMETRICA tm{};
      HDC dc = GetDC(nullptr);
      HGDIOBJ old = SelectObject(dc, Handle);
      ::GetTextMetricsA(dc, &tm);
      SelectObject(dc, old);
      ReleaseDC(nullptr, dc);
      Metrics = tm;
    }
    return *Metrics;
  }

 private:
  HFONT Handle;
  mutable std::optional<TEXTMETRICA> Metrics;
};
