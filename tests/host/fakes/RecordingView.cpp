#include "RecordingView.h"

#include "ui/resources/ResourceIds.h"

namespace quorvel::test {

RecordingView::RecordingView() {
    // As the dialog template leaves them.
    texts[IDC_NEXT_BUTTON] = "&Next";
    texts[IDC_CANCEL_BUTTON] = "&Cancel";
    texts[IDC_FIRST_CHOICE] = "CD-ROM To Diag";
    texts[IDC_SECOND_CHOICE] = "Diag To CD-ROM";
    for (int id = IDC_BODY_TEXT; id <= IDC_SECOND_CHOICE; ++id) {
        enabled[id] = true;
        visible[id] = true;
    }
    checkedRadio = IDC_FIRST_CHOICE;
}

void RecordingView::SetText(int controlId, const std::string& text) {
    texts[controlId] = text;
    log.push_back("text " + std::to_string(controlId) + "=" + text);
}

void RecordingView::EnableControl(int controlId, bool enable) {
    enabled[controlId] = enable;
    log.push_back((enable ? "enable " : "disable ") + std::to_string(controlId));
}

void RecordingView::ShowControl(int controlId, bool show) {
    visible[controlId] = show;
    log.push_back((show ? "show " : "hide ") + std::to_string(controlId));
}

void RecordingView::UseTitleFont(int controlId) {
    log.push_back("title font " + std::to_string(controlId));
}

int RecordingView::CheckedRadio(int firstId, int lastId) {
    return checkedRadio >= firstId && checkedRadio <= lastId ? checkedRadio : 0;
}

bool RecordingView::AskYesNo(const std::string& text, const std::string& caption) {
    questions.push_back(caption + ": " + text);
    return answerYes;
}

void RecordingView::CloseWithOk() {
    closed = true;
    log.push_back("close");
}

}  // namespace quorvel::test
