#include <gtest/gtest.h>

#include "forms/text.h"

// A path longer than MAX_PATH comes back whole, from calls that answer a
// short buffer in either of the system's two ways: GetModuleFileName's (the
// buffer's size, the answer cut short) and GetSystemDirectory's (the size
// that would fit).
TEST(SystemText, GrowsUntilALongAnswerFits) {
  const std::wstring path = L"C:\\" + std::wstring(600, L'd') + L"\\Pellmorvaine.exe";
  for (const bool cut_short : {true, false}) {
    EXPECT_EQ(forms::SystemText<wchar_t>([&](wchar_t* buffer, unsigned long size) {
                const std::size_t n = path.copy(buffer, size - 1);
                buffer[n] = L'\0';
                return n < path.size() ? (cut_short ? size : path.size() + 1) : n;
              }),
              path);
  }
  EXPECT_EQ(forms::SystemText<wchar_t>([](wchar_t*, unsigned long) { return 0; }), L"");
}
