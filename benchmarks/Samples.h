#pragma once

#include <algorithm>
#include <vector>

namespace quorvel::bench {

// The repeated figures of one measurement. Median and minimum are both reported: the median
// for what a run typically costs, the minimum for what it costs when nothing else gets in the
// way on a shared machine.
class Samples {
  public:
    void Add(double value) { values_.push_back(value); }
    bool Empty() const { return values_.empty(); }
    std::size_t Count() const { return values_.size(); }

    double Median() const {
        if (values_.empty()) return 0;
        std::vector<double> sorted = values_;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t middle = sorted.size() / 2;
        return sorted.size() % 2 == 1 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }

    double Min() const {
        return values_.empty() ? 0 : *std::min_element(values_.begin(), values_.end());
    }

  private:
    std::vector<double> values_;
};

}  // namespace quorvel::bench
