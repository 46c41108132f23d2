// The one status run after start: Office 2013, then Office 2016, each either
// captured into the status pane or shown as its not-found message.
#pragma once

#include <string>

#include "capture/capture.h"
#include "forms/mouse_pointer.h"

namespace brisvane {

// What the run needs of the main window.
class StatusForm {
 public:
  virtual ~StatusForm() = default;
  // A menu or a move of the system's runs on the thread: a run started now
  // would pump away the input that loop waits for.
  virtual bool InSystemLoop() = 0;
  virtual void DisarmTimer() = 0;
  virtual std::wstring Path2013Text() = 0;
  virtual std::wstring Path2016Text() = 0;
  virtual std::wstring StatusText() = 0;
  virtual void SetStatusText(const std::wstring& text) = 0;  // caret to 0
  virtual void SetStatusSelStart(long pos) = 0;
  virtual void SetScreenPointer(forms::MousePointer pointer) = 0;
  // Runs the command line into the status pane (inserting at its caret).
  virtual CaptureEnd Capture(const std::wstring& command_line) = 0;
};

class StatusRun {
 public:
  explicit StatusRun(StatusForm& form) : form_(form) {}
  // Timer1's tick. Inside one of the system's modal loops it does nothing
  // and the timer stays armed: the run starts at the first tick after it.
  void OnTimer();

 private:
  // False once the main window has gone: the rest of the run is skipped.
  bool RunStatus2013();
  bool RunStatus2016();
  bool RunCommand(const std::wstring& command_line);

  StatusForm& form_;
};

}  // namespace brisvane
