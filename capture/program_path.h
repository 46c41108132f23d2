// Where a command line's program is started from. Windows, given no
// application name, looks for a bare name in the program's own folder and the
// current folder first, so a planted copy there would run instead.
#pragma once

#include <functional>
#include <string>

namespace brisvane {

// The machine's facts that the search reads.
struct ProgramSearch {
  std::string system_folder;                            // the Windows system folder
  std::string own_folder;                               // folder of the running program
  std::string current_folder;                           // current folder of the running program
  std::string path;                                     // the value of PATH
  std::function<bool(const std::string&)> file_exists;  // an ordinary file
};

struct ProgramLocation {
  enum class Kind {
    AsGiven,   // the name has a path: the system starts it as it is
    Found,     // a bare name, found at `path`
    NotFound,  // a bare name found nowhere allowed, or no name at all
  };
  Kind kind;
  std::string path;
};

// The program token of a command line as Windows reads it: up to the closing
// quote when it starts with one, else up to the first blank; leading blanks
// skipped, quotes removed.
std::string ProgramToken(const std::string& command_line);

// Finds the program of command_line: a bare name in the system folder, then
// in the absolute PATH folders other than the own and the current folder,
// with ".exe" added when it has no extension.
ProgramLocation LocateProgram(const std::string& command_line, const ProgramSearch& search);

}  // namespace brisvane
