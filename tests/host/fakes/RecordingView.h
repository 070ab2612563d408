#pragma once

#include <map>
#include <string>
#include <vector>

#include "ui/WizardView.h"
#include "ui/resources/ResourceIds.h"

namespace quorvel::test {

// The dialog as the pages see it, with a log of what was done to it in order. Texts of the
// string table come back as "[id]", so a test sees which one was used.
class RecordingView : public WizardView {
  public:
    std::string LoadText(int stringId) override { return "[" + std::to_string(stringId) + "]"; }
    void SetText(int id, const std::string& text) override {
        log.push_back("text " + std::to_string(id) + "=" + text);
        texts[id] = text;
    }
    void EnableControl(int id, bool enable) override {
        log.push_back((enable ? "enable " : "disable ") + std::to_string(id));
    }
    void ShowControl(int id, bool show) override {
        log.push_back((show ? "show " : "hide ") + std::to_string(id));
    }
    void UseTitleFont(int id) override { log.push_back("title font " + std::to_string(id)); }
    int CheckedRadio(int first, int last) override {
        return checked >= first && checked <= last ? checked : 0;
    }
    void PaintNow() override { log.push_back("paint"); }
    bool AskYesNo(const std::string& text, const std::string& caption) override {
        log.push_back("ask " + caption + ": " + text);
        return false;
    }
    void CloseWithOk() override { log.push_back("close"); }
    bool QuitRequested() override { return false; }

    // As the dialog template leaves them.
    std::map<int, std::string> texts = {{IDC_NEXT_BUTTON, "&Next"},
                                        {IDC_CANCEL_BUTTON, "&Cancel"},
                                        {IDC_FIRST_CHOICE, "CD-ROM To Diag"},
                                        {IDC_SECOND_CHOICE, "Diag To CD-ROM"}};
    int checked = IDC_FIRST_CHOICE;  // 0: neither radio
    std::vector<std::string> log;
};

}  // namespace quorvel::test
