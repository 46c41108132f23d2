/* The one source of the program's identity and of the texts that name it:
   the code, the version record, the scripts (tools/identity) and the tests
   all read it, so they cannot drift apart. Plain #defines of string
   literals only, because the resource compiler and the C preprocessor of
   the scripts read this file too. */
#ifndef BRISVANE_IDENTITY_H
#define BRISVANE_IDENTITY_H

#define BRISVANE_APP_TITLE      "Brisvane [Office 2013 & 2016]"
/* The main window's caption, which the about box shows as two title lines. */
#define BRISVANE_TITLE_PRODUCT  "Brisvane "
#define BRISVANE_TITLE_EDITION  "[Office 2013 and 2016 Edition: Last 5 Digits]"
#define BRISVANE_MAIN_CAPTION   BRISVANE_TITLE_PRODUCT BRISVANE_TITLE_EDITION
#define BRISVANE_ABOUT_CAPTION  "About"
/* Fixed by the about box's design, whatever the version record says. */
#define BRISVANE_ABOUT_VERSION  "1.1"

#define BRISVANE_EXE_NAME       "Pellmorvaine"
#define BRISVANE_EXE_FILE       BRISVANE_EXE_NAME ".exe"
#define BRISVANE_PRODUCT_NAME   "Brisvane [Office 2013 & 2016 Edition: Last 5 Digits]"
#define BRISVANE_DESCRIPTION    "Recover your last 5 digits of Microsoft Office 2013 & 2016!"
#define BRISVANE_MAKER          "Quillhaven Softworks"
#define BRISVANE_COPYRIGHT_LINE "Copyright (C) 2026 " BRISVANE_MAKER
#define BRISVANE_HOME_PAGE      "https://www.example.com/"

#define BRISVANE_VERSION_MAJOR  1
#define BRISVANE_VERSION_MINOR  1
#define BRISVANE_VERSION_BUILD  0
#define BRISVANE_VERSION_PATCH  0
#define BRISVANE_VERSION_TEXT   "1.01"

/* Icon groups, by resource name: the resource script names them with these
   tokens, the code loads them by BRISVANE_NAME_OF(...). */
#define BRISVANE_ICON_MAIN      AAA
#define BRISVANE_ICON_ABOUT     ZZZ
#define BRISVANE_NAME_OF_(token) #token
#define BRISVANE_NAME_OF(token) BRISVANE_NAME_OF_(token)

#endif
