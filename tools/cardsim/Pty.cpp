#include "cardsim/Pty.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvel::cardsim {

namespace {

// Says in `error` which step failed and why; false, to be returned by the caller.
bool Failed(const std::string& what, std::string* error) {
    *error = what + ": " + std::strerror(errno);
    return false;
}

}  // namespace

Pty::~Pty() {
    Close();
}

bool Pty::Open(std::string* error) {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) return Failed("posix_openpt", error);
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) return Failed("unlockpt", error);
    if (fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK) != 0)
        return Failed("fcntl", error);
    char name[128] = {};
    if (ptsname_r(master_, name, sizeof name - 1) != 0) return Failed("ptsname_r", error);
    slavePath_ = name;
    slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) return Failed("open slave", error);
    // A terminal opened without O_NOCTTY by a session leader that has none becomes its
    // controlling terminal. Wine's server is such a leader: it would take the slave, and every
    // time the card goes away it would get the hang-up's SIGHUP and dump its whole object
    // table into the test's output. Holding the terminal ourselves, in a session of our own,
    // keeps it from anyone else. Started from an interactive shell as a group leader, setsid
    // fails and the card simply goes without.
    if (setsid() >= 0) ioctl(slave_, TIOCSCTTY, 0);
    termios settings{};
    if (tcgetattr(slave_, &settings) != 0) return Failed("tcgetattr", error);
    cfmakeraw(&settings);
    cfsetispeed(&settings, B115200);
    cfsetospeed(&settings, B115200);
    if (tcsetattr(slave_, TCSANOW, &settings) != 0) return Failed("tcsetattr", error);
    return true;
}

void Pty::Close() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
    slave_ = master_ = -1;
}

bool PlaceLink(const std::string& link, const std::string& target, std::string* error) {
    std::string temporary = link + ".cardsim-" + std::to_string(getpid());
    unlink(temporary.c_str());
    if (symlink(target.c_str(), temporary.c_str()) != 0)
        return Failed("symlink " + temporary, error);
    if (rename(temporary.c_str(), link.c_str()) != 0) {
        Failed("rename to " + link, error);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

void RemoveLinkTo(const std::string& link, const std::string& target) {
    char pointsAt[4096] = {};
    ssize_t length = readlink(link.c_str(), pointsAt, sizeof pointsAt - 1);
    if (length >= 0 && target == std::string(pointsAt, static_cast<std::size_t>(length)))
        unlink(link.c_str());
}

}  // namespace quorvel::cardsim
