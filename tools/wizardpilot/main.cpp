// Walks the wizard once on its own, the way a user would, and saves a screenshot of each page.
// The demo runs it when there is no display to show the wizard on.
//
//   wizardpilot <QuorvelTool.exe> <working directory> <folder for the screenshots>
//
// All three are Unix paths; the program reads Quorvel.ini from the working directory.

#include <cstdio>
#include <string>

#include "ui/resources/ResourceIds.h"
#include "winedrive/Wine.h"
#include "winedrive/WizardDriver.h"

namespace {

using quorvel::winedrive::Screenshot;
using quorvel::winedrive::UnixToWindowsPath;
using quorvel::winedrive::WizardDriver;

// The longest a page takes to come: the card may take 30 seconds to answer the switch.
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

enum class Page { kWelcome, kProgress, kResult, kClosed };

// Which page shows: the choices show on the welcome page only, and only the result page fills
// the footer.
Page CurrentPage(WizardDriver& driver) {
    if (!driver.Program().Running()) return Page::kClosed;
    if (driver.Visible(IDC_FIRST_CHOICE)) return Page::kWelcome;
    return driver.Text(IDC_FOOTER_TEXT).empty() ? Page::kProgress : Page::kResult;
}

void NoPicture(const std::string& path, const char* why) {
    std::printf("  no picture %s: %s\n", path.c_str(), why);
}

// Describes the page that shows and saves a picture of it, once the window holds still; no
// picture when the page goes by meanwhile, as it could then show the next one.
void Take(WizardDriver& driver, Page page, const char* name, const std::string& folder,
          const char* file) {
    const Screenshot shot = driver.CaptureWizard();
    const bool stayed = CurrentPage(driver) == page;
    Describe(name, driver);
    const std::string path = UnixToWindowsPath(folder + "/" + file);
    if (shot.Empty())
        NoPicture(path, "the window did not hold still for two pictures in a row");
    else if (!stayed)
        NoPicture(path, "the page went by while it was being taken");
    else if (!shot.SaveBmp(path))
        NoPicture(path, "the file could not be written");
    else
        std::printf("  saved %s\n", path.c_str());
}

// The progress page shows while the card answers the switch, which may take no time at all:
// the walker never waits for it once the result page is up.
void TakeProgressPage(WizardDriver& driver, const std::string& folder) {
    driver.WaitUntil([&] { return CurrentPage(driver) != Page::kWelcome; }, kPageTimeoutMs);
    if (CurrentPage(driver) == Page::kProgress) {
        Take(driver, Page::kProgress, "progress", folder, "2-progress.bmp");
        return;
    }
    std::printf("progress page\n");
    NoPicture(UnixToWindowsPath(folder + "/2-progress.bmp"),
              "the card had answered the switch before the page could be taken");
}

int Walk(WizardDriver& driver, const std::string& folder) {
    if (driver.WaitForWizard(kPageTimeoutMs) == nullptr) {
        std::printf("the wizard did not appear\n");
        return 1;
    }
    Take(driver, Page::kWelcome, "welcome", folder, "1-welcome.bmp");
    const bool canSwitch = driver.Text(IDC_NEXT_BUTTON) == "&Next";

    driver.Click(IDC_NEXT_BUTTON);
    if (canSwitch) {
        TakeProgressPage(driver, folder);
        if (!driver.WaitUntil([&] { return CurrentPage(driver) == Page::kResult; },
                              kPageTimeoutMs)) {
            std::printf("the result page did not appear\n");
            return 1;
        }
        Take(driver, Page::kResult, "result", folder, "3-result.bmp");
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
        std::printf("could not start %s (error %lu)\n", argv[1], GetLastError());
        return 1;
    }
    return Walk(driver, argv[3]);
}
