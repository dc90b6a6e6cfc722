#include "platform/uikit/solver.h"

#include <cmath>

namespace uikit {

namespace {
// Values are points on a screen: anything this small is rounding noise.
constexpr double kEpsilon = 1e-9;
} // namespace

LinearSystem::LinearSystem(std::size_t unknowns) : n_(unknowns), pivotRow_(unknowns, -1) {}

LinearSystem::Added LinearSystem::add(std::vector<double> row, double rhs,
                                      const std::vector<int>& preference) {
    row.resize(n_ + 1, 0);
    row[n_] = rhs;
    // Eliminate the unknowns that already have rows.
    for (std::size_t r = 0; r < rows_.size(); r++) {
        double f = row[pivotOf_[r]];
        if (f == 0) continue;
        const auto& p = rows_[r];
        for (std::size_t j = 0; j <= n_; j++)
            row[j] -= f * p[j];
        row[pivotOf_[r]] = 0;
    }
    std::size_t best = n_;
    double scale = std::fabs(rhs);
    for (std::size_t j = 0; j < n_; j++) {
        double a = std::fabs(row[j]);
        scale = std::fmax(scale, a);
        if (a <= kEpsilon) continue;
        if (best == n_ || preference[j] > preference[best] ||
            (preference[j] == preference[best] && a > std::fabs(row[best])))
            best = j;
    }
    if (best == n_)
        return std::fabs(row[n_]) <= kEpsilon * std::fmax(1.0, scale) ? Added::Redundant
                                                                      : Added::Conflict;
    double inv = 1 / row[best];
    for (auto& v : row)
        v *= inv;
    row[best] = 1;
    for (auto& other : rows_) {
        double f = other[best];
        if (f == 0) continue;
        for (std::size_t j = 0; j <= n_; j++)
            other[j] -= f * row[j];
        other[best] = 0;
    }
    pivotRow_[best] = int(rows_.size());
    pivotOf_.push_back(best);
    rows_.push_back(std::move(row));
    return Added::Independent;
}

double LinearSystem::value(std::size_t unknown) const {
    int r = pivotRow_[unknown];
    if (r < 0) return 0;
    // Fully reduced: the row holds its pivot and free unknowns, which read as 0.
    return rows_[std::size_t(r)][n_];
}

} // namespace uikit
