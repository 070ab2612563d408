#pragma once

namespace quorvel {

// The application object: where the program's own logic begins once the process runs.
class CardSwitchApp {
  public:
    CardSwitchApp() = default;
    virtual ~CardSwitchApp() = default;

    // Decides the run mode from the command line and runs the wizard with it. Returns false
    // in every case: the process ends when the wizard does.
    bool Start();

    int ExitStatus() const { return exitStatus_; }

  private:
    int exitStatus_ = 0;
};

}  // namespace quorvel
