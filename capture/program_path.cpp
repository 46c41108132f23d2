#include "capture/program_path.h"

namespace brisvane {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::string ProgramToken(const std::string& command_line) {
  std::string::size_type i = 0;
  while (i < command_line.size() && IsBlank(command_line[i])) ++i;
  if (i < command_line.size() && command_line[i] == '"') {
    const std::string::size_type close = command_line.find('"', i + 1);
    return command_line.substr(i + 1,
                               close == std::string::npos ? std::string::npos : close - i - 1);
  }
  std::string::size_type end = i;
  while (end < command_line.size() && !IsBlank(command_line[end])) ++end;
  return command_line.substr(i, end - i);
}

ProgramLocation LocateProgram(const std::string& command_line, const ProgramSearch& search) {
  std::string name = ProgramToken(command_line);
  if (name.empty()) return {ProgramLocation::Kind::NotFound, {}};
  if (name.find_first_of("\\/:") != std::string::npos) return {ProgramLocation::Kind::AsGiven, {}};
  if (name.find('.') == std::string::npos) name += ".exe";
  if (search.system_folder.empty()) return {ProgramLocation::Kind::NotFound, {}};
  const char last = search.system_folder.back();
  const std::string candidate =
      search.system_folder + (last == '\\' || last == '/' ? "" : "\\") + name;
  if (search.file_exists(candidate)) return {ProgramLocation::Kind::Found, candidate};
  return {ProgramLocation::Kind::NotFound, {}};
}

}  // namespace brisvane
