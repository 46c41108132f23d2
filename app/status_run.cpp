#include "app/status_run.h"

#include "app/probe.h"

namespace brisvane {

namespace {
std::wstring Wide(const char* ascii) {
  return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}
}  // namespace

void StatusRun::OnTimer() {
  if (form_.InSystemLoop()) return;
  form_.DisarmTimer();
  if (form_.Path2013Text() != Wide(kNotFound2013)) {
    if (!RunStatus2013()) return;
  } else {
    form_.SetStatusText(form_.Path2013Text());
  }
  if (form_.Path2016Text() != Wide(kNotFound2016)) {
    RunStatus2016();
  } else {
    std::wstring status = form_.StatusText();
    form_.SetStatusText(status + L"\r\n" + form_.Path2016Text());
  }
}

bool StatusRun::RunStatus2013() { return RunCommand(form_.Path2013Text()); }
bool StatusRun::RunStatus2016() { return RunCommand(form_.Path2016Text()); }

bool StatusRun::RunCommand(const std::wstring& command_line) {
  form_.SetScreenPointer(forms::MousePointer::kHourglass);
  CaptureEnd end = form_.Capture(command_line);
  if (end == CaptureEnd::Abandoned) {
    form_.SetScreenPointer(forms::MousePointer::kDefault);
    return false;
  }
  form_.SetStatusSelStart(0);
  form_.SetScreenPointer(forms::MousePointer::kDefault);
  return true;
}

}  // namespace brisvane
