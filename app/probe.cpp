#include "app/probe.h"

namespace brisvane {

const char kNotFound2013[] = "Microsoft Office 2013 not found!";
const char kNotFound2016[] = "Microsoft Office 2016 not found!";
const char* const kScriptPaths2013[2] = {
    "C:\\Program Files\\Microsoft Office\\Office15\\OSPP.VBS",
    "C:\\Program Files (x86)\\Microsoft Office\\Office15\\OSPP.VBS"};
const char* const kScriptPaths2016[2] = {
    "C:\\Program Files\\Microsoft Office\\Office16\\OSPP.VBS",
    "C:\\Program Files (x86)\\Microsoft Office\\Office16\\OSPP.VBS"};

std::string FindStatusCommand(OfficeVersion version, const ProbeFn& probe) {
  const char* const* paths = version == OfficeVersion::k2013 ? kScriptPaths2013 : kScriptPaths2016;
  for (int i = 0; i < 2; ++i) {
    const std::string path = paths[i];
    if (probe(path)) return "cscript \"" + path + "\" /dstatus";
  }
  return version == OfficeVersion::k2013 ? kNotFound2013 : kNotFound2016;
}

}  // namespace brisvane
