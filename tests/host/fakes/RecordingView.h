#pragma once

#include <map>
#include <string>

#include "ui/WizardView.h"
#include "ui/resources/ResourceIds.h"

namespace quorvel::test {

// The dialog as the pages see it. Texts of the string table come back as "[id]", so a test
// sees which one was used.
class RecordingView : public WizardView {
  public:
    std::string LoadText(int stringId) override { return "[" + std::to_string(stringId) + "]"; }
    void SetText(int id, const std::string& text) override { texts[id] = text; }
    void EnableControl(int id, bool enable) override {
        if (enable) lastEnabled = id;
    }
    void ShowControl(int, bool) override {}
    void UseTitleFont(int) override {}
    int CheckedRadio(int first, int last) override {
        return checked >= first && checked <= last ? checked : 0;
    }
    void PaintNow() override {}
    bool AskYesNo(const std::string&, const std::string&) override { return false; }
    void CloseWithOk() override { closed = true; }
    bool QuitRequested() override { return false; }

    // As the dialog template leaves them.
    std::map<int, std::string> texts = {{IDC_NEXT_BUTTON, "&Next"},
                                        {IDC_CANCEL_BUTTON, "&Cancel"},
                                        {IDC_FIRST_CHOICE, "CD-ROM To Diag"},
                                        {IDC_SECOND_CHOICE, "Diag To CD-ROM"}};
    int checked = IDC_FIRST_CHOICE;  // 0: neither radio
    bool closed = false;
    int lastEnabled = 0;
};

}  // namespace quorvel::test
