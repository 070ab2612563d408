#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/WizardView.h"

namespace quorvel::test {

// The dialog as the pages see it: control texts, states and the radio group, with a log of
// what was done in order. String-table texts come back as "[id]" so tests see which was used.
class RecordingView : public WizardView {
  public:
    RecordingView();

    std::string LoadText(int stringId) override { return "[" + std::to_string(stringId) + "]"; }
    void SetText(int controlId, const std::string& text) override;
    std::string GetText(int controlId) override { return texts[controlId]; }
    void EnableControl(int controlId, bool enable) override;
    void ShowControl(int controlId, bool show) override;
    void UseTitleFont(int controlId) override;
    int CheckedRadio(int firstId, int lastId) override;
    void PaintNow() override { log.push_back("paint"); }
    bool AskYesNo(const std::string& text, const std::string& caption) override;
    void CloseWithOk() override;

    std::map<int, std::string> texts;
    std::map<int, bool> enabled;
    std::map<int, bool> visible;
    int checkedRadio = 0;  // control id, 0 for none
    bool answerYes = false;
    bool closed = false;
    std::vector<std::string> questions;  // "caption: text"
    std::vector<std::string> log;
};

}  // namespace quorvel::test
