// Drives the real Pellmorvaine.exe from another process in the same prefix:
// start it, find its windows, read them, close it, place stand-in scripts.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "res/identity.h"

namespace e2e {

constexpr wchar_t kMainCaption[] = L"" BRISVANE_MAIN_CAPTION;
constexpr wchar_t kAboutCaption[] = L"" BRISVANE_ABOUT_CAPTION;
// The main window's control and menu ids, as the program numbers them.
constexpr int kStatusId = 1;
constexpr int kMenuExit = 101, kMenuWeb = 102, kMenuAbout = 103;

std::wstring Wide(const char* ascii);
// The probed script paths and the not-found texts, as the program has them.
extern const std::wstring kScript15, kScript15x86, kScript16, kScript16x86;
extern const std::wstring kMissing2013, kMissing2016;

// Polls pred until it holds or the deadline passes.
bool WaitFor(const std::function<bool()>& pred, DWORD timeout_ms = 30000);

std::wstring ExePath();  // BRISVANE_EXE, as a Windows path
// A program stuck in a blocking call answers no message: "<hung>" then.
std::wstring WindowText(HWND w, UINT timeout_ms = 20000);
std::vector<HWND> TopLevelWindows(DWORD pid);
// Its visible ones with that caption and, unless cls is null, that class.
std::vector<HWND> VisibleWindows(DWORD pid, const std::wstring& caption,
                                 const wchar_t* cls = nullptr);
bool ProcessRunning(const wchar_t* exe_name);  // any process of that file name
void EndProcesses(const wchar_t* exe_name);    // every process of that file name
// For a failure message: the process's state, its top-level windows with their
// controls' texts, and the same for every process it started that still runs.
std::string DescribeProcess(HANDLE process, DWORD pid);
// Messages stay ASCII: line breaks are shown, other characters become '?'.
std::string Printable(const std::wstring& text, std::size_t most = 100);

class Program {
 public:
  Program();  // starts the program
  explicit Program(std::wstring command_line);
  ~Program();  // ends it if it still runs
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  DWORD Pid() const { return pi_.dwProcessId; }
  // Waits until such a window is visible (see VisibleWindows), or the process ends.
  HWND Window(const std::wstring& caption, const wchar_t* cls = nullptr, DWORD timeout_ms = 30000);
  HWND MainWindow(DWORD timeout_ms = 30000);
  HWND Control(int id) { return GetDlgItem(MainWindow(), id); }
  std::wstring StatusText() { return WindowText(Control(kStatusId)); }
  void Command(int id) { PostMessageW(MainWindow(), WM_COMMAND, id, 0); }
  bool WaitExit(DWORD timeout_ms = 30000);
  bool Running() const;
  DWORD ExitCode() const;
  // What became of the process and its windows, for a failure message.
  std::string Describe() const;

 private:
  PROCESS_INFORMATION pi_{};
  HWND main_ = nullptr;
  DWORD start_error_ = 0;
};

// Real input, as a user gives it. Wine hands keys to its active window:
// Activate makes w that window first.
bool Activate(HWND w, DWORD timeout_ms = 5000);
void Press(WORD vk, const std::vector<WORD>& modifiers = {});  // with the modifiers held

// Files in the prefix: folders are made as needed; cleanup clears attributes.
void WriteFile(const std::wstring& path, const std::string& bytes);
void RemoveTree(const std::wstring& path);
bool Exists(const std::wstring& path);

// Stands in for the shell's open action on web addresses while it lives: the
// Win32 tests' child `record_open` writes the address it was given, and a
// line end, into `Record()`. The prefix's own command comes back afterwards.
class OpenRecorder {
 public:
  OpenRecorder();
  ~OpenRecorder();
  OpenRecorder(const OpenRecorder&) = delete;
  OpenRecorder& operator=(const OpenRecorder&) = delete;

  bool Ready() const { return key_ != nullptr; }
  static const wchar_t* Record() { return L"C:\\brisvane-open.txt"; }
  std::string Recorded() const;  // what was opened so far

 private:
  void SetCommand(const std::wstring& command);
  HKEY key_ = nullptr;
  std::wstring old_;
};

// Removes every stand-in install, before and after each test that places one.
void ClearOffice();

}  // namespace e2e
