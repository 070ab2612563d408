#pragma once

#include <string>

namespace quorvel::test {

// Wine maps the Unix root to drive Z:, so a Windows test reaches the Linux side's files
// (the simulated card's transcript, the prefix's dosdevices) through Z: paths.
std::string UnixToWindowsPath(const std::string& unixPath);

// The value of an environment variable, empty when unset.
std::string Environment(const char* name);

// The Unix path of the Wine prefix the test runs in.
std::string WinePrefix();

}  // namespace quorvel::test
