#pragma once

#include <string>

namespace quorvel::test {

// COM<n> of the test's prefix linked to any Unix path, as a real port is linked to its device,
// so a test can offer the program a "port" that is no terminal. Windows code cannot make such
// a link, so it is made and removed from the Unix side; it goes again with this object.
class ComPortLink {
  public:
    ComPortLink(int comNumber, const std::string& unixTarget);
    ~ComPortLink();
    ComPortLink(const ComPortLink&) = delete;
    ComPortLink& operator=(const ComPortLink&) = delete;

    bool Made() const { return made_; }

  private:
    std::string linkPath_;
    bool made_ = false;
};

}  // namespace quorvel::test
