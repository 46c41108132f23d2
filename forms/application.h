// The forms runtime's application: the hidden application window, the event
// loops and the screen-wide mouse pointer. One per run; it outlives every
// form that lives in it.
#pragma once

#include <windows.h>

#include <vector>

#include "forms/mouse_pointer.h"

namespace forms {

// Keyboard handling a modeless form wants ahead of its controls.
class KeyPreview {
 public:
  virtual ~KeyPreview() = default;
  // Returns true when the key was consumed.
  virtual bool PreviewKeyDown(WPARAM vk, int shift) = 0;
};

class Application {
 public:
  // title: the hidden window's caption, also the title of a failure report.
  explicit Application(const wchar_t* title);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  HINSTANCE Instance() const { return instance_; }
  HWND Window() const { return window_; }  // hidden, owns unowned forms

  // Runs the event loop until the last form is unloaded; returns the exit code.
  int Run();
  // Dispatches what is pending and returns; a WM_QUIT is put back for Run.
  void DoEvents();
  bool QuitSeen() const { return quit_seen_; }
  // True while one of the system's modal loops runs on this thread: a menu
  // (menu bar, system menu, context menu) or a window moved or sized by the
  // user. What is dispatched meanwhile runs inside that loop.
  static bool InSystemLoop();

  // Enters a single-threaded COM apartment on this thread, once; left when
  // the application ends. Nothing is reported when COM is not there.
  void InitializeCom();

  // Screen.MousePointer; applies to every window of the program.
  void SetMousePointer(MousePointer pointer);
  MousePointer GetMousePointer() const { return pointer_; }

  // Modeless forms get dialog keys and key preview in every loop.
  void AddModeless(HWND w, KeyPreview* preview);
  void RemoveModeless(HWND w);

  void FormLoaded() { ++loaded_forms_; }
  void FormUnloaded();
  int LoadedForms() const { return loaded_forms_; }

 private:
  bool PreTranslate(MSG& msg);

  HINSTANCE instance_;
  HWND window_ = nullptr;
  MousePointer pointer_ = MousePointer::kDefault;
  int loaded_forms_ = 0;
  bool quit_seen_ = false;
  HMODULE ole32_ = nullptr;  // loaded only for COM, so that start-up never waits for it
  bool com_entered_ = false;
  struct Modeless {
    HWND hwnd;
    KeyPreview* preview;
  };
  std::vector<Modeless> modeless_;
};

}  // namespace forms
