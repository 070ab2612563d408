#include "base/Trace.h"

#include <gtest/gtest.h>

#include "fakes/RecordingView.h"
#include "fakes/Rig.h"
#include "app/RunMode.h"
#include "ui/WizardPages.h"

namespace quorvel::test {
namespace {

std::string OneLine(const std::string& event) {
    RecordingTrace trace;
    TraceLine(trace) << event;
    return trace.lines.at(0);
}

// Text from the card or a file may hold any byte: it comes out as one line of plain text that
// gives every byte back, and a NUL never ends it.
TEST(TraceText, EscapesEveryByteThatIsNotPlainText) {
    // clang-format off
    const struct { const char* name; std::string bytes; const char* quoted; } cases[] = {
        {"a command", "at^u2diag=1\r", R"("at^u2diag=1\r")"},
        {"line ends", "\r\nOK\r\n", R"("\r\nOK\r\n")"},
        {"quotes and backslash", "say \"\\\"", R"("say \"\\\"")"},
        {"NUL in the middle, digit after it", std::string("K3\0" "1\tX", 6), R"("K3\0001\tX")"},
        {"high bytes and DEL", "\x80\xFF\x7F\x1B", R"("\200\377\177\033")"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Quoted(c.bytes), c.quoted);
        EXPECT_EQ(OneLine("read " + Quoted(c.bytes)),
                  std::string("QuorvelTool: read ") + c.quoted + "\n");
    }
    EXPECT_EQ(Quoted(std::wstring(L"C:\\J\u00F6rg\\x\"")), R"("C:\\J\u00F6rg\\x\"")");
}

TEST(TraceText, CutsALongLineAtItsLimit) {
    const std::string lead = kTraceLead;
    // clang-format off
    const struct { std::size_t eventLength; std::size_t lineLength; bool cut; } cases[] = {
        {kTraceLineLimit - lead.size(), kTraceLineLimit + 1, false},
        {kTraceLineLimit - lead.size() + 1, kTraceLineLimit + 4, true},
        {1023 * 4, kTraceLineLimit + 4, true},  // a label of 1023 high bytes, escaped
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.eventLength);
        const std::string line = OneLine(std::string(c.eventLength, 'x'));
        EXPECT_EQ(line.size(), c.lineLength);
        EXPECT_EQ(line.compare(0, lead.size(), lead), 0);
        EXPECT_EQ(line.substr(line.size() - 4), c.cut ? "...\n" : "xxx\n");
    }
}

// A run as the program makes one: the command line decided, then the silent switch or the
// wizard's welcome page, then the exit line.
int RunLikeTheProgram(Rig& rig, const std::vector<std::wstring>& arguments) {
    const CommandLineDecision decision = ParseCommandLine(arguments);
    TraceStart(rig.trace, "9.8.7", arguments, decision);
    if (decision.runMode.silent) {
        rig.state.silentValue = decision.runMode.value;
        return TraceExit(rig.trace, SilentRunExitStatus(rig.operations.SilentSwitch()));
    }
    RecordingView view;
    WizardPages pages(view, rig.operations, rig.state, rig.trace);
    pages.QueryCard();
    pages.ShowWelcomePage();
    return TraceExit(rig.trace, WizardRunExitStatus(decision.message, true));
}

// The lines that matter, each found in a line after the one before, and the exit line last.
TEST(TraceOfARun, TellsWhatWasTriedAndHowItEnded) {
    using Arrange = std::function<void(Rig&)>;
    const std::vector<std::wstring> silent2 = {L"QuorvelTool.exe", L"-s", L"2"};
    const std::vector<std::wstring> wizard = {L"QuorvelTool.exe"};
    const std::vector<std::wstring> rejected = {L"QuorvelTool.exe", L"-s", L"5x"};
    // clang-format off
    const struct {
        const char* name; Arrange arrange; std::vector<std::wstring> args;
        std::vector<std::string> events; int exit;
    } cases[] = {
        // name, arrange, command line, events in order, exit status
        {"silent switch", [](Rig&) {}, silent2,
         {"start, version 9.8.7, ", R"(command line, split: "QuorvelTool.exe" "-s" "2")",
          "run mode: silent, number 2", "search the Modem class",
          R"(Modem device 0: "KELTRO Datalink - 3G Modem" matches)",
          R"(registry key "0000": FriendlyName "KELTRO Datalink - 3G Modem" AttachedTo "COM7")",
          R"(opened \\.\COM7)", R"(send "ATE0\r")", R"(read 6 bytes after 0 ms: "\r\nOK\r\n")",
          R"("ATE0\r": OK after 0 ms)", "locate and verify: status 1", R"(send "at^u2diag=2\r")",
          R"("at^u2diag=2\r": OK)", "switch: status 1", R"(send "at+cfun=4\r")", "reset: status 1",
          R"(send "at+cfun=6\r")", R"("at+cfun=6\r": OK)"}, 0},
        {"card not found", [](Rig& r) { r.devices.present.clear(); }, silent2,
         {"Modem class: 0 devices, none named after the card",
          "search the Ports class for the card's UI", "Ports class: 0 devices, none gives a port",
          R"(configuration "C:\\Cards\\Quorvel.ini": found)", "OTHER FRIENDLY_NAME: none",
          "locate and verify: status 2"}, 2},
        {"ERROR after 2.5 s",
         [](Rig& r) { r.card.replies["at^u2diag=2\r"] = {{2500, "\r\nERROR\r\n"}}; }, silent2,
         {R"(send "at^u2diag=2\r")", R"(read 9 bytes after 3000 ms: "\r\nERROR\r\n")",
          R"("at^u2diag=2\r": ERROR after 3000 ms)", "switch: status 0"}, 1},
        {"modem port busy: its error, then the UI port",
         [](Rig& r) { r.card.refused = {Rig::Com(7)}; r.card.openError = 32; }, silent2,
         {R"(open \\.\COM7 failed: error 32)",
          R"-(Ports device 0: "KELTRO Datalink - 3G PC UI Interface (COM8)" matches: port 8)-",
          R"(opened \\.\COM8)", "locate and verify: status 1"}, 0},
        {"Quorvel.ini missing", [](Rig& r) { r.profile.files.clear(); }, wizard,
         {"run mode: wizard", R"(card type "K3000")",
          R"(configuration "C:\\Cards\\Quorvel.ini": missing)", "configuration: status 6",
          "page welcome, status 6: "}, 0},
        {"rejected argument", [](Rig&) {}, rejected,
         {R"(command line, split: "QuorvelTool.exe" "-s" "5x")",
          "run mode: wizard after refusing the arguments: the number after the flag is not plain",
          R"(configuration section looked for: "K3000")", "CDROM_COMMAND=1 DIAG_COMMAND=0",
          "page welcome, status 1: "}, 6},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        c.arrange(rig.CardInstalled());
        const int exit = RunLikeTheProgram(rig, c.args);
        EXPECT_EQ(exit, c.exit);
        const std::vector<std::string>& lines = rig.trace.lines;
        auto at = lines.begin();
        for (const std::string& event : c.events) {
            at = std::find_if(at, lines.end(), [&](const std::string& l) {
                return l.find(event) != std::string::npos;
            });
            ASSERT_NE(at, lines.end()) << "no line, or not in order: " << event;
            ++at;
        }
        EXPECT_EQ(lines.back(), "QuorvelTool: exit " + std::to_string(c.exit) + "\n");
        for (const std::string& line : lines)
            EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
    }
}

// A trace that fails loses its lines and changes nothing else.
TEST(TraceOfARun, FailingWritesChangeNothing) {
    Rig rig;
    rig.CardInstalled().trace.failing = true;
    EXPECT_EQ(RunLikeTheProgram(rig, {L"QuorvelTool.exe", L"-s", L"2"}), 0);
    EXPECT_EQ(rig.card.sent.size(), 4u);
}

}  // namespace
}  // namespace quorvel::test
