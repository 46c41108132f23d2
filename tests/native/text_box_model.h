// A text box of plain text with the caret rules of the forms' text box: the
// status run's pane and the capture's target in the native tests.
#pragma once

#include <algorithm>
#include <string>

class TextBoxModel {
 public:
  const std::wstring& Text() const { return text_; }
  long SelStart() const { return sel_start_; }
  long SelLength() const { return sel_length_; }

  void SetText(const std::wstring& t) {
    text_ = t;
    sel_start_ = 0;
    sel_length_ = 0;
  }
  void SetSelStart(long pos) {
    sel_start_ = std::clamp<long>(pos, 0, static_cast<long>(text_.size()));
    sel_length_ = 0;
  }
  void Select(long start, long length) {
    sel_start_ = start;
    sel_length_ = length;
  }
  void SetSelText(const std::wstring& t) {
    text_.replace(sel_start_, sel_length_, t);
    sel_start_ += static_cast<long>(t.size());
    sel_length_ = 0;
  }

 private:
  std::wstring text_;
  long sel_start_ = 0;
  long sel_length_ = 0;
};
