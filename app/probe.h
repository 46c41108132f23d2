// Where Office keeps its licensing script, and what each path box holds.
#pragma once

#include <functional>
#include <string>

namespace brisvane {

enum class OfficeVersion { k2013, k2016 };

extern const char kNotFound2013[];  // "Microsoft Office 2013 not found!"
extern const char kNotFound2016[];

// Where each version's licensing script may be, in the order probed.
extern const char* const kScriptPaths2013[2];
extern const char* const kScriptPaths2016[2];

// True when the path names an ordinary file (not hidden, system or folder).
using ProbeFn = std::function<bool(const std::string& path)>;

// The text for the version's path box: the command line for the first
// location found ("C:\Program Files" before "C:\Program Files (x86)"), or the
// version's not-found message. The second path is probed only if needed.
std::string FindStatusCommand(OfficeVersion version, const ProbeFn& probe);

}  // namespace brisvane
