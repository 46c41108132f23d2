#include "harness.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "app/probe.h"

namespace e2e {

std::wstring Wide(const char* ascii) { return std::wstring(ascii, ascii + std::strlen(ascii)); }

const std::wstring kScript15 = Wide(brisvane::kScriptPaths2013[0]);
const std::wstring kScript15x86 = Wide(brisvane::kScriptPaths2013[1]);
const std::wstring kScript16 = Wide(brisvane::kScriptPaths2016[0]);
const std::wstring kScript16x86 = Wide(brisvane::kScriptPaths2016[1]);
const std::wstring kMissing2013 = Wide(brisvane::kNotFound2013);
const std::wstring kMissing2016 = Wide(brisvane::kNotFound2016);

namespace {
std::vector<PROCESSENTRY32W> Processes() {
  std::vector<PROCESSENTRY32W> all;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W pe{};
  pe.dwSize = sizeof pe;
  for (BOOL ok = Process32FirstW(snap, &pe); ok; ok = Process32NextW(snap, &pe)) all.push_back(pe);
  CloseHandle(snap);
  return all;
}

std::string DescribeWindows(DWORD pid) {
  std::string out;
  for (HWND w : TopLevelWindows(pid)) {
    wchar_t cls[64] = L"", title[128] = L"";
    GetClassNameW(w, cls, 64);
    GetWindowTextW(w, title, 128);
    out += " [" + Printable(cls) + " \"" + Printable(title) + "\"";
    if (IsWindowVisible(w)) {
      out += " visible";
      for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        out += " | \"" + Printable(WindowText(c, 2000)) + "\"";
      }
    }
    out += "]";
  }
  return out.empty() ? " none" : out;
}

void Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}
}  // namespace

bool WaitFor(const std::function<bool()>& pred, DWORD timeout_ms) {
  DWORD start = GetTickCount();
  for (;;) {
    if (pred()) return true;
    if (GetTickCount() - start > timeout_ms) return false;
    Sleep(20);
  }
}

std::wstring ExePath() {
  const char* unix_path = std::getenv("BRISVANE_EXE");
  if (!unix_path) return L"Pellmorvaine.exe";
  std::wstring path;
  for (const char* p = unix_path; *p; ++p) path += *p == '/' ? L'\\' : static_cast<wchar_t>(*p);
  // A Unix path lives on Wine's Z: drive.
  return unix_path[0] == '/' ? L"Z:" + path : path;
}

std::wstring WindowText(HWND w, UINT timeout_ms) {
  // The program may add text between the length and the read (Wine's cscript
  // writes a line's end on its own, right after the line): a read that fills
  // the buffer is repeated with more room, so the text is never cut short.
  DWORD_PTR n = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, timeout_ms, &n))
    return L"<hung>";
  for (std::size_t room = n + 256;; room *= 2) {
    std::wstring text(room + 1, L'\0');
    DWORD_PTR got = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, timeout_ms, &got))
      return L"<hung>";
    if (got < room) {
      text.resize(got);
      return text;
    }
  }
}

std::vector<HWND> TopLevelWindows(DWORD pid) {
  struct Ctx {
    DWORD pid;
    std::vector<HWND> found;
  } ctx{pid, {}};
  EnumWindows(
      [](HWND w, LPARAM lp) -> BOOL {
        auto* c = reinterpret_cast<Ctx*>(lp);
        DWORD owner_pid = 0;
        GetWindowThreadProcessId(w, &owner_pid);
        if (owner_pid == c->pid) c->found.push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&ctx));
  return ctx.found;
}

std::vector<HWND> VisibleWindows(DWORD pid, const std::wstring& caption, const wchar_t* cls) {
  std::vector<HWND> found;
  for (HWND w : TopLevelWindows(pid)) {
    // Read without a message: a program stuck in a read still has its caption.
    wchar_t text[256] = L"", name[64] = L"";
    GetWindowTextW(w, text, 256);
    GetClassNameW(w, name, 64);
    if (IsWindowVisible(w) && text == caption && (!cls || std::wcscmp(name, cls) == 0))
      found.push_back(w);
  }
  return found;
}

bool ProcessRunning(const wchar_t* exe_name) {
  for (const PROCESSENTRY32W& p : Processes())
    if (_wcsicmp(p.szExeFile, exe_name) == 0) return true;
  return false;
}

void EndProcesses(const wchar_t* exe_name) {
  for (const PROCESSENTRY32W& pe : Processes()) {
    if (_wcsicmp(pe.szExeFile, exe_name) != 0) continue;
    if (HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pe.th32ProcessID)) {
      TerminateProcess(p, 1);
      WaitForSingleObject(p, 10000);
      CloseHandle(p);
    }
  }
}

std::string Printable(const std::wstring& text, std::size_t most) {
  std::string out;
  for (wchar_t c : text.substr(0, most)) {
    out += c == L'\r' ? "\\r" : c == L'\n' ? "\\n" : std::string(1, c < 128 ? char(c) : '?');
  }
  return text.size() > most ? out + "..." : out;
}

std::string DescribeProcess(HANDLE process, DWORD pid) {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process, &code);
  if (code != STILL_ACTIVE) return "ended with exit code " + std::to_string(code);
  std::string out = "running; windows:" + DescribeWindows(pid);
  // What it started, and what those started, as far as they still run.
  const std::vector<PROCESSENTRY32W> all = Processes();
  std::vector<DWORD> parents{pid};
  for (std::size_t i = 0; i < parents.size(); ++i) {
    for (const PROCESSENTRY32W& p : all) {
      if (p.th32ParentProcessID != parents[i]) continue;
      if (std::find(parents.begin(), parents.end(), p.th32ProcessID) != parents.end()) continue;
      parents.push_back(p.th32ProcessID);
      out += "; started by " + std::to_string(parents[i]) + ": " + Printable(p.szExeFile) + " (" +
             std::to_string(p.th32ProcessID) + "), windows:" + DescribeWindows(p.th32ProcessID);
    }
  }
  return out;
}

bool Activate(HWND w, DWORD timeout_ms) {
  SetForegroundWindow(w);
  return WaitFor([&] { return GetForegroundWindow() == w; }, timeout_ms);
}

void Press(WORD vk, const std::vector<WORD>& modifiers) {
  for (WORD m : modifiers) Key(m, false);
  Key(vk, false);
  Key(vk, true);
  for (WORD m : modifiers) Key(m, true);
}

Program::Program() : Program(L"\"" + ExePath() + L"\"") {}

Program::Program(std::wstring command_line) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  if (!CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &si, &pi_)) {
    start_error_ = GetLastError();
    pi_ = {};
  }
}

Program::~Program() {
  if (!pi_.hProcess) return;
  TerminateProcess(pi_.hProcess, 1);  // fails, harmlessly, once it has ended
  WaitForSingleObject(pi_.hProcess, 10000);
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
}

HWND Program::Window(const std::wstring& caption, const wchar_t* cls, DWORD timeout_ms) {
  HWND found = nullptr;
  WaitFor(
      [&] {
        const std::vector<HWND> all = VisibleWindows(Pid(), caption, cls);
        if (!all.empty()) found = all.front();
        return found || !Running();
      },
      timeout_ms);
  return found;
}

HWND Program::MainWindow(DWORD timeout_ms) {
  if (!main_ || !IsWindow(main_)) main_ = Window(kMainCaption, nullptr, timeout_ms);
  return main_;
}

bool Program::Running() const {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Program::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (pi_.hProcess) GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

std::string Program::Describe() const {
  if (!pi_.hProcess)
    return "the program did not start (error " + std::to_string(start_error_) + ")";
  return DescribeProcess(pi_.hProcess, Pid());
}

bool Program::WaitExit(DWORD timeout_ms) {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, timeout_ms) == WAIT_OBJECT_0;
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  std::ofstream(std::filesystem::path(path), std::ios::binary) << bytes;
}

bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void RemoveTree(const std::wstring& path) {
  std::error_code ec;
  // Read-only, hidden or system entries would not go.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path, ec))
    SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
  std::filesystem::remove_all(path, ec);
}

OpenRecorder::OpenRecorder() {
  const std::wstring exe = ExePath();
  const std::wstring recorder = exe.substr(0, exe.find_last_of(L'\\')) + L"\\win_tests.exe";
  DeleteFileW(Record());
  // Takes the place of the machine-wide class of Wine's prefix (winebrowser).
  const wchar_t kKey[] = L"Software\\Classes\\https\\shell\\open\\command";
  if (!Exists(recorder) || RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                           nullptr, &key_, nullptr) != 0) {
    key_ = nullptr;
    return;
  }
  wchar_t old[1024] = L"";
  DWORD old_size = sizeof old;
  RegQueryValueExW(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &old_size);
  old_ = old;
  SetCommand(L"\"" + recorder + L"\" --child record_open " + Record() + L" \"%1\"");
}

void OpenRecorder::SetCommand(const std::wstring& command) {
  RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                 static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
}

OpenRecorder::~OpenRecorder() {
  if (!key_) return;
  // A command is never empty: an empty one was not there.
  if (old_.empty()) {
    RegDeleteValueW(key_, nullptr);
  } else {
    SetCommand(old_);
  }
  RegCloseKey(key_);
  DeleteFileW(Record());
}

std::string OpenRecorder::Recorded() const {
  std::ifstream in(std::filesystem::path(Record()), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void ClearOffice() {
  RemoveTree(L"C:\\Program Files\\Microsoft Office");
  RemoveTree(L"C:\\Program Files (x86)\\Microsoft Office");
}

}  // namespace e2e
