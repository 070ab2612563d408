#pragma once

#include <string>

namespace quorvel::cardsim {

// A pseudo-terminal whose slave stands in for the card's serial port. The slave is raw with
// no echo, as a real port is, and this side keeps it open as well: otherwise the master sees
// a hang-up every time the program closes its port.
class Pty {
  public:
    Pty() = default;
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    // Opens the pair; the master is non-blocking.
    bool Open(std::string* error);

    void Close();

    int Master() const { return master_; }
    const std::string& SlavePath() const { return slavePath_; }

  private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
};

// Points `link` at `target`, replacing whatever is there, in one step so a program looking for
// the port never finds a half-made link.
bool PlaceLink(const std::string& link, const std::string& target, std::string* error);

// Removes `link` only if it still points at `target`: a test may have unplugged the card
// already, and another card may have taken the name since.
void RemoveLinkTo(const std::string& link, const std::string& target);

}  // namespace quorvel::cardsim
