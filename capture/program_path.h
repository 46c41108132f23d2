// Where a command line's program is started from. Windows, given no
// application name, looks for a bare name in the program's own folder and the
// current folder first, so a planted copy there would run instead; the
// program's command lines name programs of the system folder by bare name.
#pragma once

#include <functional>
#include <string>

namespace brisvane {

// The machine's facts that the lookup reads.
struct ProgramSearch {
  std::string system_folder;                            // the Windows system folder
  std::function<bool(const std::string&)> file_exists;  // an ordinary file
};

struct ProgramLocation {
  enum class Kind {
    AsGiven,   // the name has a path: the system starts it as it is
    Found,     // a bare name, found at `path` in the system folder
    NotFound,  // a bare name that is not in the system folder, or no name at all
  };
  Kind kind;
  std::string path;
};

// The program token of a command line as Windows reads it: up to the closing
// quote when it starts with one, else up to the first blank; leading blanks
// skipped, quotes removed.
std::string ProgramToken(const std::string& command_line);

// Finds the program of command_line: a bare name, with ".exe" added when it
// has no extension, in the system folder alone.
ProgramLocation LocateProgram(const std::string& command_line, const ProgramSearch& search);

}  // namespace brisvane
