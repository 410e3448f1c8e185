#include "desktop/variables/ExprOperator.h"

#include "core/lang/ELingExpr.h"

void Bounder::operator()(ELingExpr& expression) const {
    expression.Clamp(low_, high_);
}

void Recomputer::operator()(ELingExpr& expression) const {
    expression.Rescale(newLow_, newHigh_, oldLow_, oldHigh_);
}
