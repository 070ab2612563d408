#pragma once

#include <string>
#include <vector>

namespace quorvel {

struct IniKey {
    std::string name;
    bool hasValue = false;  // false for a line without "="
    std::string value;
};

struct IniSection {
    std::string name;
    std::vector<IniKey> keys;
};

// An INI file as the platform's profile functions see it. Lines end at any run of carriage
// returns and line feeds. Blanks (space, tab, vertical tab, form feed, Ctrl-Z) are trimmed
// around section names, key names and values. A section header is "[" up to the line's last
// "]"; anything after that is ignored. A line without "=" is a key without a value. Comment
// lines are not special: ";x=1" is a key named ";x". Names and values end at a zero byte.
class IniDocument {
  public:
    static IniDocument Parse(const std::string& text);

    // In file order. The first section is the nameless one that holds any keys written before
    // the first header; "[]" also makes a nameless section.
    const std::vector<IniSection>& Sections() const { return sections_; }

    // The key's value, looked up in the first section of that name only and there in the first
    // key of that name. Names are trimmed and compared without regard to ASCII letter case.
    // Null when the section or key is missing or the key has no value.
    const std::string* FindValue(const std::string& section, const std::string& key) const;

  private:
    void AddLine(const std::string& line);

    std::vector<IniSection> sections_;
};

}  // namespace quorvel
