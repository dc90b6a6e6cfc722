// A small dense linear system solved incrementally, for Auto Layout's equalities: equations
// are added one at a time and kept in reduced row echelon form, so each new one is known at
// once to be independent, redundant or contradictory.
#pragma once

#include <cstddef>
#include <vector>

namespace uikit {

class LinearSystem {
  public:
    explicit LinearSystem(std::size_t unknowns);
    enum class Added { Independent, Redundant, Conflict };
    // Adds sum(coefficients[i] x_i) = rhs. `preferredPivot(i)` ranks the unknowns an equation
    // should be solved for (higher first), so the ones left free are the others.
    Added add(std::vector<double> coefficients, double rhs, const std::vector<int>& preference);
    bool isDetermined(std::size_t unknown) const { return pivotRow_[unknown] >= 0; }
    // The value of a determined unknown (0 for a free one).
    double value(std::size_t unknown) const;
    std::size_t unknowns() const { return n_; }

  private:
    std::size_t n_;
    std::vector<std::vector<double>> rows_; // n_ coefficients, then the right-hand side
    std::vector<int> pivotRow_;             // per unknown: its row, or -1
    std::vector<std::size_t> pivotOf_;      // per row: its unknown
};

} // namespace uikit
