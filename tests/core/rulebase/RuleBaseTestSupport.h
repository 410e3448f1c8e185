#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/io/RuleBaseReader.h"
#include "core/rulebase/CRuleBase.h"

namespace rulebase_test {

// One variable block of a rulebase file.
struct Variable {
    Variable(std::string name, std::string settings = "linguistic", double lo = 0.0,
             double hi = 1.0, int discretization = 301, std::string extraLines = {})
        : name(std::move(name)),
          settings(std::move(settings)),
          lo(lo),
          hi(hi),
          discretization(discretization),
          extraLines(std::move(extraLines)) {}

    std::string name;
    std::string settings;
    double lo;
    double hi;
    int discretization;
    std::string extraLines;  // user terms, lingparams, ...
};

struct Model {
    std::string kind = "linguistic";
    std::string inference = "Fuzzy_Approximation-functional";
    std::string defuzzification = "SimpleCenterOfGravity";
    std::vector<Variable> inputs;
    std::vector<Variable> outputs;
    // Rule lines as the file holds them, e.g. " \"sm\" | \"bi\"".
    std::vector<std::string> rules;
};

inline std::string BlockText(const Variable& v, bool output, int n) {
    const std::string word = output ? "SucVariable" : "AntVariable";
    std::string text =
        word + std::to_string(n) + "\n name=" + v.name + "\n settings=" + v.settings + "\n";
    if (v.settings.rfind("alias", 0) != 0) {
        text += " context=<" + std::to_string(v.lo) + "," + std::to_string(v.hi) + ">\n";
        if (v.settings == "linguistic")
            text += " discretization=" + std::to_string(v.discretization) + "\n";
    }
    text += v.extraLines;
    text += "End_" + word + std::to_string(n) + "\n\n";
    return text;
}

inline std::string FileText(const Model& m) {
    std::string text = "TypeOfDescription=" + m.kind + "\nInfMethod=" + m.inference +
                       "\nDefuzzMethod=" + m.defuzzification + "\nUseFuzzyFilter=false\n\n" +
                       "NumberOfAntecedentVariables=" + std::to_string(m.inputs.size()) +
                       "\nNumberOfSuccedentVariables=" + std::to_string(m.outputs.size()) +
                       "\nNumberOfRules=" + std::to_string(m.rules.size()) + "\n\n";
    for (std::size_t i = 0; i < m.inputs.size(); ++i)
        text += BlockText(m.inputs[i], false, static_cast<int>(i) + 1);
    for (std::size_t i = 0; i < m.outputs.size(); ++i)
        text += BlockText(m.outputs[i], true, static_cast<int>(i) + 1);
    text += "RULES\n";
    for (const std::string& rule : m.rules)
        text += rule + "\n";
    text += "END_RULES\n";
    return text;
}

inline CRuleBase Build(const Model& m) {
    return ReadRuleBaseText(FileText(m));
}

// A rule line of quoted cells: inputs, then "|", then outputs.
inline std::string RuleLine(const std::vector<std::string>& inputs,
                            const std::vector<std::string>& outputs, bool active = true) {
    std::string line = active ? "" : "#";
    for (const std::string& cell : inputs)
        line += " \"" + cell + "\"";
    line += " |";
    for (const std::string& cell : outputs)
        line += " \"" + cell + "\"";
    return line;
}

}  // namespace rulebase_test
