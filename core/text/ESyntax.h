#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <utility>
#include <vector>

// A parse or file error: what went wrong, the text being read at the point of failure (for file
// errors the file name) and the index of the failure in that text.
class ESyntax : public std::exception {
  public:
    ESyntax(std::string message, int position = 0, std::string text = {})
        : message_(std::move(message)), text_(std::move(text)), position_(position) {}

    const std::string& Message() const { return message_; }
    const std::string& Text() const { return text_; }
    int Position() const { return position_; }

    const char* what() const noexcept override { return message_.c_str(); }

  private:
    std::string message_;
    std::string text_;
    int position_;
};

class CRuleBase;

// The rule cells that failed to build in one preparation of a rule base: element
// [rule * count + variable] of each matrix is 1 for a failing cell.
class ESyntaxRB : public std::exception {
  public:
    ESyntaxRB(CRuleBase* ruleBase, std::vector<std::uint8_t> antecedentErrors,
              std::vector<std::uint8_t> succedentErrors)
        : antecedentErrors_(std::move(antecedentErrors)),
          succedentErrors_(std::move(succedentErrors)),
          ruleBase_(ruleBase) {}

    const std::vector<std::uint8_t>& AntecedentErrors() const { return antecedentErrors_; }
    const std::vector<std::uint8_t>& SuccedentErrors() const { return succedentErrors_; }
    // Not owned: the rule base that was being prepared.
    CRuleBase* RuleBase() const { return ruleBase_; }

    const char* what() const noexcept override { return "rule cells failed to build"; }

  private:
    std::vector<std::uint8_t> antecedentErrors_;
    std::vector<std::uint8_t> succedentErrors_;
    CRuleBase* ruleBase_;
};
