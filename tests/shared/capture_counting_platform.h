// A platform that passes every call on and keeps account of the handles the
// capture opens (pipe ends, process, thread) and closes, so a test sees a
// handle that is left open or closed twice, with the real kernel calls under
// Wine (where the system's own handle counts answer 0) and with the fake.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "capture/capture.h"

namespace brisvane::test {

class CountingPlatform : public CapturePlatform {
 public:
  explicit CountingPlatform(CapturePlatform& inner) : inner_(inner) {}

  std::set<Handle> open;            // opened and not yet closed
  std::vector<Handle> opened;       // every handle opened, in order
  std::vector<std::string> faults;  // closes of handles not open
  Handle last_process = 0;

  // Nothing open and nothing closed that was not open.
  bool Balanced() const { return open.empty() && faults.empty(); }

  bool CreatePipe(Handle* read_end, Handle* write_end) override {
    if (!inner_.CreatePipe(read_end, write_end)) return false;
    Opened(*read_end);
    Opened(*write_end);
    return true;
  }
  bool StartChild(const std::string& command_line, const std::string* start_in, Handle std_out_err,
                  Handle* process, Handle* thread) override {
    if (!inner_.StartChild(command_line, start_in, std_out_err, process, thread)) return false;
    Opened(*process);
    Opened(*thread);
    last_process = *process;
    return true;
  }
  bool ReadFile(Handle h, char* buffer, std::uint32_t to_read, std::uint32_t* got) override {
    return inner_.ReadFile(h, buffer, to_read, got);
  }
  void CloseHandle(Handle h) override {
    if (open.erase(h) == 0) faults.push_back("closed " + std::to_string(h) + ", not open");
    inner_.CloseHandle(h);
  }

 private:
  void Opened(Handle h) {
    if (!open.insert(h).second) faults.push_back("opened " + std::to_string(h) + " twice");
    opened.push_back(h);
  }

  CapturePlatform& inner_;
};

}  // namespace brisvane::test
