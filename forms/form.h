// Base of every window of the program. A form is a single instance whose
// window exists between Load and Unload; the object outlives its window.
#pragma once

#include <windows.h>

#include "forms/application.h"

namespace forms {

class Form {
 public:
  explicit Form(Application& app) : app_(app) {}
  // A derived form unloads itself in its own destructor, while it is whole;
  // this one only makes sure that no message reaches what is left of it.
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
  Application& App() const { return app_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void Register();
  HWND FirstTabStop() const;

  Application& app_;
  HWND hwnd_ = nullptr;
  HWND focus_ = nullptr;  // the control that had the focus when the form was deactivated
  int dpi_ = 96;
};

}  // namespace forms
