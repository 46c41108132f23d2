// Text between the program's wide strings and the system ANSI code page.
#pragma once

#include <string>

namespace forms {

std::wstring Widen(const std::string& ansi);
std::string Narrow(const std::wstring& text);

// What a system call writes into a buffer of the given size (GetModuleFileName,
// GetSystemDirectory), asked again with more room until the answer fits;
// empty when the call fails.
template <typename Char, typename Get>
std::basic_string<Char> SystemText(Get get) {
  std::basic_string<Char> text(260, Char());
  for (;;) {
    const auto n = static_cast<std::size_t>(get(&text[0], static_cast<unsigned long>(text.size())));
    if (n == 0) return {};
    if (n < text.size()) {
      text.resize(n);
      return text;
    }
    text.resize(n + 260);
  }
}

}  // namespace forms
