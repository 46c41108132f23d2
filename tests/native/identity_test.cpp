#include "res/identity.h"

#include <gtest/gtest.h>

#include <string>

// The system's quoted texts, typed once from the design: the code, the
// resources, the scripts and the other tests take them from the identity.
TEST(Identity, TextsAreTheDesigns) {
  const struct {
    const char *got, *want;
  } texts[] = {
      {BRISVANE_APP_TITLE, "Brisvane [Office 2013 & 2016]"},
      {BRISVANE_MAIN_CAPTION, "Brisvane [Office 2013 and 2016 Edition: Last 5 Digits]"},
      {BRISVANE_TITLE_PRODUCT, "Brisvane "},
      {BRISVANE_TITLE_EDITION, "[Office 2013 and 2016 Edition: Last 5 Digits]"},
      {BRISVANE_ABOUT_CAPTION, "About"},
      {BRISVANE_ABOUT_VERSION, "1.1"},
      {BRISVANE_EXE_FILE, "Pellmorvaine.exe"},
      {BRISVANE_PRODUCT_NAME, "Brisvane [Office 2013 & 2016 Edition: Last 5 Digits]"},
      {BRISVANE_DESCRIPTION, "Recover your last 5 digits of Microsoft Office 2013 & 2016!"},
      {BRISVANE_MAKER, "Quillhaven Softworks"},
      {BRISVANE_COPYRIGHT_LINE, "Copyright (C) 2026 Quillhaven Softworks"},
      {BRISVANE_HOME_PAGE, "https://www.example.com/"},
      {BRISVANE_VERSION_TEXT, "1.01"},
      {BRISVANE_NAME_OF(BRISVANE_ICON_MAIN), "AAA"},
      {BRISVANE_NAME_OF(BRISVANE_ICON_ABOUT), "ZZZ"},
  };
  for (const auto& t : texts) EXPECT_STREQ(t.got, t.want);
  EXPECT_EQ(std::to_string(BRISVANE_VERSION_MAJOR) + "." + std::to_string(BRISVANE_VERSION_MINOR) +
                "." + std::to_string(BRISVANE_VERSION_BUILD) + "." +
                std::to_string(BRISVANE_VERSION_PATCH),
            "1.1.0.0");
}
