#include "QueryNames.h"

#include <set>

namespace quorvel::test {

namespace {

const char* const kProgramNames[] = {"",
                                     "MISSING_NAME",
                                     "K3000",
                                     "OTHER",
                                     "CDROM_COMMAND",
                                     "DIAG_COMMAND",
                                     "CDROM_DISPLAY",
                                     "DIAG_DISPLAY",
                                     "FRIENDLY_NAME"};

std::vector<std::string> RawLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    lines.push_back(line);
    return lines;
}

std::string ChangeCase(std::string text, bool upper) {
    for (char& c : text) {
        if (upper && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (!upper && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

std::string TrimSpaces(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

void AddWithVariants(std::set<std::string>* names, const std::string& name) {
    for (const std::string& form : {name, TrimSpaces(name)}) {
        names->insert(form);
        names->insert(ChangeCase(form, true));
        names->insert(ChangeCase(form, false));
    }
}

}  // namespace

QueryNames NamesToAsk(const std::string& iniText) {
    std::set<std::string> sections;
    std::set<std::string> keys;
    for (const char* name : kProgramNames) {
        AddWithVariants(&sections, name);
        AddWithVariants(&keys, name);
    }
    for (const std::string& line : RawLines(iniText)) {
        const std::size_t open = line.find('[');
        const std::size_t close = line.rfind(']');
        if (open != std::string::npos) {
            AddWithVariants(&sections, line.substr(open + 1));
            if (close != std::string::npos && close > open)
                AddWithVariants(&sections, line.substr(open + 1, close - open - 1));
        }
        // A header line makes a poor key, and there may be many.
        if (TrimSpaces(line).rfind('[', 0) != 0 || close == std::string::npos)
            AddWithVariants(&keys, line.substr(0, line.find('=')));
    }
    return QueryNames{{sections.begin(), sections.end()}, {keys.begin(), keys.end()}};
}

}  // namespace quorvel::test
