/* The one source of the program's identity: the code and the version
   record both read it, so they cannot drift apart. Plain #defines only,
   because the resource compiler reads this file too. */
#ifndef BRISVANE_IDENTITY_H
#define BRISVANE_IDENTITY_H

#define BRISVANE_PROJECT_NAME   "Project1"
#define BRISVANE_APP_TITLE      "Brisvane [Office 2013 & 2016]"
#define BRISVANE_EXE_NAME       "Pellmorvaine"
#define BRISVANE_EXE_FILE       "Pellmorvaine.exe"
#define BRISVANE_PRODUCT_NAME   "Brisvane [Office 2013 & 2016 Edition: Last 5 Digits]"
#define BRISVANE_DESCRIPTION    "Recover your last 5 digits of Microsoft Office 2013 & 2016!"
#define BRISVANE_MAKER          "Quillhaven Softworks"
#define BRISVANE_COPYRIGHT_LINE "Copyright (C) 2026 Quillhaven Softworks"
#define BRISVANE_HOME_PAGE      "https://www.example.com/"

#define BRISVANE_VERSION_MAJOR  1
#define BRISVANE_VERSION_MINOR  1
#define BRISVANE_VERSION_BUILD  0
#define BRISVANE_VERSION_PATCH  0
#define BRISVANE_VERSION_TEXT   "1.01"

#define BRISVANE_LOCALE         1033

#endif
