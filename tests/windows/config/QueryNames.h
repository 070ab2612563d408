#pragma once

#include <string>
#include <vector>

namespace quorvel::test {

// Section and key names worth asking of an INI file, guessed from its raw lines without either
// reader's rules: the text inside brackets and before "=", with and without blanks around it,
// in other letter cases, plus the program's own names and ones that are surely missing.
struct QueryNames {
    std::vector<std::string> sections;
    std::vector<std::string> keys;
};

QueryNames NamesToAsk(const std::string& iniText);

}  // namespace quorvel::test
