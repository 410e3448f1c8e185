#pragma once

#include <array>
#include <iterator>
#include <string_view>

#include "core/defuzz/DefuzzificationMethods.h"
#include "core/inference/InferenceMethods.h"
#include "core/inference/MethodRoutines.h"
#include "core/rulebase/TypeOfDescription.h"

// One method as the rulebase file, the editor and the rule base know it: the file keyword, the
// routine, a second name the reader accepts and the name the editor shows.
template <class RoutineType>
struct MethodRecord {
    std::string_view Keyword;
    RoutineType Routine;
    std::string_view ShortName;
    std::string_view DisplayName;
};

using InferenceMethodRecord = MethodRecord<InferenceRoutine>;
using DefuzzificationMethodRecord = MethodRecord<DefuzzificationRoutine>;

// Every inference method: what the reader and the writer know.
inline constexpr std::array<InferenceMethodRecord, 8> InferenceMethodTable = {{
    {"Fuzzy_Approximation-logical", LLogInfCrisp, "LLogInfCrisp", "Fuzzy Approximation (CNF)"},
    {"Logical_Deduction", LLogInfPreCrisp, "LLogInfPreCrisp", "Perception-based Logical Deduction"},
    {"LLogInfFuz", LLogInfFuz, "LLogInfFuz", "LLogInfFuz"},
    {"Fuzzy_Approximation-functional", LZadInfCrisp, "LZadInfCrisp",
     "Fuzzy Approximation (DNF) with Minimum"},
    {"Fuzzy_Approximation-func_prod", LZadInfCrispProd, "LZadInfCrispProd",
     "Fuzzy Approximation (DNF) with Product"},
    {"Fuzzy_Approximation-func_luk", LZadInfCrispLuk, "LZadInfCrispLuk",
     "Fuzzy Approximation (DNF) with Lukasiewicz"},
    {"LZadInfFuz", LZadInfFuz, "LZadInfFuz", "LZadInfFuz"},
    {"Takagi-Sugeno Inference", LLinCInfCrisp, "LLinCInfCrisp", "Takagi-Sugeno Inference"},
}};

// The methods the editor offers: rows 0-4 for linguistic rule bases, row 5 for singleton ones.
inline constexpr std::array<InferenceMethodRecord, 6> CrispInferenceMethodTable = {{
    InferenceMethodTable[1],
    InferenceMethodTable[0],
    InferenceMethodTable[3],
    InferenceMethodTable[4],
    InferenceMethodTable[5],
    InferenceMethodTable[7],
}};

inline constexpr std::array<DefuzzificationMethodRecord, 6> DefuzzificationMethodTable = {{
    {"SimpleCenterOfGravity", SimpleCOG, "SimpleCOG", "Simple Center Of Gravity (COG)"},
    {"ModifiedCenterOfGravity", ModCOG, "ModCOG", "Modified Center Of Gravity"},
    {"SimpDefuzzLingExpression", SimpDefuzzLingExpression, "SimpDefuzzLingExpression",
     "Simple Defuzzification of Linguistic Expressions (DEE)"},
    {"DefuzzLingExpression", DefuzTAVO, "DefuzTAVO", "Defuzzification of Linguistic Expressions"},
    {"MeanOfMaxima", MOM, "MOM", "Mean Of Maxima (MOM)"},
    {"Smooth Deffuz Ling Expr", SmoothDeffuzLingExpr, "SmoothDeffuzLingExpr",
     "Smooth Deffuzification of Linguistic Expressions"},
}};

// The first row of a table whose keyword, or else whose short name, begins the text (which may
// go on after it); null when none does.
template <class Table>
auto FindMethodByName(const Table& table, std::string_view text) -> decltype(&*std::begin(table)) {
    for (const auto& row : table) {
        if (text.starts_with(row.Keyword) || text.starts_with(row.ShortName))
            return &row;
    }
    return nullptr;
}

// The first row of a table that holds the routine; null when none does.
template <class Table, class RoutineType>
auto FindMethodByRoutine(const Table& table, RoutineType routine) -> decltype(&*std::begin(table)) {
    for (const auto& row : table) {
        if (row.Routine == routine)
            return &row;
    }
    return nullptr;
}

// The methods of a new rule base of a kind: "Logical_Deduction" for a linguistic one, the
// Takagi-Sugeno method otherwise; "SimpDefuzzLingExpression" for all.
inline InferenceRoutine DefaultInferenceMethod(TypeOfDescription kind) {
    return kind == TypeOfDescription::kLinguistic ? CrispInferenceMethodTable[0].Routine
                                                  : CrispInferenceMethodTable[5].Routine;
}
inline DefuzzificationRoutine DefaultDefuzzificationMethod() {
    return DefuzzificationMethodTable[2].Routine;
}
