#include "forms/timer.h"

namespace forms {

void Timer::SetEnabled(bool on) {
  enabled_ = on && owner_;
  if (!owner_) return;
  if (enabled_) {
    SetTimer(owner_, id_, interval_, nullptr);
  } else {
    KillTimer(owner_, id_);
  }
}

}  // namespace forms
