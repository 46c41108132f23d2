// The program's forms, one instance each for the whole run, and the forms
// runtime they live in. wWinMain owns one; each in-process test builds its
// own. The forms reach each other through it.
#pragma once

#include "about/frmAbout.h"
#include "app/frmMain.h"
#include "forms/application.h"

namespace brisvane {

class Program {
 public:
  explicit Program(forms::Application& app) : app(app), frmMain(*this), frmAbout(app) {}
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  forms::Application& app;
  // Destroyed in reverse: the about box goes before the main window that
  // owns it, both before the runtime.
  MainForm frmMain;
  AboutForm frmAbout;
};

}  // namespace brisvane

// Start-up: prepares the common controls and shows the main window.
namespace xpStyle {
void Main(brisvane::Program& program);
}  // namespace xpStyle
