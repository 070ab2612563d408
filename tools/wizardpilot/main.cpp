// Walks the wizard once on its own, the way a user would, and saves a screenshot of each page.
// The demo runs it when there is no display to show the wizard on.
//
//   wizardpilot <QuorvelTool.exe> <working directory> <folder for the screenshots>
//
// All three are Unix paths; the program reads Quorvel.ini from the working directory.

#include <cstdio>
#include <string>

#include "Wine.h"
#include "WizardDriver.h"
#include "ui/resources/ResourceIds.h"

namespace {

using quorvel::winedrive::Screenshot;
using quorvel::winedrive::UnixToWindowsPath;
using quorvel::winedrive::WizardDriver;

// Pages worth a picture stay up at least this long in the demo.
constexpr DWORD kPageTimeoutMs = 60000;

// A control's text on one line, its line breaks shown as " | ".
std::string OneLine(const std::string& text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\r\n") == 0) {
            if (!line.empty()) line += " | ";
            ++i;
        } else {
            line += text[i];
        }
    }
    return line;
}

void Describe(const char* page, WizardDriver& driver) {
    std::printf("%s page\n", page);
    const struct {
        const char* name;
        int id;
    } controls[] = {{"title", IDC_TITLE_TEXT},
                    {"body", IDC_BODY_TEXT},
                    {"footer", IDC_FOOTER_TEXT},
                    {"button", IDC_NEXT_BUTTON}};
    for (const auto& control : controls) {
        std::printf("  %-7s %s\n", control.name, OneLine(driver.Text(control.id)).c_str());
    }
}

bool Save(WizardDriver& driver, const std::string& folder, const char* name) {
    const std::string path = UnixToWindowsPath(folder + "/" + name);
    const Screenshot shot = driver.CaptureWizard();
    const bool saved = !shot.Empty() && shot.SaveBmp(path);
    std::printf("  %s %s\n", saved ? "saved" : "could not save", path.c_str());
    return saved;
}

bool IsProgressPage(WizardDriver& driver) {
    return !driver.Enabled(IDC_NEXT_BUTTON) && !driver.Visible(IDC_FIRST_CHOICE);
}

bool IsResultPage(WizardDriver& driver) {
    return driver.Enabled(IDC_NEXT_BUTTON) && !driver.Visible(IDC_FIRST_CHOICE);
}

int Walk(WizardDriver& driver, const std::string& folder) {
    if (driver.WaitForWizard(kPageTimeoutMs) == nullptr) {
        std::printf("the wizard did not appear\n");
        return 1;
    }
    Describe("welcome", driver);
    Save(driver, folder, "1-welcome.bmp");
    const bool canSwitch = driver.Text(IDC_NEXT_BUTTON) == "&Next";

    driver.Click(IDC_NEXT_BUTTON);
    if (canSwitch) {
        if (driver.WaitUntil([&] { return IsProgressPage(driver); }, kPageTimeoutMs)) {
            Describe("progress", driver);
            Save(driver, folder, "2-progress.bmp");
        }
        if (!driver.WaitUntil([&] { return IsResultPage(driver); }, kPageTimeoutMs)) {
            std::printf("the result page did not appear\n");
            return 1;
        }
        Describe("result", driver);
        Save(driver, folder, "3-result.bmp");
        driver.Click(IDC_NEXT_BUTTON);
    }
    if (!driver.WaitForExit(kPageTimeoutMs)) {
        std::printf("the wizard did not close\n");
        return 1;
    }
    std::printf("the wizard closed with exit status %lu\n", driver.ExitCode());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: wizardpilot <QuorvelTool.exe> <working directory> <folder>\n");
        return 2;
    }
    WizardDriver driver(argv[1]);
    if (!driver.Start({}, argv[2])) {
        std::printf("could not start %s\n", argv[1]);
        return 1;
    }
    return Walk(driver, argv[3]);
}
