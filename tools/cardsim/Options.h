#pragma once

#include <string>
#include <vector>

#include "Script.h"

namespace quorvel::cardsim {

struct Options {
    std::string link;
    std::string model = "K3000";
    std::string transcript;
    std::string pidFile;
    bool echo = true;  // modems start with echo on
    std::vector<Scripted<Reply>> replies;
    std::vector<Scripted<int>> delays;
    std::vector<Scripted<Split>> splits;
    std::vector<Unsolicited> unsolicited;
};

enum class ParseResult { Run, Help, Bad };

// Reads the command line into `options`; on Bad, `error` says what was wrong.
ParseResult ParseOptions(int argc, const char* const argv[], Options& options, std::string& error);

// The --help text.
const char* UsageText();

}  // namespace quorvel::cardsim
