#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/inference/MethodRoutines.h"
#include "core/rulebase/TypeOfDescription.h"

class CFuzzyVariable;
class CLinCValue;
class CSettings;
class CValue;
class FTInferenceFilter;
class Rules;
struct CompiledRules;
struct InferenceScratch;

// One rule base: its description and kind, its input (antecedent) and output (succedent)
// variables, its rules, the inference and defuzzification routines chosen for it, and the state
// of the last inference.
//
// One signed index addresses every variable: i >= 0 is antecedent i, i < 0 is succedent -1 - i;
// kNoVariable stands for none. Rule r is entry r of every variable's value indices; the cells are
// values of a shared, reference-counted pool. Every edit of cells ends with Prepare.
class CRuleBase {
  public:
    // CRuleBase::kLinguistic and the other kinds.
    using enum TypeOfDescription;

    static constexpr int kNoVariable = 16777216;
    static constexpr int kDefaultDiscretization = 301;
    static constexpr int kDefaultProjectionSteps = 100;

    // A rule base without variables or rules, with the default routines.
    CRuleBase();
    // A new rule base of the given kind: one input "X", one output "Y" and one rule.
    explicit CRuleBase(TypeOfDescription kind);
    // Reads a rulebase file (see core/io/RuleBaseReader.h). Throws ESyntax.
    explicit CRuleBase(const std::string& fileName);
    ~CRuleBase();
    CRuleBase(CRuleBase&&) noexcept;
    CRuleBase& operator=(CRuleBase&&) noexcept;
    CRuleBase(const CRuleBase&) = delete;
    CRuleBase& operator=(const CRuleBase&) = delete;

    // --- Description ---
    TypeOfDescription GetTypeOfDescription() const { return typeOfDescription_; }
    void SetTypeOfDescription(TypeOfDescription kind) { typeOfDescription_ = kind; }
    const std::string& GetDescription() const { return description_; }
    void SetDescription(std::string description) { description_ = std::move(description); }
    // The name the rule base was read from; empty for a new one.
    const std::string& GetFileName() const { return fileName_; }
    void SetFileName(std::string fileName) { fileName_ = std::move(fileName); }

    // --- Variables (signed index) ---
    int GetNumAntVariables() const { return static_cast<int>(antecedents_.size()); }
    int GetNumSucVariables() const { return static_cast<int>(succedents_.size()); }
    // All of these throw std::out_of_range for an index that names no variable.
    const CFuzzyVariable& GetVariable(int i) const;
    CFuzzyVariable& GetVariable(int i);
    const std::string& GetVariableName(int i) const;
    CSettings& GetSettings(int i) const;
    int GetDiscretization(int i) const;
    // The ends of the context of the variable's settings.
    double GetLowerBound(int i) const;
    double GetUpperBound(int i) const;
    // The signed index of the variable called name, searched from the lowest index up;
    // kNoVariable when there is none.
    int FindVariable(std::string_view name) const;

    // Appends a variable with no cells; only while the rule base has no rules (the reader
    // builds its variables this way before it sets the rules). Returns its signed index.
    // Throws std::logic_error when there are rules.
    int AppendVariable(std::unique_ptr<CFuzzyVariable> variable, bool isSuccedent);
    // Appends an antecedent whose cell in every rule has the text of the variable at signed
    // index source in that rule, then prepares. Returns 0.
    int AddAntVariable(std::unique_ptr<CFuzzyVariable> variable, int source);
    // Removes the variable and its cells; its settings go with it unless another variable
    // shares them. The variables behind it move up one index.
    void DeleteVariable(int i);

    // --- Rules and cells ---
    // The length of the first antecedent's list of cells; 0 without antecedents.
    int GetNumRules() const;
    const std::string& GetAntExpression(int v, int r) const;
    const std::string& GetSucExpression(int v, int r) const;
    // The value of the cell of the variable at signed index i in rule r.
    const CValue& GetCell(int i, int r) const;
    // The pool, null slots included.
    int GetValueCount() const { return static_cast<int>(values_.size()); }
    const CValue* GetValue(int poolIndex) const { return values_.at(poolIndex).get(); }

    // The pool index of the value for text in variable i, made when no value with the same text,
    // settings and discretization exists yet; adds one reference.
    int AddValue(const std::string& text, int i);

    // Replace all rules. A table holds, per rule, a flag entry (non-null for an active rule)
    // and one C string per antecedent, then per succedent: row by row in SetRules, column by
    // column (entry [column * n + rule]) in SetRulesByColumns. The caller prepares afterwards.
    // Throw std::invalid_argument when the table does not fit.
    void SetRules(std::span<const char* const> table, int n);
    void SetRulesByColumns(std::span<const char* const> table, int n);
    // Replaces all rules by the rows of rules, every rule active, and prepares.
    void SetRulesFromSet(const Rules& rules);

    // Builds every value, the rule complexities and the inputs. Throws ESyntaxRB marking every
    // cell that did not build; the values that did build stay built.
    void Prepare();

    // --- Methods and inference state ---
    InferenceRoutine GetInferenceMethod() const { return inferenceMethod_; }
    void SetInferenceMethod(InferenceRoutine routine);
    DefuzzificationRoutine GetDefuzzificationMethod() const { return defuzzificationMethod_; }
    void SetDefuzzificationMethod(DefuzzificationRoutine routine);

    // Runs the inference routine; for a set, the defuzzification routine on it too.
    InferenceResult Infer(const InferenceInput& inputs) { return inferenceMethod_(*this, inputs); }
    double Defuzzify(SetOperand set);
    // The crisp output for crisp inputs: the defuzzified set, or the routine's own value.
    double CrispOutput(std::span<const double> inputs);

    int GetProjectionSteps() const { return projectionSteps_; }
    void SetProjectionSteps(int steps) { projectionSteps_ = steps; }
    bool GetUseFuzzyFilter() const { return useFuzzyFilter_; }
    // Stores the switch; turning it on computes the filter, 201^n inferences for n inputs
    // (see UpdateFuzzyFilter, whose errors pass with the switch on).
    void SetUseFuzzyFilter(bool on);
    // Stores the switch only; the filter is computed when first needed. The reader's way, so
    // that opening a file runs no inference.
    void RecordUseFuzzyFilter(bool on) { useFuzzyFilter_ = on; }
    // Makes the filter, or recomputes it from the rules, variables and methods as they are now;
    // nothing else recomputes it. Throws as FTInferenceFilter::Compute.
    void UpdateFuzzyFilter();
    // The filtered output for one value per antecedent, whatever the switch; makes the filter
    // first when there is none or when it was made for another number of antecedents. Records
    // no inference state. Throws std::invalid_argument for too few inputs.
    double FilteredInference(std::span<const double> inputs);
    // Null until the filter is first made.
    const FTInferenceFilter* GetFuzzyFilter() const { return fuzzyFilter_.get(); }

    // Copies one value per antecedent into the inputs; returns the number of antecedents.
    // Throws std::invalid_argument when fewer are given.
    int SetInputs(std::span<const double> inputs);
    std::span<const double> GetInputs() const { return inputs_; }

    std::span<const std::uint8_t> GetActiveFlags() const { return activeFlags_; }
    bool IsRuleActive(int r) const;
    std::span<const std::uint8_t> GetFiredFlags() const { return firedFlags_; }
    bool IsRuleFired(int r) const;
    // -1 before the first inference.
    int GetFiredCount() const { return firedCount_; }
    std::span<const std::uint16_t> GetRuleComplexity() const { return ruleComplexity_; }

    // What an inference records, for a caller that runs inferences of its own in between.
    struct InferenceState {
        std::vector<double> inputs;
        std::vector<std::uint8_t> firedFlags;
        int firedCount = -1;
    };
    InferenceState SaveInferenceState() const { return {inputs_, firedFlags_, firedCount_}; }
    void RestoreInferenceState(const InferenceState& state);

    // Keeps the last inference's inputs, fired flags and fired count across inferences run for
    // other purposes (a sweep, a projection, a smooth defuzzification): restores them when it
    // goes out of scope, also when an exception passes. The rule base must outlive the guard.
    class ScopedInferenceState {
      public:
        explicit ScopedInferenceState(CRuleBase& ruleBase)
            : ruleBase_(ruleBase), state_(ruleBase.SaveInferenceState()) {}
        ~ScopedInferenceState() { ruleBase_.RestoreInferenceState(state_); }
        ScopedInferenceState(const ScopedInferenceState&) = delete;
        ScopedInferenceState& operator=(const ScopedInferenceState&) = delete;

      private:
        CRuleBase& ruleBase_;
        InferenceState state_;
    };

    // For the inference routines: clear the fired flags and count, mark one rule, and set the
    // count to the number of marked rules; or record one flag per rule and count them.
    void ClearFired();
    void MarkFired(int r) { firedFlags_[r] = 1; }
    void AddFired(int r) {
        firedFlags_[r] = 1;
        ++firedCount_;
    }
    void CountFired();
    void RecordFired(std::span<const std::uint8_t> flags);
    // The rules as inference reads them (see core/inference/CompiledRules.h); compiled here
    // when cells, rules or variables have changed since. Valid until the next edit.
    const CompiledRules& GetCompiledRules();
    // The working space of the routines' inferences on this rule base (one thread at a time).
    InferenceScratch& GetInferenceScratch();

  private:
    std::vector<std::unique_ptr<CFuzzyVariable>>& ListOf(int i);
    const CFuzzyVariable* FindAt(int i) const;
    void ReplaceRules(int n, const auto& cellAt);
    // Points every value at a variable that uses it, after variables have moved.
    void RenumberValueOwners();

    std::unique_ptr<FTInferenceFilter> fuzzyFilter_;
    bool useFuzzyFilter_ = false;
    std::string description_;
    std::string fileName_;
    TypeOfDescription typeOfDescription_ = kLinguistic;
    InferenceRoutine inferenceMethod_;
    DefuzzificationRoutine defuzzificationMethod_;
    std::vector<std::unique_ptr<CFuzzyVariable>> antecedents_;
    std::vector<std::unique_ptr<CFuzzyVariable>> succedents_;
    std::vector<std::unique_ptr<CValue>> values_;
    std::vector<double> inputs_;
    int projectionSteps_ = kDefaultProjectionSteps;
    std::vector<std::uint16_t> ruleComplexity_;
    int firedCount_ = -1;
    std::vector<std::uint8_t> firedFlags_;
    std::vector<std::uint8_t> activeFlags_;

    std::unique_ptr<CompiledRules> compiledRules_;
    bool tablesStale_ = true;
    std::unique_ptr<InferenceScratch> scratch_;
};
