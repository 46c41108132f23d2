#include "app/probe.h"

namespace brisvane {

const char kNotFound2013[] = "Microsoft Office 2013 not found!";
const char kNotFound2016[] = "Microsoft Office 2016 not found!";

std::string FindStatusCommand(OfficeVersion version, const ProbeFn& probe) {
  const char* office = version == OfficeVersion::k2013 ? "Office15" : "Office16";
  for (const char* root : {"C:\\Program Files", "C:\\Program Files (x86)"}) {
    std::string path = std::string(root) + "\\Microsoft Office\\" + office + "\\OSPP.VBS";
    if (probe(path)) return "cscript \"" + path + "\" /dstatus";
  }
  return version == OfficeVersion::k2013 ? kNotFound2013 : kNotFound2016;
}

}  // namespace brisvane
