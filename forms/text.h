// Text between the program's wide strings and the system ANSI code page.
#pragma once

#include <string>

namespace forms {

std::wstring Widen(const std::string& ansi);
std::string Narrow(const std::wstring& text);

}  // namespace forms
