#pragma once

class CRuleBase;
class ELingExpr;

// What the variable dialog does to the numbers written in a variable's rule cells when its
// bounds change: a crisp number or an "about" number is moved or cut; other expressions are
// left alone by the tree itself.
class ExprOperator {
  public:
    virtual ~ExprOperator() = default;
    virtual void operator()(ELingExpr& /*expression*/) const {}
};

// Cuts a number to the new bounds.
class Bounder : public ExprOperator {
  public:
    Bounder(double low, double high) : low_(low), high_(high) {}
    void operator()(ELingExpr& expression) const override;

  private:
    double low_;
    double high_;
};

// Moves a number linearly from the old bounds onto the new ones.
class Recomputer : public ExprOperator {
  public:
    Recomputer(double newLow, double newHigh, double oldLow, double oldHigh)
        : newLow_(newLow), newHigh_(newHigh), oldLow_(oldLow), oldHigh_(oldHigh) {}
    void operator()(ELingExpr& expression) const override;

  private:
    double newLow_;
    double newHigh_;
    double oldLow_;
    double oldHigh_;
};
