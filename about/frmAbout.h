// The about box: modeless, owned by the main window, one at a time. Its
// content is fixed by its design; it runs no code when it loads.
#pragma once

#include "forms/form.h"
#include "forms/raii.h"

namespace brisvane {

class AboutForm : public forms::Form, private forms::KeyPreview {
 public:
  // Control identifiers: cmdClose is IDOK so that the dialog manager's Enter
  // finds it as the default button; the labels live inside Pic1.
  enum ControlId {
    idClose = IDOK,
    idPic1 = 100,
    idTitle,
    idTitle2,
    idVersion,
    idVerJP,
    idThis,
    idCopyright,
    idLink,
  };
  static constexpr COLORREF kLineColor = RGB(128, 128, 128);
  static constexpr int kClientWidthTwips = 4920, kClientHeightTwips = 3405;

  explicit AboutForm(forms::Application& app) : forms::Form(app) {}
  ~AboutForm() override;

  // Loads the box if needed (centred on owner) and brings it to the front.
  void Show(HWND owner);

  HWND Pic1() const { return pic1_; }
  HWND cmdClose() const { return close_; }
  HCURSOR LinkPointer() const { return link_pointer_.get(); }

 private:
  struct Label;

  void CreateControls() override;
  LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreviewKeyDown(WPARAM vk, int shift) override;

  static LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void RegisterPictureClass() const;
  LRESULT OnPictureMessage(UINT msg, WPARAM wp, LPARAM lp);
  void PaintPicture(HDC dc) const;
  void DrawLabel(const DRAWITEMSTRUCT& item) const;
  void ReleaseDesign();

  void cmdClose_Click();
  void lblLink_Click();

  HWND pic1_ = nullptr;
  HWND close_ = nullptr;
  forms::UniqueFont default_font_;
  forms::UniqueFont title_font_;
  forms::UniqueFont link_font_;
  forms::UniquePen line_pen_;
  forms::UniqueIcon design_icon_;
  forms::UniqueIcon link_pointer_;
};

}  // namespace brisvane
