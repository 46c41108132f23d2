// A form's timer; Enabled arms it, disarming kills it.
#pragma once

#include <windows.h>

namespace forms {

class Timer {
 public:
  Timer(UINT_PTR id, UINT interval_ms) : id_(id), interval_(interval_ms) {}
  void Attach(HWND owner) { owner_ = owner; }
  void Detach() {
    owner_ = nullptr;
    enabled_ = false;
  }
  void SetEnabled(bool on);
  bool Enabled() const { return enabled_; }
  UINT_PTR Id() const { return id_; }
  UINT Interval() const { return interval_; }

 private:
  HWND owner_ = nullptr;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_ = false;
};

}  // namespace forms
