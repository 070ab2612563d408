// The portable INI reader and the configuration reads built on it, fed arbitrary file bytes.
// The input's first line is the card type the configuration is read for; everything after
// that line's line feed is the file. An input without a line feed is a card type and an empty
// file.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "InMemoryFiles.h"
#include "card/CardState.h"
#include "card/WizardStatus.h"
#include "config/ConfigOperations.h"
#include "config/IniDocument.h"
#include "config/IniProfile.h"
#include "config/ProfileInteger.h"
#include "config/SwitchConfig.h"

namespace {

using quorvel::CardState;
using quorvel::IniProfile;
using quorvel::test::InMemoryFiles;

constexpr char kDirectory[] = "C:\\Cards";
constexpr char kFile[] = "C:\\Cards\\Quorvel.ini";
// A name that no file can hold: names end at line ends.
constexpr char kMissingName[] = "no\nsuch";
constexpr unsigned char kGuard = 0xA5;
// Values are read whole into a buffer this size, and cut only when they are longer still.
constexpr std::size_t kWholeValueSize = 2 * quorvel::kConfigTextSize;
constexpr std::size_t kLongFile = 8192;

// A buffer of exactly the size handed over, so the sanitizer sees any write past it, and
// filled with guard bytes, so a write past the terminator shows too.
class GuardedBuffer {
  public:
    explicit GuardedBuffer(std::size_t size) : size_(size), bytes_(new char[size == 0 ? 1 : size]) {
        std::memset(bytes_.get(), kGuard, size == 0 ? 1 : size);
    }
    char* Data() { return bytes_.get(); }
    std::size_t Size() const { return size_; }
    char At(std::size_t i) const { return bytes_[i]; }
    bool Untouched(std::size_t from) const {
        for (std::size_t i = from; i < size_; ++i)
            if (static_cast<unsigned char>(bytes_[i]) != kGuard) return false;
        return true;
    }

  private:
    std::size_t size_;
    std::unique_ptr<char[]> bytes_;
};

bool IsBlank(char c) {
    return std::strchr(" \t\v\f\r\n\x1a", c) != nullptr && c != '\0';
}

std::string Trimmed(const std::string& text) {
    std::size_t start = 0;
    std::size_t end = text.size();
    while (start < end && IsBlank(text[start]))
        ++start;
    while (end > start && IsBlank(text[end - 1]))
        --end;
    return text.substr(start, end - start);
}

// The section names a file holds, from the header rules alone: a trimmed line that starts
// with "[" and has a "]" after it; the name is what lies between the "[" and the last "]",
// trimmed and cut at a zero byte. Nameless sections are not listed.
std::vector<std::string> ReferenceSectionNames(const std::string& text) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        const std::size_t close = line.rfind(']');
        if (!line.empty() && line[0] == '[' && close != std::string::npos && close > 0) {
            std::string name = Trimmed(line.substr(1, close - 1));
            name = name.substr(0, name.find('\0'));
            if (!name.empty()) names.push_back(name);
        }
        start = end + 1;
    }
    return names;
}

// The names in a section-name buffer up to the count.
std::vector<std::string> ListedNames(const char* buffer, std::size_t count) {
    std::vector<std::string> names;
    for (std::size_t at = 0; at < count;) {
        const std::string name(buffer + at);
        FUZZ_CHECK(!name.empty(), "no empty name is listed");
        names.push_back(name);
        at += name.size() + 1;
    }
    return names;
}

std::vector<std::string> CheckSectionNames(IniProfile& profile, std::size_t size) {
    GuardedBuffer buffer(size);
    const std::size_t count = profile.ReadSectionNames(buffer.Data(), size, kFile);
    if (size < 2) {
        FUZZ_CHECK(count == 0, "a buffer of fewer than two bytes lists nothing");
        FUZZ_CHECK(size == 0 || buffer.At(0) == '\0', "and is terminated");
        return {};
    }
    FUZZ_CHECK(count <= size - 2, "the count leaves room for the two terminators");
    FUZZ_CHECK(buffer.At(count) == '\0', "the list is terminated at the count");
    const bool cut = count == size - 2 && buffer.At(count + 1) == '\0';
    FUZZ_CHECK(count == 0 || buffer.At(count - 1) == '\0' || cut, "the list is double-terminated");
    FUZZ_CHECK(buffer.Untouched(count + 2), "nothing is written past the list");
    return ListedNames(buffer.Data(), count);
}

// Names listed into a small buffer are the whole list's names, the last one perhaps cut.
void CheckCutList(const std::vector<std::string>& cut, const std::vector<std::string>& whole) {
    FUZZ_CHECK(cut.size() <= whole.size(), "a small buffer lists no more names");
    for (std::size_t i = 0; i < cut.size(); ++i) {
        const bool last = i + 1 == cut.size();
        FUZZ_CHECK(last ? whole[i].compare(0, cut[i].size(), cut[i]) == 0 : cut[i] == whole[i],
                   "a small buffer lists the same names in order, only the last one cut");
    }
}

struct Read {
    std::size_t count;
    std::string text;
};

Read CheckString(IniProfile& profile, const std::string& section, const std::string& key,
                 const std::string& defaultValue, std::size_t size) {
    GuardedBuffer buffer(size);
    const std::size_t count =
        profile.ReadString(section, key, defaultValue, buffer.Data(), size, kFile);
    if (size == 0) {
        FUZZ_CHECK(count == 0, "an empty buffer takes nothing");
        return {0, ""};
    }
    FUZZ_CHECK(count < size, "a value leaves room for its terminator");
    FUZZ_CHECK(buffer.At(count) == '\0', "a value is terminated at the count");
    FUZZ_CHECK(std::strlen(buffer.Data()) == count, "a value holds no zero byte");
    FUZZ_CHECK(buffer.Untouched(count + 2), "nothing is written past the value");
    return {count, std::string(buffer.Data(), count)};
}

std::string FlipCase(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

// What the platform's integer read makes of a text, worked out with the C library for digit
// runs short enough not to wrap; 0 marks a run too long to check.
bool ReferenceInteger(const std::string& text, std::uint32_t* value) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int base = 10;
    if (i + 1 < text.size() && text[i] == '0' && std::strchr("xob", text[i + 1]) != nullptr &&
        text[i + 1] != '\0') {
        base = text[i + 1] == 'x' ? 16 : text[i + 1] == 'o' ? 8 : 2;
        i += 2;
    }
    const char* digits = "0123456789abcdefghijklmnopqrstuvwxyz";
    std::string run;
    for (; i < text.size(); ++i) {
        const char lower =
            static_cast<char>(text[i] >= 'A' && text[i] <= 'Z' ? text[i] - 'A' + 'a' : text[i]);
        const char* digit = lower == '\0' ? nullptr : std::strchr(digits, lower);
        if (digit == nullptr || digit - digits >= base) break;
        run += lower;
    }
    if (run.size() > 12) return false;
    const unsigned long long magnitude =
        run.empty() ? 0 : std::strtoull(run.c_str(), nullptr, base);
    const auto low = static_cast<std::uint32_t>(magnitude);
    *value = negative ? 0u - low : low;
    return true;
}

void CheckInteger(const std::string& text) {
    std::uint32_t expected = 0;
    if (ReferenceInteger(text, &expected)) {
        FUZZ_CHECK(quorvel::ParseProfileInteger(text) == expected,
                   "integers read as the platform reads them, wrapping at 32 bits");
    }
}

// One key read the ways the program reads it, with the rules that tie the reads together.
void CheckKey(IniProfile& profile, const std::string& section, const std::string& key,
              std::size_t smallSize) {
    const Read whole = CheckString(profile, section, key, "dflt  ", kWholeValueSize);
    const Read small = CheckString(profile, section, key, "dflt  ", smallSize);
    FUZZ_CHECK(whole.text.compare(0, small.text.size(), small.text) == 0,
               "a small buffer takes the start of the value");
    const Read other = CheckString(profile, " " + FlipCase(section) + "\t", FlipCase(key) + " ",
                                   "dflt  ", kWholeValueSize);
    FUZZ_CHECK(other.text == whole.text,
               "names match without regard to letter case and surrounding blanks");
    CheckInteger(whole.text);
}

void CheckIntegerKey(IniProfile& profile, const std::string& section, const std::string& key) {
    const Read asText = CheckString(profile, section, key, "", 30);
    const int integer = profile.ReadInt(section, key, -7, kFile);
    FUZZ_CHECK(
        integer ==
            (asText.count == 0 ? -7 : static_cast<int>(quorvel::ParseProfileInteger(asText.text))),
        "an integer is the value's first 29 characters converted, or the default");
}

void CheckMissingKey(IniProfile& profile, const std::string& section) {
    const Read missing = CheckString(profile, section, kMissingName, "dflt  ", kWholeValueSize);
    FUZZ_CHECK(missing.text == "dflt", "a missing key gives the default, trailing spaces cut");
    FUZZ_CHECK(profile.ReadInt(section, kMissingName, -7, kFile) == -7,
               "a missing key's integer is the default");
}

void CheckProfile(IniProfile& profile, const std::string& file, const std::string& cardType) {
    const std::vector<std::string> expected = ReferenceSectionNames(file);
    const std::vector<std::string> whole = CheckSectionNames(profile, file.size() + 2);
    FUZZ_CHECK(whole == expected, "every section name is listed, in file order");
    for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{2},
                             quorvel::kConfigTextSize, 3 + file.size() % 61}) {
        CheckCutList(CheckSectionNames(profile, size), whole);
    }

    // Every read parses the whole file afresh, so a long file is probed less. The loads
    // below read the card type's other keys.
    const std::size_t smallSize = 1 + file.size() % 37;
    CheckKey(profile, cardType, "CDROM_DISPLAY", smallSize);
    CheckIntegerKey(profile, cardType, "CDROM_COMMAND");
    CheckMissingKey(profile, cardType);
    if (file.size() > kLongFile) return;
    CheckKey(profile, "OTHER", "FRIENDLY_NAME", smallSize);
    CheckMissingKey(profile, kMissingName);
    // A key the file itself names, in the first section holding one.
    const quorvel::IniDocument document = quorvel::IniDocument::Parse(file);
    for (const quorvel::IniSection& section : document.Sections()) {
        if (section.keys.empty()) continue;
        CheckKey(profile, section.name, section.keys.front().name, smallSize);
        CheckIntegerKey(profile, section.name, section.keys.front().name);
        break;
    }
}

CardState StartingState(const std::string& cardType, int status) {
    CardState state;
    state.status = status;
    state.cardType = cardType;
    state.cdromValue = 12345;
    state.diagValue = 54321;
    state.portNumber = 7;
    state.configuredFriendlyName = "earlier name";
    return state;
}

// Everything LoadSwitchConfig may not touch is as it was.
bool SameExceptConfig(const CardState& a, const CardState& b) {
    return a.cardType == b.cardType && a.portNumber == b.portNumber &&
           a.silentFlag == b.silentFlag && a.silentValue == b.silentValue &&
           a.configuredFriendlyName == b.configuredFriendlyName;
}

std::string JoinedSectionNames(IniProfile& profile) {
    std::string joined;
    for (const std::string& name : CheckSectionNames(profile, quorvel::kConfigTextSize))
        joined += name;
    return joined;
}

void CheckLoadSwitchConfig(IniProfile& profile, const std::string& cardType, int startStatus,
                           bool fileThere) {
    const CardState before = StartingState(cardType, startStatus);
    CardState state = before;
    const bool loaded = quorvel::LoadSwitchConfig(state, profile);

    FUZZ_CHECK(SameExceptConfig(state, before), "loading touches only the configured fields");
    if (loaded) {
        FUZZ_CHECK(state.status == startStatus, "success leaves the status alone");
    } else {
        FUZZ_CHECK(state.status == 6 || state.status == 7 || state.status == 8 || state.status == 9,
                   "a failed load sets 6, 7, 8 or 9");
    }
    FUZZ_CHECK(fileThere || (!loaded && state.status == quorvel::kStatusConfigMissing),
               "a missing file gives 6");

    const bool numbersRead = loaded || state.status == quorvel::kStatusSwitchNumberMissing;
    if (numbersRead) {
        const int cdrom = profile.ReadInt(cardType, "CDROM_COMMAND", -1, kFile);
        const int diag = profile.ReadInt(cardType, "DIAG_COMMAND", -1, kFile);
        FUZZ_CHECK(state.cdromValue == cdrom && state.diagValue == diag,
                   "both numbers are stored once the section test passed, -1 included");
        FUZZ_CHECK(loaded == (cdrom != -1 && diag != -1), "a number of -1 fails with 9");
        FUZZ_CHECK(JoinedSectionNames(profile).find(cardType) != std::string::npos,
                   "the card type is among the joined section names");
    } else {
        FUZZ_CHECK(state.cdromValue == before.cdromValue && state.diagValue == before.diagValue,
                   "the numbers are not touched before the section test has passed");
    }
    if (!loaded && fileThere && state.status == quorvel::kStatusConfigWithoutSections) {
        FUZZ_CHECK(JoinedSectionNames(profile).empty(), "8 only for a file without sections");
    }
    if (!loaded && state.status == quorvel::kStatusCardTypeNotConfigured) {
        const std::string joined = JoinedSectionNames(profile);
        FUZZ_CHECK(!joined.empty() && joined.find(cardType) == std::string::npos,
                   "7 only for a card type outside the joined section names");
    }

    const bool labelsChanged = state.firstChoiceLabel != before.firstChoiceLabel ||
                               state.secondChoiceLabel != before.secondChoiceLabel;
    FUZZ_CHECK(state.customLabelFlag == 0 || state.customLabelFlag == 1, "the flag is 0 or 1");
    FUZZ_CHECK(!labelsChanged || state.customLabelFlag == 1,
               "labels change only with the custom-label flag set");
    if (state.customLabelFlag == 1) {
        FUZZ_CHECK(loaded, "custom labels only on success");
        const std::size_t size = quorvel::kConfigTextSize;
        FUZZ_CHECK(state.firstChoiceLabel ==
                           CheckString(profile, cardType, "CDROM_DISPLAY", "x", size).text &&
                       state.secondChoiceLabel ==
                           CheckString(profile, cardType, "DIAG_DISPLAY", "x", size).text,
                   "both labels come from the card type's section, together");
        FUZZ_CHECK(!state.firstChoiceLabel.empty() && !state.secondChoiceLabel.empty() &&
                       state.firstChoiceLabel != quorvel::kDefaultFirstChoiceLabel &&
                       state.secondChoiceLabel != quorvel::kDefaultSecondChoiceLabel,
                   "custom labels are set and differ from their defaults");
    } else if (loaded) {
        const std::size_t size = quorvel::kConfigTextSize;
        const Read first = CheckString(profile, cardType, "CDROM_DISPLAY",
                                       quorvel::kDefaultFirstChoiceLabel, size);
        const Read second = CheckString(profile, cardType, "DIAG_DISPLAY",
                                        quorvel::kDefaultSecondChoiceLabel, size);
        FUZZ_CHECK(first.count == 0 || second.count == 0 ||
                       first.text == quorvel::kDefaultFirstChoiceLabel ||
                       second.text == quorvel::kDefaultSecondChoiceLabel,
                   "usable labels are always taken");
    }
}

void CheckFriendlyName(IniProfile& profile, int startStatus, bool fileThere) {
    const CardState before = StartingState("K3000", startStatus);
    CardState state = before;
    const bool found = quorvel::ReadConfiguredFriendlyName(state, profile);
    const Read name =
        CheckString(profile, "OTHER", "FRIENDLY_NAME", "ERROR", quorvel::kConfigTextSize);
    FUZZ_CHECK(found == (fileThere && !name.text.empty() && name.text != "ERROR"),
               "a configured name is a present, non-empty value other than ERROR");
    FUZZ_CHECK(state.status == startStatus, "the configured name never touches the status");
    if (found) {
        FUZZ_CHECK(state.configuredFriendlyName == name.text, "the name is stored as read");
        state.configuredFriendlyName = before.configuredFriendlyName;
    }
    FUZZ_CHECK(state.configuredFriendlyName == before.configuredFriendlyName &&
                   state.cdromValue == before.cdromValue && state.diagValue == before.diagValue &&
                   state.customLabelFlag == before.customLabelFlag,
               "nothing else changes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t lineEnd = input.find('\n');
    const std::string cardType = input.substr(0, lineEnd);
    const std::string file = lineEnd == std::string::npos ? "" : input.substr(lineEnd + 1);
    const int startStatus = static_cast<int>(size % 10);

    CheckInteger(cardType);

    InMemoryFiles files;
    files.SetCurrentDirectory(std::string(kDirectory));
    files.AddFile(kFile, file);
    IniProfile profile(files);
    CheckProfile(profile, file, cardType);
    CheckLoadSwitchConfig(profile, cardType, startStatus, true);
    CheckFriendlyName(profile, startStatus, true);

    // The same reads without the file: the profile reads give defaults and the loads fail.
    InMemoryFiles noFile;
    noFile.SetCurrentDirectory(std::string(kDirectory));
    IniProfile noProfile(noFile);
    CheckLoadSwitchConfig(noProfile, cardType, startStatus, false);
    CheckFriendlyName(noProfile, startStatus, false);
    return 0;
}
