#include "com/Kelrun/ServerVariants.h"

#include <algorithm>
#include <iostream>
#include <stdexcept>

#include "core/defuzz/DefuzzificationMethods.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/SetOperand.h"

namespace kelrun {

namespace {

// Steps of 2w / 10: the whole width of a window in ten steps, eleven points across it.
constexpr double kSmoothGridDivisions = 10.0;
constexpr double kSmoothStepShare = 1.0;

void PrintMaxima(const CFuzzyDiscreteSet& set, int samples) {
    double maximum = 0.0;
    for (int i = 0; i < samples; ++i)
        maximum = std::max(maximum, set.Sample(i));
    int count = 0;
    int first = 0;
    int last = 0;
    for (int i = 0; i < samples; ++i) {
        if (set.Sample(i) != maximum)
            continue;
        if (count++ == 0)
            first = i;
        last = i;
    }
    std::cout << "max= " << maximum << ' ' << count << ' ' << count / 2 << ' ' << first << ' '
              << last << std::endl;
}

}  // namespace

void MOM(CRuleBase& ruleBase, std::span<SetOperand> sets, std::span<double> results) {
    ::MOM(ruleBase, sets, results);
    for (std::size_t o = 0; o < sets.size(); ++o)
        PrintMaxima(*sets[o], ruleBase.GetDiscretization(-1 - static_cast<int>(o)));
}

void SmoothDeffuzLingExpr(CRuleBase& ruleBase, std::span<SetOperand> sets,
                          std::span<double> results) {
    if (sets.size() > results.size())
        throw std::invalid_argument("one result per output set is needed");
    if (results.empty())
        return;
    results[0] = SmoothLinguisticValue(ruleBase, kSmoothGridDivisions, kSmoothStepShare);
}

RuleBaseReaderOptions ReaderOptions() {
    RuleBaseReaderOptions options;
    options.inferenceMethods = InferenceMethodTable;
    options.defuzzificationMethods = DefuzzificationMethodTable;
    options.userTermShapes = UserTermShapes;
    options.readsFilterSwitch = false;
    options.prepares = false;
    return options;
}

CRuleBase ReadRuleBase(const std::string& fileName) {
    RuleBaseReaderOptions options = ReaderOptions();
    // Prepared by the reader, a cell that does not build is named with its rule and variable.
    options.prepares = true;
    return ReadRuleBaseFile(fileName, options);
}

int DescribeValue(const CLinguisticSettings& settings, double x, CLingTerm& term, int mode) {
    return settings.DescribeValue(x, term, mode, false);
}

}  // namespace kelrun
