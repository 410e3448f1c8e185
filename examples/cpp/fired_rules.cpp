#include <cstdio>
#include <cstdlib>
#include <exception>
#include <vector>

#include "core/io/RuleBaseReader.h"

// fired_rules FILE X1 X2 ...: the crisp output of the rule base at the inputs, and its fired rules.
int main(int argc, char* argv[]) try {
    CRuleBase ruleBase = ReadRuleBaseFile(argc > 1 ? argv[1] : "");
    std::vector<double> inputs;
    for (int i = 2; i < argc; ++i)
        inputs.push_back(std::atof(argv[i]));
    std::printf("output %g, fired rules:", ruleBase.CrispOutput(inputs));
    for (int rule = 0; rule < ruleBase.GetNumRules(); ++rule) {
        if (ruleBase.IsRuleFired(rule))
            std::printf(" %d", rule + 1);
    }
    std::printf("\n");
} catch (const std::exception& error) {  // ESyntax for a file that does not read
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
}
