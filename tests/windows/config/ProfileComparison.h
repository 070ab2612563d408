#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "config/ProfileFile.h"

namespace quorvel::test {

// Puts the same query to two profile readers and records every answer on which they differ.
// Buffers are cleared before each read, as the program clears them, and followed by guard
// bytes that neither reader may touch.
class ProfileComparison {
  public:
    ProfileComparison(ProfileFile& platform, ProfileFile& portable)
        : platform_(platform), portable_(portable) {}

    void CompareSectionNames(std::size_t size, const std::string& file);
    // Returns the platform's count, so a caller can ask again around the value's length.
    std::size_t CompareString(const std::string& section, const std::string& key,
                              const std::string& defaultValue, std::size_t size,
                              const std::string& file);
    void CompareInt(const std::string& section, const std::string& key, int defaultValue,
                    const std::string& file);

    std::size_t Queries() const { return queries_; }
    const std::vector<std::string>& Differences() const { return differences_; }

  private:
    struct Answer {
        std::size_t count;
        std::string bytes;
    };
    void Record(const std::string& query, const Answer& platform, const Answer& portable);

    ProfileFile& platform_;
    ProfileFile& portable_;
    std::size_t queries_ = 0;
    std::vector<std::string> differences_;
};

}  // namespace quorvel::test
