#include "forms/text.h"

#include <windows.h>

namespace forms {

std::wstring Widen(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int size = static_cast<int>(ansi.size());
  const int n = MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), size, out.data(), n);
  return out;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), size, out.data(), n, nullptr, nullptr);
  return out;
}

}  // namespace forms
