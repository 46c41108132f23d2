// A call of the forms runtime that failed, and the one report of it.
#pragma once

#include <exception>
#include <string>
#include <utility>

namespace forms {

// Unwinds to the event handler, where the window procedure reports it (see
// ReportUnhandled). Not a std::runtime_error: that one links in libstdc++'s
// second, copy-on-write string library.
class Failure : public std::exception {
 public:
  explicit Failure(std::string what) : what_(std::move(what)) {}
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::string what_;
};

// Throws Failure with the call's name and GetLastError().
[[noreturn]] void Fail(const char* what);

// The application title that the report shows; set by the application.
void SetReportTitle(const wchar_t* title) noexcept;

// Tells the user in one message box and ends the program with exit code 1;
// a failure while the box shows ends it at once, with the same code. Cannot
// fail itself: it neither allocates nor throws.
[[noreturn]] void ReportUnhandled(const char* what) noexcept;

}  // namespace forms
