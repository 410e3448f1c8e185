#pragma once

#include "core/rulebase/CRuleBase.h"

// Puts back the inputs and fired rules that a rule base recorded when the object was made,
// however the inferences run in between end: the test window's lists stay those of the user's
// point.
class KeptInferenceState {
  public:
    explicit KeptInferenceState(CRuleBase& ruleBase)
        : ruleBase_(ruleBase), state_(ruleBase.SaveInferenceState()) {}
    ~KeptInferenceState() { ruleBase_.RestoreInferenceState(state_); }
    KeptInferenceState(const KeptInferenceState&) = delete;
    KeptInferenceState& operator=(const KeptInferenceState&) = delete;

  private:
    CRuleBase& ruleBase_;
    CRuleBase::InferenceState state_;
};
