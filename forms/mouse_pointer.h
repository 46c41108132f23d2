// The screen-wide mouse pointer's values, as the forms runtime numbers them.
// Free of <windows.h>: the status run sets it too.
#pragma once

namespace forms {

enum class MousePointer { kDefault = 0, kHourglass = 11 };

}  // namespace forms
