// The parts of the C++ runtime that the program supplies itself, so that the
// static link leaves out libstdc++ objects it would otherwise take whole (the
// library is not built in one section per function): together over 100 KB of
// the 32-bit program. Linked into the program only, not into the test
// programs; bench/run.sh reports the program's size.
#include <cstdarg>
#include <cstddef>
#include <cstdlib>
#include <exception>
#include <new>
#include <string>
#include <utility>

// What std::terminate calls. libstdc++'s own handler writes the exception's
// demangled type to stderr, which a GUI program does not have, and aborts;
// it brought in the demangler and MinGW's printf. Failures the program
// expects never get here: the window procedures report them in a message box
// (forms::ReportUnhandled).
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// Where the library's templates report misuse (e.g. basic_string::substr
// past the end). The library's versions construct std::out_of_range and the
// like, whose copy-on-write string members bring in a second string library.
// Same message, caught the same way: every catch in the program takes
// std::exception.
namespace {
class LibraryError : public std::exception {
 public:
  explicit LibraryError(std::string what) : what_(std::move(what)) {}
  const char* what() const noexcept override { return what_.c_str(); }

 private:
  std::string what_;
};

// The library's messages use only %s and %zu.
std::string Format(const char* format, va_list args) {
  std::string out;
  for (const char* p = format; *p; ++p) {
    if (p[0] == '%' && p[1] == 's') {
      out += va_arg(args, const char*);
      p += 1;
    } else if (p[0] == '%' && p[1] == 'z' && p[2] == 'u') {
      out += std::to_string(va_arg(args, size_t));
      p += 2;
    } else {
      out += *p;
    }
  }
  return out;
}
}  // namespace

namespace std {
void __throw_logic_error(const char* what) { throw LibraryError(what); }
void __throw_length_error(const char* what) { throw LibraryError(what); }
void __throw_out_of_range(const char* what) { throw LibraryError(what); }
void __throw_invalid_argument(const char* what) { throw LibraryError(what); }
void __throw_bad_alloc() { throw bad_alloc(); }
void __throw_bad_array_new_length() { throw bad_array_new_length(); }

void __throw_out_of_range_fmt(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string what = Format(format, args);
  va_end(args);
  throw LibraryError(std::move(what));
}
}  // namespace std
