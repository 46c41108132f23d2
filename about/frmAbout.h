// The about box: modeless, owned by the main window, one at a time.
#pragma once

#include "forms/forms.h"

namespace brisvane {

class AboutForm : public forms::Form, private forms::KeyPreview {
 public:
  // Loads the box if needed (centred on owner) and brings it to the front.
  void Show(HWND owner);

 private:
  void CreateControls() override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreviewKeyDown(WPARAM vk, int shift) override;
};

extern AboutForm frmAbout;

}  // namespace brisvane
