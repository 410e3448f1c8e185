#pragma once

#include <span>
#include <vector>

class CRuleBase;
class Net3D;

// The extra inferences of the test window: the projection over one input and the control
// surface over two. Both leave the rule base's recorded inputs and fired rules as they found
// them, so that what the window lists stays the user's point.

// The crisp output at inputs: through the fuzzy filter when filtered, else by the rule base's
// kind (linguistic: the inferred set, defuzzified; singleton: inference's value). NaN for a
// Takagi-Sugeno rule base, which the window does not run.
double CrispValueAt(CRuleBase& ruleBase, std::span<const double> inputs, bool filtered);

// steps + 1 outputs (steps >= 1) with the input at signed index variable running from its
// context's lower bound to its upper one in equal steps, the others as given.
void SampleProjection(CRuleBase& ruleBase, std::span<const double> inputs, int variable, int steps,
                      bool filtered, std::vector<double>& outputs);

// An n by n net (n >= 2) over the contexts of inputs i and j, the others as given: the point of
// row b and column a lies at input i's a-th and input j's b-th step, and every coordinate is
// scaled from its variable's context (output 0 for z) onto [-1, 1]; a point without a result
// lies at the bottom. The fuzzy filter is not used.
void SampleSurface(CRuleBase& ruleBase, std::span<const double> inputs, int i, int j, int n,
                   Net3D& net);
