// Owners for the handles and GDI objects the program makes. Every such
// object goes through one of these, so a test build can count them.
#pragma once

#include <windows.h>

#include <utility>

namespace forms {

// Live objects per kind; tests compare before and after.
struct ResourceCount {
  static long& Gdi() { static long n = 0; return n; }
  static long& Kernel() { static long n = 0; return n; }
  static long& Icons() { static long n = 0; return n; }
};

template <typename T, typename Traits>
class Unique {
 public:
  Unique() = default;
  explicit Unique(T h) : h_(h) { if (h_) ++Traits::Count(); }
  ~Unique() { Reset(); }
  Unique(const Unique&) = delete;
  Unique& operator=(const Unique&) = delete;
  Unique(Unique&& o) noexcept : h_(std::exchange(o.h_, T{})) {}
  Unique& operator=(Unique&& o) noexcept {
    if (this != &o) { Reset(); h_ = std::exchange(o.h_, T{}); }
    return *this;
  }
  T get() const { return h_; }
  explicit operator bool() const { return h_ != T{}; }
  void Reset(T h = T{}) {
    if (h_) { Traits::Free(h_); --Traits::Count(); }
    h_ = h;
    if (h_) ++Traits::Count();
  }

 private:
  T h_{};
};

struct GdiTraits {
  static void Free(HGDIOBJ h) { DeleteObject(h); }
  static long& Count() { return ResourceCount::Gdi(); }
};
struct KernelTraits {
  static void Free(HANDLE h) { CloseHandle(h); }
  static long& Count() { return ResourceCount::Kernel(); }
};
struct FindTraits {  // FindFirstFile's; INVALID_HANDLE_VALUE is never held
  static void Free(HANDLE h) { FindClose(h); }
  static long& Count() { return ResourceCount::Kernel(); }
};
struct IconTraits {  // icons and pointers that are not LR_SHARED
  static void Free(HICON h) { DestroyIcon(h); }
  static long& Count() { return ResourceCount::Icons(); }
};

using UniqueFont = Unique<HFONT, GdiTraits>;
using UniqueBrush = Unique<HBRUSH, GdiTraits>;
using UniquePen = Unique<HPEN, GdiTraits>;
using UniqueHandle = Unique<HANDLE, KernelTraits>;
using UniqueFind = Unique<HANDLE, FindTraits>;
using UniqueIcon = Unique<HICON, IconTraits>;

// Selects an object into a DC for the scope.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~ScopedSelect() { SelectObject(dc_, old_); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

class PaintDc {
 public:
  explicit PaintDc(HWND w) : w_(w), dc_(BeginPaint(w, &ps_)) {}
  ~PaintDc() { EndPaint(w_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC dc() const { return dc_; }
  const PAINTSTRUCT& ps() const { return ps_; }

 private:
  HWND w_;
  PAINTSTRUCT ps_{};
  HDC dc_;
};

}  // namespace forms
