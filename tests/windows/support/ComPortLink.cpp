#include "ComPortLink.h"

#include "UnixCommand.h"
#include "WinePaths.h"

namespace quorvel::test {

ComPortLink::ComPortLink(int comNumber, const std::string& unixTarget)
    : linkPath_(WinePrefix() + "/dosdevices/com" + std::to_string(comNumber)) {
    made_ = RunShellScript("ln -sfn " + ShellQuote(unixTarget) + " " + ShellQuote(linkPath_));
}

ComPortLink::~ComPortLink() {
    if (made_) RunShellScript("rm -f " + ShellQuote(linkPath_));
}

}  // namespace quorvel::test
