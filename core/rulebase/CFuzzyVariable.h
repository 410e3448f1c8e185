#pragma once

#include <memory>
#include <span>
#include <string>
#include <vector>

class CSettings;

// One column of a rule base: a named variable with its grid size, its language definition (which
// holds the context and may be shared with other variables of the rule base) and, for each rule,
// the pool index of its cell's value.
class CFuzzyVariable {
  public:
    CFuzzyVariable(std::string name, std::shared_ptr<CSettings> settings, int discretization);

    const std::string& GetName() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    int GetDiscretization() const { return discretization_; }
    void SetDiscretization(int discretization) { discretization_ = discretization; }
    const std::shared_ptr<CSettings>& GetSettings() const { return settings_; }
    void SetSettings(std::shared_ptr<CSettings> settings) { settings_ = std::move(settings); }

    // Entry r: the pool index of this variable's value in rule r.
    std::span<const int> GetValueIndices() const { return valueIndices_; }

  private:
    friend class CRuleBase;  // keeps one entry per rule

    std::string name_;
    std::shared_ptr<CSettings> settings_;
    int discretization_;
    std::vector<int> valueIndices_;
};
