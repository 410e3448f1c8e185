#pragma once

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "core/lang/CLingTerm.h"

class CBasicSettings;
class CRuleBase;
class RulesGridModel;

// The order of a selection sort that brings each row to its place by swapping neighbours: for
// each position i, the running minimum of the rows from i on (a later row replaces it whenever
// less(later, minimum)) moves to i and the rows between keep their order. less need not be a
// strict order: the grid's comparison of expressions counts undecided pairs as less, and this
// is the order users see. order[i] is the old index of the row that ends at i.
//
// The rows move as indices, so each step costs a comparison of cached keys and a move of ints;
// the swaps of grid rows that give the same order are left out.
template <class Less>
std::vector<int> SelectionSortOrder(int count, Less less) {
    std::vector<int> order(static_cast<std::size_t>(std::max(count, 0)));
    for (int i = 0; i < count; ++i)
        order[i] = i;
    for (int i = 0; i < count; ++i) {
        int minimum = i;
        for (int j = i + 1; j < count; ++j) {
            if (less(order[j], order[minimum]))
                minimum = j;
        }
        std::rotate(order.begin() + i, order.begin() + minimum, order.begin() + minimum + 1);
    }
    return order;
}

// Whether a text is a valid cell of the sorted column.
using CellTextCheck = std::function<bool(const std::string& text)>;

// The comparison of expression texts along a variable's axis: 1 when text a comes before text
// b, 0 when after, -1 when either is no valid cell or nothing decides. Every text is checked
// and read once, when the object is made, so that a sort compares without parsing.
class ExpressionOrder {
  public:
    ExpressionOrder(const CBasicSettings& settings, const std::vector<std::string>& texts,
                    const CellTextCheck& valid);
    int Compare(int a, int b) const;

  private:
    enum class Reading { kInvalid, kThrows, kTerm, kNoTerm };
    struct Text {
        Reading reading;
        CLingTerm term;
        std::string text;
    };
    static int CompareCharacters(const std::string& a, const std::string& b);

    std::vector<Text> distinct_;
    std::vector<int> classOf_;
};

// The grid's rows sorted by one column (a variable or a check column), in the order above;
// valid says which texts of a variable column are cells. Rows keep their active flags and
// check cells; the number column stays.
void SortRulesByColumn(RulesGridModel& grid, const CRuleBase& ruleBase, int column,
                       const CellTextCheck& valid);
