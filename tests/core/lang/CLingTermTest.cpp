#include "core/lang/CLingTerm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CLingTerm Term(int kind, int hedge, int sign = 0) {
    CLingTerm term(kind, hedge, 0.0, 0.0);
    term.sign = sign;
    return term;
}

std::string Text(const CLingTerm& term, int* result = nullptr) {
    std::string text;
    const int r = term.GetText(text);
    if (result)
        *result = r;
    return text;
}

TEST(CLingTermText, ShortFormsWithSignAndHedge) {
    EXPECT_EQ(Text(Term(0, 2, -1)), "-ve sm");
    EXPECT_EQ(Text(Term(0, -1, 1)), "sm");  // an explicit "+" prints nothing
    EXPECT_EQ(Text(Term(3, 8)), "no ze");
    EXPECT_EQ(Text(Term(-2, -1)), "undef");
    EXPECT_EQ(Text(Term(1, 7)), "vr me");

    int result = 0;
    EXPECT_EQ(Text(Term(CLingTerm::kUserTerm, -1), &result), "N/A");
    EXPECT_EQ(result, -1);
    EXPECT_EQ(Text(Term(0, 12), &result), "N/A sm");
    EXPECT_EQ(result, -1);
}

TEST(CLingTermOrder, NonNegativeAxisRunsFromExtremelySmallToZero) {
    // ex sm, si sm, ve sm, sm, ra sm, ml sm, ro sm, qr sm, vr sm, medium..., vr bi ... ex bi, ze
    std::vector<CLingTerm> axis;
    for (int hedge : {0, 1, 2, -1, 3, 4, 5, 6, 7})
        axis.push_back(Term(0, hedge));
    for (int hedge : {-1, 4, 5})
        axis.push_back(Term(1, hedge));
    for (int hedge : {7, 6, 5, 4, 3, -1, 2, 1, 0})
        axis.push_back(Term(2, hedge));
    axis.push_back(Term(3, -1));
    for (size_t i = 0; i + 1 < axis.size(); ++i) {
        EXPECT_TRUE(Precedes(axis[i], axis[i + 1])) << "at " << i;
        EXPECT_FALSE(Precedes(axis[i + 1], axis[i])) << "at " << i;
    }
}

TEST(CLingTermOrder, SignsAndNegativeKinds) {
    EXPECT_TRUE(Precedes(Term(2, -1, -1), Term(0, -1, -1)));  // -bi before -sm
    EXPECT_TRUE(Precedes(Term(3, -1, -1), Term(0, 0, 0)));    // any negative before unsigned
    EXPECT_TRUE(Precedes(Term(2, 0, 0), Term(0, 0, 1)));      // unsigned before "+"
    EXPECT_TRUE(Precedes(Term(0, -1, -1), Term(0, 2, -1)));   // -sm before -ve sm
    EXPECT_FALSE(Precedes(Term(3, -1), Term(3, -1)));         // zero never precedes its equal
}

TEST(CLingTermCompare, EqualityIgnoresUserIndexAndFactors) {
    CLingTerm a = Term(0, 2);
    CLingTerm b = Term(0, 2);
    b.userIndex = 5;
    b.d1 = 2.5;
    EXPECT_TRUE(Equals(a, b));
    EXPECT_FALSE(Equals(a, Term(0, 2, -1)));
}

TEST(CLingTermCompare, Specificity) {
    EXPECT_EQ(CompareSpecificity(Term(0, 0), Term(0, -1)), 1);     // ex sm narrower than sm
    EXPECT_EQ(CompareSpecificity(Term(2, 5), Term(2, -1)), 2);     // ro bi wider than bi
    EXPECT_EQ(CompareSpecificity(Term(0, -1), Term(2, -1)), 100);  // different kinds
    EXPECT_EQ(CompareSpecificity(Term(3, 5), Term(3, -1)), 100);   // zero compares with itself only
    EXPECT_EQ(CompareSpecificity(Term(3, -1), Term(3, -1)), 0);
    EXPECT_EQ(CompareSpecificity(Term(0, 2, -1), Term(0, 2, 1)), 100);
}

TEST(CLingTermCompare, ComplexityTable) {
    EXPECT_EQ(Complexity(Term(0, 0)), 12);
    EXPECT_EQ(Complexity(Term(0, -1)), 19);
    EXPECT_EQ(Complexity(Term(2, 8)), 50);
    EXPECT_EQ(Complexity(Term(1, 2)), -1);
    EXPECT_EQ(Complexity(Term(1, 8)), 45);
    EXPECT_EQ(Complexity(Term(3, 5)), 12);
    EXPECT_EQ(Complexity(Term(3, 8)), 60);
    EXPECT_EQ(Complexity(Term(CLingTerm::kFuzzyNumber, 3)), 8);
    EXPECT_EQ(Complexity(Term(CLingTerm::kUndef, -1)), 35);
    EXPECT_EQ(Complexity(Term(CLingTerm::kNotParsed, -1)), -1);
}

}  // namespace
