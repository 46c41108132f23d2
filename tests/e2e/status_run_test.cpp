// The status run end to end: stand-in licensing scripts at the probed paths,
// run by Wine's own cscript, and the pane's final text. Which texts stand
// where for each combination is checked natively; here, that real files and
// real children give them.
#include <gtest/gtest.h>

#include "harness.h"

using namespace e2e;

TEST(StatusRun, ThePaneHoldsTheOutputOfTheScriptsFoundInTheirOrder) {
  // Console output comes in the OEM code page: cp437's 0x82 is an e acute.
  // cscript ends each echo with CR LF and prints no banner under Wine.
  const std::string s13 = "WScript.Echo \"Office 2013 caf\" & Chr(233): WScript.Echo \"AB123\"\r\n";
  const std::wstring out13 = L"Office 2013 caf\u00e9\r\nAB123\r\n";
  const std::string s16 = "WScript.Echo \"Office 2016\": WScript.Echo \"XY789\"\r\n";
  const std::wstring out16 = L"Office 2016\r\nXY789\r\n";
  struct Case {
    const char* name;
    std::wstring path13, path16;  // empty: none
    std::wstring want;
  } cases[] = {
      {"both, 2016 ahead", kScript15, kScript16x86, out16 + out13},
      {"only 2013", kScript15x86, L"", out13 + L"\r\n" + kMissing2016},
      {"only 2016", L"", kScript16, out16 + kMissing2013},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ClearOffice();
    if (!c.path13.empty()) WriteFile(c.path13, s13);
    if (!c.path16.empty()) WriteFile(c.path16, s16);
    Program app;
    ASSERT_TRUE(app.MainWindow()) << app.Describe();
    std::wstring pane;
    EXPECT_TRUE(WaitFor([&] { return (pane = app.StatusText()) == c.want; }, 60000))
        << "pane: [" << Printable(pane, 999) << "]";
    app.Command(kMenuExit);
    EXPECT_TRUE(app.WaitExit());
  }
  ClearOffice();
}
