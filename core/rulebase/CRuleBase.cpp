#include "core/rulebase/CRuleBase.h"

#include <algorithm>
#include <climits>
#include <stdexcept>
#include <unordered_map>

#include "core/defuzz/DefuzzificationMethods.h"
#include "core/ftransform/FTInferenceFilter.h"
#include "core/inference/CompiledRules.h"
#include "core/inference/CrispInference.h"
#include "core/inference/InferenceMethods.h"
#include "core/inference/InferenceScratch.h"
#include "core/inference/MethodTables.h"
#include "core/io/RuleBaseReader.h"
#include "core/lang/CLinCSettings.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzValue.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CLinCValue.h"
#include "core/rulebase/Rules.h"
#include "core/sets/SetOperand.h"
#include "core/text/ESyntax.h"

namespace {

// A cell that does not convert to a term adds nothing to its rule's complexity.
constexpr int kNoScore = INT_MIN;

}  // namespace

CRuleBase::CRuleBase()
    : inferenceMethod_(DefaultInferenceMethod(kLinguistic)),
      defuzzificationMethod_(DefaultDefuzzificationMethod()) {}

CRuleBase::CRuleBase(TypeOfDescription kind) : CRuleBase() {
    description_ = "Enter your description of the rulebase here.";
    typeOfDescription_ = kind;
    inferenceMethod_ = DefaultInferenceMethod(kind);
    AppendVariable(
        std::make_unique<CFuzzyVariable>("X", std::make_shared<CLinguisticSettings>(0.0, 1.0),
                                         kDefaultDiscretization),
        false);
    std::shared_ptr<CSettings> outputSettings;
    if (kind == kLinguistic) {
        outputSettings = std::make_shared<CLinguisticSettings>(0.0, 1.0);
    } else {
        outputSettings = std::make_shared<CLinCSettings>(0.0, 1.0);
    }
    AppendVariable(
        std::make_unique<CFuzzyVariable>("Y", std::move(outputSettings), kDefaultDiscretization),
        true);
    Rules rule;
    rule.AddRule({"ze", kind == kLinguistic ? "ze" : "0.5"});
    SetRulesFromSet(rule);
}

CRuleBase::CRuleBase(const std::string& fileName) : CRuleBase(ReadRuleBaseFile(fileName)) {}

CRuleBase::~CRuleBase() = default;
CRuleBase::CRuleBase(CRuleBase&&) noexcept = default;
CRuleBase& CRuleBase::operator=(CRuleBase&&) noexcept = default;

std::vector<std::unique_ptr<CFuzzyVariable>>& CRuleBase::ListOf(int i) {
    return i >= 0 ? antecedents_ : succedents_;
}

const CFuzzyVariable* CRuleBase::FindAt(int i) const {
    if (i >= 0)
        return i < GetNumAntVariables() ? antecedents_[i].get() : nullptr;
    const int s = -1 - i;
    return s < GetNumSucVariables() ? succedents_[s].get() : nullptr;
}

const CFuzzyVariable& CRuleBase::GetVariable(int i) const {
    const CFuzzyVariable* variable = FindAt(i);
    if (variable == nullptr)
        throw std::out_of_range("no variable has the index " + std::to_string(i));
    return *variable;
}

CFuzzyVariable& CRuleBase::GetVariable(int i) {
    return const_cast<CFuzzyVariable&>(std::as_const(*this).GetVariable(i));
}

const std::string& CRuleBase::GetVariableName(int i) const {
    return GetVariable(i).GetName();
}

CSettings& CRuleBase::GetSettings(int i) const {
    const auto& settings = GetVariable(i).GetSettings();
    if (!settings)
        throw std::logic_error("the variable has no settings");
    return *settings;
}

int CRuleBase::GetDiscretization(int i) const {
    return GetVariable(i).GetDiscretization();
}

double CRuleBase::GetLowerBound(int i) const {
    return GetSettings(i).GetLowerBound();
}

double CRuleBase::GetUpperBound(int i) const {
    return GetSettings(i).GetUpperBound();
}

int CRuleBase::FindVariable(std::string_view name) const {
    for (int s = GetNumSucVariables() - 1; s >= 0; --s) {
        if (succedents_[s]->GetName() == name)
            return -1 - s;
    }
    for (int a = 0; a < GetNumAntVariables(); ++a) {
        if (antecedents_[a]->GetName() == name)
            return a;
    }
    return kNoVariable;
}

int CRuleBase::AppendVariable(std::unique_ptr<CFuzzyVariable> variable, bool isSuccedent) {
    if (!variable)
        throw std::invalid_argument("AppendVariable needs a variable");
    const auto hasCells = [](const auto& list) {
        return std::any_of(list.begin(), list.end(),
                           [](const auto& v) { return !v->valueIndices_.empty(); });
    };
    if (hasCells(antecedents_) || hasCells(succedents_))
        throw std::logic_error("variables without cells can only be added before the rules");
    auto& list = isSuccedent ? succedents_ : antecedents_;
    list.push_back(std::move(variable));
    tablesStale_ = true;
    const int position = static_cast<int>(list.size()) - 1;
    return isSuccedent ? -1 - position : position;
}

int CRuleBase::AddAntVariable(std::unique_ptr<CFuzzyVariable> variable, int source) {
    if (!variable)
        throw std::invalid_argument("AddAntVariable needs a variable");
    const CFuzzyVariable& copied = GetVariable(source);
    const int rules = GetNumRules();
    // Taken before the new variable joins, so that rules added to an empty rule base and the
    // source's cells stay in step.
    std::vector<std::string> texts;
    texts.reserve(rules);
    for (int r = 0; r < rules; ++r)
        texts.push_back(values_[copied.valueIndices_[r]]->GetText());
    antecedents_.push_back(std::move(variable));
    const int index = GetNumAntVariables() - 1;
    for (const std::string& text : texts)
        antecedents_.back()->valueIndices_.push_back(AddValue(text, index));
    tablesStale_ = true;
    Prepare();
    return 0;
}

void CRuleBase::DeleteVariable(int i) {
    CFuzzyVariable& variable = GetVariable(i);
    // Shared ownership: the settings go with the last variable that uses them.
    variable.settings_.reset();
    for (int index : variable.valueIndices_) {
        auto& value = values_[index];
        if (value && value->Release() == 0)
            value.reset();
    }
    auto& list = ListOf(i);
    list.erase(list.begin() + (i >= 0 ? i : -1 - i));
    RenumberValueOwners();
    tablesStale_ = true;
}

// A value is built with the settings of the variable whose index it carries. When that variable
// has gone or moved, another variable that uses the value (with the same settings and grid, or
// the value would not be shared) takes its place.
void CRuleBase::RenumberValueOwners() {
    std::vector<std::uint8_t> seen(values_.size(), 0);
    const auto claim = [&](const CFuzzyVariable& variable, int index) {
        for (int poolIndex : variable.valueIndices_) {
            if (!seen[poolIndex] && values_[poolIndex]) {
                seen[poolIndex] = 1;
                values_[poolIndex]->SetVariableIndex(index);
            }
        }
    };
    for (int s = GetNumSucVariables() - 1; s >= 0; --s)
        claim(*succedents_[s], -1 - s);
    for (int a = 0; a < GetNumAntVariables(); ++a)
        claim(*antecedents_[a], a);
}

int CRuleBase::GetNumRules() const {
    return antecedents_.empty() ? 0 : static_cast<int>(antecedents_.front()->valueIndices_.size());
}

const CValue& CRuleBase::GetCell(int i, int r) const {
    const CFuzzyVariable& variable = GetVariable(i);
    return *values_[variable.valueIndices_.at(r)];
}

const std::string& CRuleBase::GetAntExpression(int v, int r) const {
    if (v < 0)
        throw std::out_of_range("no antecedent has the index " + std::to_string(v));
    return GetCell(v, r).GetText();
}

const std::string& CRuleBase::GetSucExpression(int v, int r) const {
    if (v < 0)
        throw std::out_of_range("no succedent has the index " + std::to_string(v));
    return GetCell(-1 - v, r).GetText();
}

int CRuleBase::AddValue(const std::string& text, int i) {
    const CFuzzyVariable& variable = GetVariable(i);
    for (int index = 0; index < GetValueCount(); ++index) {
        CValue* value = values_[index].get();
        if (value == nullptr || value->GetText() != text)
            continue;
        const CFuzzyVariable* owner = FindAt(value->GetVariableIndex());
        if (owner != nullptr && owner->settings_ == variable.settings_ &&
            owner->discretization_ == variable.discretization_) {
            value->AddRef();
            return index;
        }
    }
    std::unique_ptr<CValue> value;
    if (i < 0 && variable.settings_ && variable.settings_->IsLinearCombination()) {
        value = std::make_unique<CLinCValue>(text, i, GetNumAntVariables());
    } else {
        value = std::make_unique<CFuzValue>(text, i);
    }
    value->AddRef();
    values_.push_back(std::move(value));
    return GetValueCount() - 1;
}

void CRuleBase::ReplaceRules(int n, const auto& cellAt) {
    const int antecedents = GetNumAntVariables();
    const int columns = 1 + antecedents + GetNumSucVariables();
    if (n < 0)
        throw std::invalid_argument("a negative number of rules");
    for (int column = 1; column < columns; ++column) {
        for (int r = 0; r < n; ++r) {
            if (cellAt(r, column) == nullptr)
                throw std::invalid_argument("a rule table without the text of a cell");
        }
    }

    values_.clear();
    for (auto& variable : antecedents_)
        variable->valueIndices_.clear();
    for (auto& variable : succedents_)
        variable->valueIndices_.clear();
    tablesStale_ = true;

    activeFlags_.assign(n, 0);
    for (int r = 0; r < n; ++r)
        activeFlags_[r] = cellAt(r, 0) != nullptr ? 1 : 0;
    for (int column = 1; column < columns; ++column) {
        const int index = column <= antecedents ? column - 1 : antecedents - column;
        CFuzzyVariable& variable = *ListOf(index)[index >= 0 ? index : -1 - index];
        variable.valueIndices_.reserve(n);
        for (int r = 0; r < n; ++r)
            variable.valueIndices_.push_back(AddValue(cellAt(r, column), index));
    }
    firedFlags_.assign(n, 0);
    ruleComplexity_.assign(n, 0);
}

void CRuleBase::SetRules(std::span<const char* const> table, int n) {
    const std::size_t columns = 1 + antecedents_.size() + succedents_.size();
    if (n < 0 || table.size() != columns * static_cast<std::size_t>(n))
        throw std::invalid_argument("the rule table does not fit the variables");
    ReplaceRules(n, [&](int r, int column) { return table[r * columns + column]; });
}

void CRuleBase::SetRulesByColumns(std::span<const char* const> table, int n) {
    const std::size_t columns = 1 + antecedents_.size() + succedents_.size();
    if (n < 0 || table.size() != columns * static_cast<std::size_t>(n))
        throw std::invalid_argument("the rule table does not fit the variables");
    ReplaceRules(n, [&](int r, int column) { return table[column * n + r]; });
}

void CRuleBase::SetRulesFromSet(const Rules& rules) {
    const std::size_t cells = antecedents_.size() + succedents_.size();
    static constexpr char kActive[] = "";
    std::vector<const char*> table;
    table.reserve(rules.Size() * (cells + 1));
    for (const Rule& row : rules) {
        if (row.cells.size() != cells)
            throw std::invalid_argument("a rule whose cells do not fit the variables");
        table.push_back(kActive);
        for (const std::string& cell : row.cells)
            table.push_back(cell.c_str());
    }
    SetRules(table, static_cast<int>(rules.Size()));
    Prepare();
}

void CRuleBase::Prepare() {
    const int rules = GetNumRules();
    const int antecedents = GetNumAntVariables();
    const int succedents = GetNumSucVariables();
    std::vector<std::uint8_t> antecedentErrors;
    std::vector<std::uint8_t> succedentErrors;
    bool failed = false;
    const auto markCells = [&](int poolIndex) {
        if (!failed) {
            antecedentErrors.assign(static_cast<std::size_t>(rules) * antecedents, 0);
            succedentErrors.assign(static_cast<std::size_t>(rules) * succedents, 0);
            failed = true;
        }
        for (int a = 0; a < antecedents; ++a) {
            const auto& indices = antecedents_[a]->valueIndices_;
            for (int r = 0; r < rules && r < static_cast<int>(indices.size()); ++r) {
                if (indices[r] == poolIndex)
                    antecedentErrors[r * antecedents + a] = 1;
            }
        }
        for (int s = 0; s < succedents; ++s) {
            const auto& indices = succedents_[s]->valueIndices_;
            for (int r = 0; r < rules && r < static_cast<int>(indices.size()); ++r) {
                if (indices[r] == poolIndex)
                    succedentErrors[r * succedents + s] = 1;
            }
        }
    };
    for (int index = 0; index < GetValueCount(); ++index) {
        if (!values_[index])
            continue;
        try {
            values_[index]->Build(*this);
        } catch (const ESyntax&) {
            markCells(index);
        } catch (const std::logic_error&) {
            markCells(index);
        }
    }
    // The tables point at the sets just built (or at none), never at the ones Build replaced.
    tablesStale_ = true;
    if (failed)
        throw ESyntaxRB(this, std::move(antecedentErrors), std::move(succedentErrors));

    // Complexity of each rule from its linguistic antecedents: a score of 0 ("ignor") makes the
    // rule's score 0. One conversion per shared value, not per cell.
    std::unordered_map<int, int> scoreOfValue;
    ruleComplexity_.assign(rules, 0);
    for (int r = 0; r < rules; ++r) {
        int sum = 0;
        bool anyZero = false;
        for (int a = 0; a < antecedents; ++a) {
            const CSettings* settings = antecedents_[a]->settings_.get();
            if (settings == nullptr || settings->GetTypeName() != "linguistic")
                continue;
            const int poolIndex = antecedents_[a]->valueIndices_[r];
            auto found = scoreOfValue.find(poolIndex);
            if (found == scoreOfValue.end()) {
                CLingTerm term;
                const bool converted =
                    settings->TextToLingTerm(values_[poolIndex]->GetText(), term);
                found =
                    scoreOfValue.emplace(poolIndex, converted ? Complexity(term) : kNoScore).first;
            }
            if (found->second == kNoScore)
                continue;
            sum += found->second;
            anyZero = anyZero || found->second == 0;
        }
        // Scores are compared as unsigned 16-bit numbers; a sum of -1 scores wraps.
        ruleComplexity_[r] = anyZero ? 0 : static_cast<std::uint16_t>(sum);
    }
    inputs_.assign(antecedents, 0.0);
}

void CRuleBase::SetInferenceMethod(InferenceRoutine routine) {
    if (routine == nullptr)
        throw std::invalid_argument("an inference method is needed");
    inferenceMethod_ = routine;
}

void CRuleBase::SetDefuzzificationMethod(DefuzzificationRoutine routine) {
    if (routine == nullptr)
        throw std::invalid_argument("a defuzzification method is needed");
    defuzzificationMethod_ = routine;
}

double CRuleBase::Defuzzify(SetOperand set) {
    double result = 0.0;
    defuzzificationMethod_(*this, std::span<SetOperand>(&set, 1), std::span<double>(&result, 1));
    return result;
}

double CRuleBase::CrispOutput(std::span<const double> inputs) {
    // The methods of the tables need no set: the output stays in scratch space.
    const auto method = CrispMethodOf(inferenceMethod_);
    if (method && *method != CrispMethod::kLinearCombination) {
        if (const SampleDefuzzifier defuzzify = SampleDefuzzifierOf(defuzzificationMethod_)) {
            const RecordedOutput output = InferRecorded(*this, *method, inputs);
            return defuzzify(output.samples, DefuzzificationGridOf(*this, 0));
        }
    }
    InferenceResult result = inferenceMethod_(*this, inputs);
    if (result.set)
        return Defuzzify(std::move(result.set));
    return result.value;
}

int CRuleBase::SetInputs(std::span<const double> inputs) {
    const int antecedents = GetNumAntVariables();
    if (static_cast<int>(inputs.size()) < antecedents)
        throw std::invalid_argument("one input per antecedent is needed");
    inputs_.assign(inputs.begin(), inputs.begin() + antecedents);
    return antecedents;
}

bool CRuleBase::IsRuleActive(int r) const {
    return r >= 0 && r < static_cast<int>(activeFlags_.size()) && activeFlags_[r] != 0;
}

bool CRuleBase::IsRuleFired(int r) const {
    return r >= 0 && r < static_cast<int>(firedFlags_.size()) && firedFlags_[r] != 0;
}

void CRuleBase::RestoreInferenceState(const InferenceState& state) {
    inputs_ = state.inputs;
    // Rules replaced in between keep their own, cleared flags.
    if (state.firedFlags.size() == firedFlags_.size()) {
        firedFlags_ = state.firedFlags;
        firedCount_ = state.firedCount;
    }
}

void CRuleBase::ClearFired() {
    std::fill(firedFlags_.begin(), firedFlags_.end(), 0);
    firedCount_ = 0;
}

void CRuleBase::CountFired() {
    firedCount_ = static_cast<int>(std::count(firedFlags_.begin(), firedFlags_.end(), 1));
}

void CRuleBase::RecordFired(std::span<const std::uint8_t> flags) {
    std::fill(firedFlags_.begin(), firedFlags_.end(), 0);
    std::copy_n(flags.begin(), std::min(flags.size(), firedFlags_.size()), firedFlags_.begin());
    CountFired();
}

const CompiledRules& CRuleBase::GetCompiledRules() {
    if (tablesStale_ || !compiledRules_) {
        compiledRules_ = std::make_unique<CompiledRules>(CompileRules(*this));
        tablesStale_ = false;
    }
    return *compiledRules_;
}

InferenceScratch& CRuleBase::GetInferenceScratch() {
    if (!scratch_)
        scratch_ = std::make_unique<InferenceScratch>();
    return *scratch_;
}

void CRuleBase::SetUseFuzzyFilter(bool on) {
    if (on == useFuzzyFilter_)
        return;
    useFuzzyFilter_ = on;
    if (on)
        UpdateFuzzyFilter();
}

void CRuleBase::UpdateFuzzyFilter() {
    if (fuzzyFilter_)
        fuzzyFilter_->Compute(*this);
    else
        fuzzyFilter_ = std::make_unique<FTInferenceFilter>(*this);
}

double CRuleBase::FilteredInference(std::span<const double> inputs) {
    if (static_cast<int>(inputs.size()) < GetNumAntVariables())
        throw std::invalid_argument("one input per antecedent is needed");
    if (!fuzzyFilter_ || fuzzyFilter_->InputCount() != GetNumAntVariables())
        UpdateFuzzyFilter();
    return fuzzyFilter_->Value(inputs);
}
