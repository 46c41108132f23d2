#include "capture/program_path.h"

#include <vector>

namespace brisvane {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// "C:\..." or "\\server\..."; "\dir" and "C:dir" depend on the current drive
// or folder, so they count as relative.
bool IsAbsolute(const std::string& folder) {
  if (folder.size() >= 3 && folder[1] == ':' && IsSeparator(folder[2])) return true;
  return folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1]);
}

// Folder names compare as Windows compares them: case-insensitive, either
// separator, trailing separators ignored.
std::string FolderKey(const std::string& folder) {
  std::string key;
  for (char c : folder) {
    if (IsSeparator(c)) c = '\\';
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    key += c;
  }
  while (!key.empty() && key.back() == '\\') key.pop_back();
  return key;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (!folder.empty() && IsSeparator(folder.back())) return folder + name;
  return folder + "\\" + name;
}

std::vector<std::string> PathFolders(const std::string& path) {
  std::vector<std::string> folders;
  std::string::size_type start = 0;
  while (start <= path.size()) {
    std::string::size_type end = path.find(';', start);
    if (end == std::string::npos) end = path.size();
    std::string folder;
    for (std::string::size_type i = start; i < end; ++i) {
      if (path[i] != '"') folder += path[i];
    }
    while (!folder.empty() && IsBlank(folder.back())) folder.pop_back();
    while (!folder.empty() && IsBlank(folder.front())) folder.erase(0, 1);
    folders.push_back(folder);
    start = end + 1;
  }
  return folders;
}

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

  std::vector<std::string> folders{search.system_folder};
  const std::string own = FolderKey(search.own_folder);
  const std::string current = FolderKey(search.current_folder);
  for (const std::string& folder : PathFolders(search.path)) {
    if (!IsAbsolute(folder)) continue;
    const std::string key = FolderKey(folder);
    if (key == own || key == current) continue;
    folders.push_back(folder);
  }
  for (const std::string& folder : folders) {
    if (folder.empty()) continue;
    const std::string candidate = Join(folder, name);
    if (search.file_exists(candidate)) return {ProgramLocation::Kind::Found, candidate};
  }
  return {ProgramLocation::Kind::NotFound, {}};
}

}  // namespace brisvane
