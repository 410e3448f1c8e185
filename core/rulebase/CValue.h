#pragma once

#include <string>

class CRuleBase;

// The value of one variable in one rule (a rule cell): the text the user wrote and, once built,
// its meaning. Cells of a rule base with the same text, settings and discretization share one
// value; AddRef and Release count the cells, and the rule base deletes a value whose count drops
// to 0.
class CValue {
  public:
    virtual ~CValue() = default;
    CValue(const CValue&) = delete;
    CValue& operator=(const CValue&) = delete;

    const std::string& GetText() const { return text_; }
    // The signed index of a variable that uses the value (see CRuleBase).
    int GetVariableIndex() const { return variableIndex_; }
    void SetVariableIndex(int variableIndex) { variableIndex_ = variableIndex; }
    int GetRefCount() const { return refCount_; }

    // (Re)computes the meaning from the text with the settings of the value's variable. Throws
    // ESyntax when the text does not parse; the value then has no meaning until a later Build
    // succeeds.
    virtual void Build(const CRuleBase& ruleBase) = 0;

    int AddRef() { return ++refCount_; }
    int Release() { return --refCount_; }

  protected:
    CValue(std::string text, int variableIndex)
        : text_(std::move(text)), variableIndex_(variableIndex) {}

  private:
    std::string text_;
    int variableIndex_;
    int refCount_ = 0;
};
