#include "core/inference/MethodTables.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

template <class Table>
int RowOf(const Table& table, std::string_view text) {
    const auto* row = FindMethodByName(table, text);
    return row ? static_cast<int>(row - table.data()) : -1;
}

TEST(MethodTables, ReaderMatchesKeywordOrShortNameAndTheFirstRowWins) {
    struct Case {
        std::string_view text;
        int row;
    };
    const Case inference[] = {
        {"Fuzzy_Approximation-logical", 0},
        {"Logical_Deduction\nDefuzzMethod=MOM", 1},
        {"LLogInfPreCrisp", 1},
        {"Fuzzy_Approximation-functional", 3},
        {"Fuzzy_Approximation-func_prod", 4},
        {"Fuzzy_Approximation-func_luk", 5},
        // "LZadInfCrisp", the short name of row 3, begins both texts.
        {"LZadInfCrispLuk", 3},
        {"LZadInfCrispProd", 3},
        {"LZadInfFuz", 6},
        {"Takagi-Sugeno Inference", 7},
        {"LLinCInfCrisp", 7},
        {"Fuzzy_Approximation", -1},
        {"logical_deduction", -1},
        {"", -1},
    };
    for (const Case& c : inference)
        EXPECT_EQ(RowOf(InferenceMethodTable, c.text), c.row) << c.text;

    const Case defuzzification[] = {
        {"SimpleCenterOfGravity", 0},
        {"SimpleCOG", 0},
        {"ModCOG", 1},
        {"DefuzTAVO", 3},
        {"DefuzzLingExpression", 3},
        {"SimpDefuzzLingExpression", 2},
        {"MOM", 4},
        {"MeanOfMaxima", 4},
        {"Smooth Deffuz Ling Expr", 5},
        {"SmoothDeffuzLingExpr", 5},
        {"Smooth", -1},
    };
    for (const Case& c : defuzzification)
        EXPECT_EQ(RowOf(DefuzzificationMethodTable, c.text), c.row) << c.text;
}

TEST(MethodTables, EveryRoutineHasOneRowOfItsOwn) {
    for (const auto& row : InferenceMethodTable)
        EXPECT_EQ(FindMethodByRoutine(InferenceMethodTable, row.Routine), &row) << row.Keyword;
    for (const auto& row : DefuzzificationMethodTable)
        EXPECT_EQ(FindMethodByRoutine(DefuzzificationMethodTable, row.Routine), &row)
            << row.Keyword;
    EXPECT_EQ(FindMethodByRoutine(CrispInferenceMethodTable, &LLogInfFuz), nullptr);
}

TEST(MethodTables, TheEditorsRowsAreTheCrispMethodsOfTheFullTable) {
    const int rows[] = {1, 0, 3, 4, 5, 7};
    ASSERT_EQ(CrispInferenceMethodTable.size(), std::size(rows));
    for (std::size_t row = 0; row < std::size(rows); ++row) {
        EXPECT_EQ(CrispInferenceMethodTable[row].Keyword, InferenceMethodTable[rows[row]].Keyword);
        EXPECT_EQ(CrispInferenceMethodTable[row].Routine, InferenceMethodTable[rows[row]].Routine);
    }
}

TEST(MethodTables, Defaults) {
    EXPECT_EQ(DefaultInferenceMethod(TypeOfDescription::kLinguistic), &LLogInfPreCrisp);
    EXPECT_EQ(DefaultInferenceMethod(TypeOfDescription::kTakagiSugeno), &LLinCInfCrisp);
    EXPECT_EQ(DefaultInferenceMethod(TypeOfDescription::kSingleton), &LLinCInfCrisp);
    EXPECT_EQ(DefaultDefuzzificationMethod(), &SimpDefuzzLingExpression);
}

}  // namespace
