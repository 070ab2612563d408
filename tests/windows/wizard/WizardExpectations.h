#pragma once

#include <windows.h>

#include <map>
#include <string>

namespace quorvel::test {

// The program's string table as the user must see it, written out here rather than taken
// from the program, so that a changed text is caught.
inline const std::map<int, std::string> kStringTable = {
    {104, "\r\nWelcome to KELTRO Quorvel Wizard"},
    {105, "This wizard is used for port switching.\r\n\r\nPlease press \"Next\" to continue."},
    {106, "Updating... Please wait."},
    {107, "\r\n\r\nUpdate successful!\r\nPlease reinsert your data card."},
    {108, "Please click \"&Finish\" to quit this wizard."},
    {109, "Data Card not found!\r\nPlease confirm the data card is correctly inserted!"},
    {110, "Open port failed!\r\nOther program may be using the data card!"},
    {111, "Data card not response, \r\nPlease restart your computer!"},
    {113, "\r\nThis wizard is used for port switching."},
    {114, "Unknown error!"},
    {115, "\r\n\r\nUpdate Failed!"},
    {116, "The configuration files is not existent, please check it."},
    {117, "The type of data card doesn't exist in the configuration files, please check it."},
    {118, "The configuration file has some mistake, please check it."},
    {119, "The configuration files haven't the AT command, please check it."},
};

inline std::string StringText(int id) {
    auto found = kStringTable.find(id);
    return found == kStringTable.end() ? "<no text " + std::to_string(id) + ">" : found->second;
}

inline constexpr char kNextCaption[] = "&Next";
inline constexpr char kFinishCaption[] = "&Finish";
inline constexpr char kFirstRadioText[] = "CD-ROM To Diag";
inline constexpr char kSecondRadioText[] = "Diag To CD-ROM";
inline constexpr char kConfirmText[] = "Are you sure exit!";

// The controls of the wizard.
enum WizardControl {
    kBody = 1000,
    kNext = 1001,
    kCancel = 1002,
    kPicture = 1003,
    kTitle = 1004,
    kFooter = 1005,
    kFirstRadio = 1006,
    kSecondRadio = 1007,
};

// A control of the wizard's template: class, style type (SS_ or BS_ type), style bits it must
// and must not have, and its rectangle in dialog units.
struct TemplateControl {
    int id;
    const char* className;
    DWORD type;
    DWORD mustHave;
    DWORD mustNotHave;
    int x, y, width, height;
};

// In template order, which is also the order of the live controls.
inline const TemplateControl kWizardControls[] = {
    {kBody, "Static", SS_LEFT, 0, WS_TABSTOP, 113, 86, 224, 52},
    {kPicture, "Static", SS_BITMAP, 0, WS_TABSTOP, 0, 1, 109, 209},
    {-1, "Static", SS_BLACKFRAME, SS_SUNKEN, WS_TABSTOP, 1, 212, 338, 1},
    {kNext, "Button", BS_PUSHBUTTON, WS_TABSTOP, 0, 129, 217, 50, 16},
    {kCancel, "Button", BS_PUSHBUTTON, WS_TABSTOP, 0, 233, 217, 50, 16},
    {kTitle, "Static", SS_LEFT, 0, WS_TABSTOP, 113, 13, 222, 58},
    {kFooter, "Static", SS_LEFT, 0, WS_TABSTOP, 113, 163, 224, 29},
    // A radio button gives itself the tab stop while it is checked, so the live first radio
    // carries one; the template gives neither radio a tab stop.
    {kFirstRadio, "Button", BS_AUTORADIOBUTTON, WS_GROUP, 0, 125, 159, 72, 10},
    {kSecondRadio, "Button", BS_AUTORADIOBUTTON, 0, WS_GROUP | WS_TABSTOP, 125, 179, 72, 10},
};

// The picture control takes the size of its bitmap.
inline constexpr SIZE kPictureSize = {164, 313};
// The white panel right of the picture.
inline constexpr int kWhitePanelWidth = 345;

// A configuration that knows the simulated card's default model, K3000.
inline constexpr char kK3000Config[] =
    "[K3000]\r\n"
    "CDROM_COMMAND=1\r\n"
    "DIAG_COMMAND=0\r\n";

inline const std::string kK3000Title = StringText(104) + "\r\nThe Card type is K3000";

}  // namespace quorvel::test
