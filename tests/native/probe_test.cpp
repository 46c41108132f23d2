#include "app/probe.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using brisvane::FindStatusCommand;
using brisvane::OfficeVersion;

namespace {
const std::string k15a = "C:\\Program Files\\Microsoft Office\\Office15\\OSPP.VBS";
const std::string k15b = "C:\\Program Files (x86)\\Microsoft Office\\Office15\\OSPP.VBS";
const std::string k16a = "C:\\Program Files\\Microsoft Office\\Office16\\OSPP.VBS";
const std::string k16b = "C:\\Program Files (x86)\\Microsoft Office\\Office16\\OSPP.VBS";

struct Disk {
  std::set<std::string> files;
  std::vector<std::string> asked;
  brisvane::ProbeFn Probe() {
    return [this](const std::string& p) {
      asked.push_back(p);
      return files.count(p) > 0;
    };
  }
};
}  // namespace

// Every combination of the four locations, both versions decided independently.
TEST(Probe, EveryCombinationOfTheFourLocations) {
  const std::string paths[] = {k15a, k15b, k16a, k16b};
  for (int mask = 0; mask < 16; ++mask) {
    Disk disk;
    for (int i = 0; i < 4; ++i)
      if (mask & (1 << i)) disk.files.insert(paths[i]);
    std::string want13 = (mask & 1)   ? "cscript \"" + k15a + "\" /dstatus"
                         : (mask & 2) ? "cscript \"" + k15b + "\" /dstatus"
                                      : "Microsoft Office 2013 not found!";
    std::string want16 = (mask & 4)   ? "cscript \"" + k16a + "\" /dstatus"
                         : (mask & 8) ? "cscript \"" + k16b + "\" /dstatus"
                                      : "Microsoft Office 2016 not found!";
    EXPECT_EQ(FindStatusCommand(OfficeVersion::k2013, disk.Probe()), want13) << "mask " << mask;
    EXPECT_EQ(FindStatusCommand(OfficeVersion::k2016, disk.Probe()), want16) << "mask " << mask;
    // The second location is asked only when the first is missing.
    std::vector<std::string> want_asked{k15a};
    if (!(mask & 1)) want_asked.push_back(k15b);
    want_asked.push_back(k16a);
    if (!(mask & 4)) want_asked.push_back(k16b);
    EXPECT_EQ(disk.asked, want_asked) << "mask " << mask;
  }
}
