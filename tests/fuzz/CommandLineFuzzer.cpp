// The start-up decision over arbitrary argument vectors. The input is the arguments one a
// line, as UTF-8; a byte that is not part of a valid sequence becomes a lone low surrogate
// (U+DC80 to U+DCFF), so any bytes give some wide text. An empty input is no argument at all.

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "FuzzText.h"
#include "app/CommandLine.h"

namespace {

using quorvel::CommandLineDecision;
using quorvel::StartupMessage;

// Length of the valid UTF-8 sequence at `i`, with its code point; 0 when there is none.
std::size_t DecodeUtf8(std::string_view text, std::size_t i, char32_t* code) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (lead >= 0xF5) length = 0;
    if (length == 0 || i + length > text.size()) return 0;
    char32_t value = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    const char32_t smallest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *code = value;
    return length;
}

std::wstring Widen(std::string_view text) {
    std::wstring wide;
    for (std::size_t i = 0; i < text.size();) {
        char32_t code = 0;
        const std::size_t length = DecodeUtf8(text, i, &code);
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            wide += static_cast<wchar_t>(text[i++]);
        } else if (length > 0) {
            wide += static_cast<wchar_t>(code);
            i += length;
        } else {
            wide += static_cast<wchar_t>(0xDC00 + static_cast<unsigned char>(text[i++]));
        }
    }
    return wide;
}

// The conversion worked out another way: the digits as text, compared with the limits as
// text, so no arithmetic of the kind under test is involved.
int ReferenceToInt(const std::wstring& text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] != L'\0' && std::wcschr(L" \t\n\v\f\r", text[i]) != nullptr)
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    std::string digits;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        if (!(digits.empty() && text[i] == L'0')) digits += static_cast<char>(text[i]);
    }
    const std::string limit = negative ? "2147483648" : "2147483647";
    if (digits.size() > limit.size() || (digits.size() == limit.size() && digits >= limit))
        return negative ? INT_MIN : INT_MAX;
    const long long magnitude = digits.empty() ? 0 : std::stoll(digits);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

void CheckDecision(const std::vector<std::wstring>& arguments) {
    const CommandLineDecision decision = quorvel::ParseCommandLine(arguments);
    const std::size_t count = arguments.size();

    const char* text = quorvel::StartupMessageText(decision.message);
    if (decision.message == StartupMessage::kWrongArgumentCount) {
        FUZZ_CHECK(std::strcmp(text, "The number of parameter is wrong, please input again!") == 0,
                   "the wrong-count text");
    } else if (decision.message == StartupMessage::kRejectedArguments) {
        FUZZ_CHECK(std::strcmp(text, "The  parameter is wrong, please input again!") == 0,
                   "the rejection text");
    } else {
        FUZZ_CHECK(*text == '\0', "no message, no text");
    }

    if (count != 3) {
        FUZZ_CHECK(decision.runMode.silent == 0 && decision.runMode.value == -1,
                   "any count but 3 gives the default run mode");
        FUZZ_CHECK(decision.handToWizard, "any count but 3 hands the run mode over");
        FUZZ_CHECK(decision.message ==
                       (count == 1 ? StartupMessage::kNone : StartupMessage::kWrongArgumentCount),
                   "the message matches the argument count");
        return;
    }

    const bool silentSwitch = arguments[1] == L"-s" || arguments[1] == L"-S";
    const int value = ReferenceToInt(arguments[2]);
    FUZZ_CHECK(decision.runMode.silent == (silentSwitch ? 1 : 0),
               "silent only for exactly -s or -S");
    FUZZ_CHECK(decision.runMode.value == value, "the value is the second argument's number");
    const bool rejected = !silentSwitch && value < 0;
    FUZZ_CHECK(decision.handToWizard == !rejected,
               "rejected exactly when not silent and the value is negative");
    FUZZ_CHECK(
        decision.message == (rejected ? StartupMessage::kRejectedArguments : StartupMessage::kNone),
        "only a rejection shows a message among two arguments");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::vector<std::wstring> arguments;
    for (std::string_view line : quorvel::fuzz::SplitLines(input))
        arguments.push_back(Widen(line));
    if (!input.empty() && input.back() == '\n') arguments.emplace_back();

    for (const std::wstring& argument : arguments) {
        FUZZ_CHECK(quorvel::WideTextToInt(argument) == ReferenceToInt(argument),
                   "the number conversion agrees with the reference, clamped");
    }
    CheckDecision(arguments);

    // The same words as the two arguments of a silent or an interactive run.
    for (const std::wstring& argument : arguments) {
        CheckDecision({L"QuorvelTool.exe", L"-s", argument});
        CheckDecision({L"QuorvelTool.exe", argument, argument});
    }
    return 0;
}
