#include "serial/ResponseBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace quorvel::test {
namespace {

struct AppendCase {
    const char* name;
    std::vector<std::string> pieces;
    std::string text;
};

const AppendCase kAppendCases[] = {
    {"pieces join in order", {"\r\nK3000\r\n", "\r\nOK\r\n"}, "\r\nK3000\r\n\r\nOK\r\n"},
    {"NUL bytes are dropped", {std::string("O\0K", 3)}, "OK"},
    {"exactly full", {std::string(127, 'a')}, std::string(127, 'a')},
    {"the oldest byte goes first", {std::string(127, 'a'), "OK"}, std::string(125, 'a') + "OK"},
    {"one long burst keeps its newest bytes",
     {std::string(300, 'a') + std::string(127, 'b')},
     std::string(127, 'b')},
    {"NULs in a long burst do not count",
     {std::string(127, 'a') + std::string(50, '\0')},
     std::string(127, 'a')},
};

TEST(ResponseBuffer, KeepsTheNewest127BytesTerminated) {
    for (const AppendCase& c : kAppendCases) {
        SCOPED_TRACE(c.name);
        ResponseBuffer response;
        for (const std::string& piece : c.pieces)
            response.Append(piece.data(), piece.size());
        EXPECT_EQ(std::string(response.Text()), c.text);
        EXPECT_EQ(response.Length(), c.text.size());
        EXPECT_EQ(std::strlen(response.Text()), response.Length());
    }
}

}  // namespace
}  // namespace quorvel::test
