// The status run end to end: stand-in licensing scripts at the probed paths,
// run by Wine's own cscript, and the pane's final text.
#include <gtest/gtest.h>

#include "harness.h"

using namespace e2e;

namespace {
const std::wstring kMsg13 = L"Microsoft Office 2013 not found!";
const std::wstring kMsg16 = L"Microsoft Office 2016 not found!";
// cscript ends each echo with CR LF and prints no banner under Wine.
const std::string kScript2013 =
    "WScript.Echo \"Office 2013 status\"\r\nWScript.Echo \"Last 5 characters of installed product "
    "key: AB123\"\r\n";
const std::wstring kOut2013 =
    L"Office 2013 status\r\nLast 5 characters of installed product key: AB123\r\n";
const std::string kScript2016 =
    "WScript.Echo \"Office 2016 status\"\r\nWScript.Echo \"Last 5 characters of installed product "
    "key: XY789\"\r\n";
const std::wstring kOut2016 =
    L"Office 2016 status\r\nLast 5 characters of installed product key: XY789\r\n";

class StatusRunE2E : public ::testing::Test {
 protected:
  void SetUp() override { ClearOffice(); }
  void TearDown() override { ClearOffice(); }

  // Waits for the expected text, then for the hourglass run to be over
  // (the program keeps nothing else to tell us by).
  void Expect(const std::wstring& want) {
    Program app;
    ASSERT_TRUE(app.MainWindow()) << app.Describe();
    bool ok = WaitFor([&] { return app.StatusText() == want; }, 60000);
    EXPECT_TRUE(ok) << "pane: [" << std::string(app.StatusText().begin(), app.StatusText().end())
                    << "]";
    app.Command(kMenuExit);
    EXPECT_TRUE(app.WaitExit());
  }
};
}  // namespace

TEST_F(StatusRunE2E, BothFound2016OutputStandsAhead) {
  WriteFile(kScript15, kScript2013);
  WriteFile(kScript16x86, kScript2016);
  Expect(kOut2016 + kOut2013);
}

TEST_F(StatusRunE2E, Only2013Found) {
  WriteFile(kScript15x86, kScript2013);
  Expect(kOut2013 + L"\r\n" + kMsg16);
}

TEST_F(StatusRunE2E, Only2016Found) {
  WriteFile(kScript16, kScript2016);
  Expect(kOut2016 + kMsg13);
}

TEST_F(StatusRunE2E, NeitherFound) { Expect(kMsg13 + L"\r\n" + kMsg16); }

// Console output comes in the OEM code page: cp437's 0x82 is an e acute.
TEST_F(StatusRunE2E, AccentedOutputIsDecodedFromTheOemCodePage) {
  WriteFile(kScript15, "WScript.Echo \"Caf\" & Chr(233)\r\n");
  Expect(L"Caf\u00e9\r\n\r\n" + kMsg16);
}
