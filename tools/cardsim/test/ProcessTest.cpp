// Runs the built cardsim as the Windows tests do, on a real pseudo-terminal.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace quorvel::cardsim {
namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

class CardSimRun : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(getenv("QUORVEL_CARDSIM"), nullptr) << "run through ctest";
        char pattern[] = "/tmp/cardsim-test.XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        link_ = dir_ + "/com3";
    }
    void TearDown() override {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        std::system(("rm -rf " + dir_).c_str());
    }

    void Start(std::vector<std::string> extra, bool waitForPidFile = true) {
        std::vector<std::string> args = {
            getenv("QUORVEL_CARDSIM"), "--link",     link_,        "--transcript",
            dir_ + "/t.txt",           "--pid-file", dir_ + "/pid"};
        args.insert(args.end(), extra.begin(), extra.end());
        pid_ = fork();
        if (pid_ == 0) {
            std::vector<char*> argv;
            for (auto& arg : args)
                argv.push_back(arg.data());
            argv.push_back(nullptr);
            freopen("/dev/null", "w", stderr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        for (int i = 0; waitForPidFile && i < 500 && !Exists(dir_ + "/pid"); ++i)
            usleep(10'000);
    }

    // Waits up to `ms` for cardsim to end; its exit status, or -1.
    int WaitForExit(int ms) {
        for (int waited = 0; waited <= ms; waited += 10) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
            }
            usleep(10'000);
        }
        return -1;
    }

    int Stop() {
        kill(pid_, SIGTERM);
        return WaitForExit(2000);
    }

    // Sends a command and collects the reply until the line is quiet for `ms`; the reads are
    // counted, so a flood cannot hold it.
    std::string Exchange(const std::string& command, int ms = 300) {
        int fd = open(link_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(write(fd, command.data(), command.size()), (ssize_t)command.size());
        std::string reply;
        pollfd port{fd, POLLIN, 0};
        char buffer[256];
        for (int rounds = 0; rounds < 2000 / ms && poll(&port, 1, ms) > 0; ++rounds) {
            ssize_t got = read(fd, buffer, sizeof buffer);
            if (got <= 0)
                break;
            reply.append(buffer, got);
        }
        close(fd);
        return reply;
    }

    long CpuTicks() {
        std::istringstream stat(ReadFile("/proc/" + std::to_string(pid_) + "/stat"));
        std::string field;
        long ticks = 0;
        for (int i = 1; i <= 15 && stat >> field; ++i) {
            if (i >= 14)
                ticks += std::stol(field);
        }
        return ticks;
    }

    std::string dir_, link_;
    pid_t pid_ = -1;
};

TEST_F(CardSimRun, AnswersAcrossReopensAndCleansUpOnSigterm) {
    std::ofstream(link_) << "stale";
    Start({"--model", "K3765"});
    ASSERT_TRUE(Exists(dir_ + "/pid"));
    EXPECT_EQ(Exchange("ATE0\r"), "ATE0\r\r\nOK\r\n");
    EXPECT_EQ(Exchange("AT+CGMM\r\n"), "\r\nK3765\r\n\r\nOK\r\n");
    EXPECT_EQ(Exchange("at^u2"), "");
    EXPECT_EQ(Stop(), 0);
    EXPECT_FALSE(Exists(link_));
    EXPECT_FALSE(Exists(dir_ + "/pid"));
    EXPECT_EQ(ReadFile(dir_ + "/t.txt"), "ATE0\\r\nAT+CGMM\\r\n\\nat^u2\n");
}

TEST_F(CardSimRun, FloodNobodyReadsLeavesCardIdleAndStoppable) {
    Start({"--echo", "off", "--reply", "AT+CGMM=FLOOD"});
    Exchange("AT+CGMM\r", 50);
    usleep(300'000);
    long before = CpuTicks();
    usleep(1'000'000);
    EXPECT_LE(CpuTicks() - before, 5) << "busy while the terminal is full";
    EXPECT_EQ(Stop(), 0);
}

TEST_F(CardSimRun, BadOptionExitsWithStatusTwoAndNoLink) {
    Start({"--reply", "ATE0=MAYBE"}, false);
    EXPECT_EQ(WaitForExit(2000), 2);
    EXPECT_FALSE(Exists(link_));
}

TEST_F(CardSimRun, EndsWhenTheLinkDirectoryIsRemoved) {
    link_ = dir_ + "/prefix/com3";
    mkdir((dir_ + "/prefix").c_str(), 0700);
    Start({});
    ASSERT_TRUE(Exists(link_));
    std::system(("rm -rf " + dir_ + "/prefix").c_str());
    EXPECT_EQ(WaitForExit(3000), 0);
    EXPECT_FALSE(Exists(dir_ + "/pid"));
}

}  // namespace
}  // namespace quorvel::cardsim
