#include "Pty.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace quorvel::cardsim {

namespace {

std::string Failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

bool MakeRaw(int fd, std::string& error) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) {
        error = Failure("tcgetattr");
        return false;
    }
    cfmakeraw(&settings);
    cfsetispeed(&settings, B115200);
    cfsetospeed(&settings, B115200);
    if (tcsetattr(fd, TCSANOW, &settings) != 0) {
        error = Failure("tcsetattr");
        return false;
    }
    return true;
}

bool OpenMaster(int& master, std::string& error) {
    master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0) {
        error = Failure("posix_openpt");
        return false;
    }
    if (grantpt(master) != 0 || unlockpt(master) != 0) {
        error = Failure("unlockpt");
        return false;
    }
    if (fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK) != 0) {
        error = Failure("fcntl");
        return false;
    }
    return true;
}

// A terminal opened without O_NOCTTY by a session leader that has none becomes its
// controlling terminal. Wine's server is such a leader: it would take the slave, and every
// time the card goes away it would get the hang-up's SIGHUP and dump its whole object table
// into the test's output. Holding the terminal ourselves, in a session of our own, keeps it
// from anyone else. Started from an interactive shell as a group leader, setsid fails and
// the card simply goes without.
void ClaimControllingTerminal(int slave) {
    if (setsid() >= 0) ioctl(slave, TIOCSCTTY, 0);
}

}  // namespace

Pty::~Pty() {
    Close();
}

bool Pty::Open(std::string& error) {
    if (!OpenMaster(master_, error)) return false;
    char name[128] = {};
    if (ptsname_r(master_, name, sizeof name - 1) != 0) {
        error = Failure("ptsname_r");
        return false;
    }
    slavePath_ = name;
    slave_ = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) {
        error = Failure("open slave");
        return false;
    }
    ClaimControllingTerminal(slave_);
    return MakeRaw(slave_, error);
}

void Pty::Close() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
    slave_ = master_ = -1;
}

bool PlaceLink(const std::string& link, const std::string& target, std::string& error) {
    std::string temporary = link + ".cardsim-" + std::to_string(getpid());
    unlink(temporary.c_str());
    if (symlink(target.c_str(), temporary.c_str()) != 0) {
        error = Failure(("symlink " + temporary).c_str());
        return false;
    }
    if (rename(temporary.c_str(), link.c_str()) != 0) {
        error = Failure(("rename to " + link).c_str());
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
