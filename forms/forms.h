// A thin forms runtime over Win32: forms and controls placed in twips, text
// boxes with caret semantics, a one-shot capable timer, the screen-wide
// pointer, the pump of pending events, the hidden application window and the
// report of an unhandled failure.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "forms/raii.h"

namespace forms {

// A call of the runtime that failed; it unwinds to the event handler and
// is reported there (see ReportUnhandled). Not a std::runtime_error: that one
// links in libstdc++'s second, copy-on-write string library.
class Failure : public std::exception {
 public:
  explicit Failure(std::string what) : what_(std::move(what)) {}
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::string what_;
};

// Throws Failure with the call's name and GetLastError().
[[noreturn]] void Fail(const char* what);

// Tells the user in one message box, titled with the application title, and
// ends the program. The only failure report there is.
[[noreturn]] void ReportUnhandled(const char* what);

// Twips to pixels at the given DPI (15 twips a pixel at 96 DPI).
inline int Px(int twips, int dpi) { return MulDiv(twips, dpi, 1440); }
int ScreenDpi();

// Points to font height in pixels for LOGFONT (negative: character height).
int FontHeight(double points, int dpi);
UniqueFont MakeFont(const wchar_t* face, double points, int weight, BYTE charset,
                    bool underline = false);

std::wstring Widen(const std::string& ansi);  // system ANSI code page
std::string Narrow(const std::wstring& text);

// Keyboard handling a modeless form wants ahead of its controls.
class KeyPreview {
 public:
  virtual ~KeyPreview() = default;
  // Returns true when the key was consumed.
  virtual bool PreviewKeyDown(WPARAM vk, int shift) = 0;
};

class Application {
 public:
  static Application& Get();

  HINSTANCE Instance() const { return instance_; }
  HWND Window() const { return window_; }  // hidden, owns unowned forms

  // Runs the event loop until the last form is unloaded; returns the exit code.
  int Run();
  // Dispatches what is pending and returns; a WM_QUIT is put back for Run.
  void DoEvents();
  bool QuitSeen() const { return quit_seen_; }

  // Screen.MousePointer: 0 default, 11 hourglass; applies to every window.
  void SetMousePointer(int pointer);
  int MousePointer() const { return pointer_; }

  // Modeless forms get dialog keys and key preview in every loop.
  void AddModeless(HWND w, KeyPreview* preview);
  void RemoveModeless(HWND w);

  void FormLoaded() { ++loaded_forms_; }
  void FormUnloaded();

 private:
  Application();
  bool PreTranslate(MSG& msg);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  int pointer_ = 0;
  int loaded_forms_ = 0;
  bool quit_seen_ = false;
  struct Modeless { HWND hwnd; KeyPreview* preview; };
  std::vector<Modeless> modeless_;
};

// Base of every window of the program. A form is a single instance whose
// window exists between Load and Unload; the object outlives its window.
class Form {
 public:
  Form() = default;
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND Hwnd() const { return hwnd_; }
  bool Loaded() const { return hwnd_ != nullptr; }
  void Unload();
  void Show();  // modeless, to the front

 protected:
  struct Design {
    const wchar_t* caption;
    int client_width_twips;
    int client_height_twips;
    DWORD style;
    DWORD ex_style;
    HMENU menu;
  };
  // Creates the window (hidden) with its client area as designed, owned by
  // owner or by the application window; calls OnLoad; does not show it.
  void Load(const Design& design, HWND owner);
  void CenterOn(HWND reference);  // null: the screen

  virtual void CreateControls() {}
  virtual void OnLoad() {}
  virtual LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp);
  int Dpi() const { return dpi_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  static void Register();

  HWND hwnd_ = nullptr;
  int dpi_ = 96;
};

// A text box (EDIT) with the Text / SelStart / SelText semantics.
class TextBox {
 public:
  struct Design {
    int left, top, width, height;  // twips, relative to the container
    DWORD style;
    DWORD ex_style;
    bool visible;
  };
  void Create(HWND parent, int id, const Design& d, int dpi);
  // The window went with its form: forget it and free the font and brush.
  void Destroyed();
  HWND Hwnd() const { return hwnd_; }

  std::wstring Text() const;
  void SetText(const std::wstring& text);     // caret to 0
  void SetSelStart(long pos);                 // no selection, scrolled to caret
  void SetSelText(const std::wstring& text);  // replaces selection, caret after

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

// A form's timer; Enabled arms it, disarming kills it.
class Timer {
 public:
  Timer(UINT_PTR id, UINT interval_ms) : id_(id), interval_(interval_ms) {}
  void Attach(HWND owner) { owner_ = owner; }
  void SetEnabled(bool on);
  bool Enabled() const { return enabled_; }
  UINT_PTR Id() const { return id_; }
  UINT Interval() const { return interval_; }
  void Detach() { owner_ = nullptr; enabled_ = false; }

 private:
  HWND owner_ = nullptr;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_ = false;
};

}  // namespace forms
