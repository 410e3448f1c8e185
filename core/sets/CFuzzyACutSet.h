#pragma once

#include <memory>
#include <span>
#include <string_view>
#include <vector>

#include "core/sets/CFuzzySet.h"

// A fuzzy set given by a nested sequence of alpha-cuts at increasing levels.
class CFuzzyACutSet : public CFuzzySet {
  public:
    // A one-dimensional universe [lo, hi]; levels copied, or (i + 1) / count when empty; cuts
    // copied, or cuts without boxes when empty. Throws std::invalid_argument when a non-empty
    // levels or cuts does not hold count entries.
    CFuzzyACutSet(int count, std::span<const double> levels, std::span<const CAlphaCut> cuts,
                  double lo, double hi);
    CFuzzyACutSet(const CFuzzyACutSet& other) = default;

    std::string_view GetTypeName() const override { return "alfacut"; }
    std::unique_ptr<CFuzzySet> Clone() const override;
    using CFuzzySet::Membership;
    double Membership(const double* point) const override { return MembershipAt(point, 0); }
    CAlphaCut AlphaCut(double level) const override { return CutAtLevel(level); }

    // The level of the last cut of the unbroken run of cuts, from the first, that contain the
    // point; 0 when the first does not. The flag is not used.
    virtual double MembershipAt(const double* point, int flag) const;
    // Cut i, counted from 1. Throws std::out_of_range.
    virtual CAlphaCut CutAt(int i) const;
    // The cut with the greatest level not above the given one; below the first level an empty
    // cut (one box [1, -1]).
    virtual CAlphaCut CutAtLevel(double level) const;

    int Count() const { return static_cast<int>(levels_.size()); }
    std::span<const double> Levels() const { return levels_; }

  private:
    std::vector<double> levels_;
    std::vector<CAlphaCut> cuts_;
};
