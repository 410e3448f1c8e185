#pragma once

#include <fstream>
#include <memory>
#include <string_view>
#include <vector>

#include "com/Kelrun/Kelrun_tlb.h"
#include "com/Kelrun/ServerModule.h"
#include "platform/com/ComObject.h"

class CRuleBase;

// The object behind RuleBaseCOM: at most one rule base, loaded from a rulebase file with the
// server's reader, and inference on vectors of inputs given in ranges of the caller's choice.
//
// User bounds: entry i < n belongs to input i, entry n to the output (n = NumInputVars); they
// start as the universes. Inputs are clamped into their user range and mapped linearly onto
// the input's universe; the result is clamped into the output's universe and mapped onto the
// output's user range.
//
// No method lets an exception out. A load that fails leaves nothing loaded and records the
// reader's message as the calling thread's error information (GetErrorInfo); a load that
// succeeds clears it. Nothing loaded reads as NumInputVars -1 and 0 elsewhere;
// inputs that cannot be read (not a one-dimensional array of at least n numbers, or a NaN among
// them) give a quiet NaN and leave the last inference's fired rules as they were. An inference
// method that does not fit the kind of rule base (a set for a Takagi-Sugeno or singleton one, a
// number for a linguistic one) gives a quiet NaN too.
class TRuleBaseCOMImpl final
    : public platform::com::ComObject<TRuleBaseCOMImpl, IRuleBaseCOM, IID_IRuleBaseCOM> {
  public:
    // Opens (and creates) "KelrunLog.txt" in the current directory for appending.
    TRuleBaseCOMImpl();
    ~TRuleBaseCOMImpl();

    void LoadFromFile(BSTR FileName) noexcept override;
    int NumInputVars() noexcept override;
    // VarIndex: the rule base's signed index, -1 the output; 0.0 outside -1..n-1.
    double LoBoundOfVar(int VarIndex) noexcept override;
    double HiBoundOfVar(int VarIndex) noexcept override;
    // Element i of Inputs is the i-th from the array's lower bound.
    double Inference(VARIANT Inputs) noexcept override;
    // An empty string outside -1..n-1.
    BSTR VarName(int VarIndex) noexcept override;
    int NumFiredRules() noexcept override;
    // The 1-based number of the i-th fired rule (i <= 1: the first); 0 when there is none.
    int FiredRule(int i) noexcept override;
    // Inputs must hold NumInputVars doubles.
    double InferenceOnDoubles(double* Inputs) noexcept override;
    // VarIndex: a position in the user bounds, n the output; ignored outside 0..n.
    void setLoBoundOfVar(int VarIndex, double NewLo) noexcept override;
    void setHiBoundOfVar(int VarIndex, double NewHi) noexcept override;

  private:
    int InputCount() const;
    bool IsVariable(int index) const;
    void Unload() noexcept;
    // Leaves the object unloaded, with the reason as the calling thread's error information.
    void Refuse(std::string_view reason) noexcept;
    // Stores caller's value x of input i, scaled; false for a NaN.
    bool SetInput(int i, double x);
    // Runs the rule base's methods on the stored inputs; the result in the output's user range.
    double InferStoredInputs();
    // Composes "used memory: <allocated bytes> (<message>)" for the log writer.
    void Log(std::string_view message);

    kelrun::ModuleLock moduleLock_;
    // Open for the object's life, and empty: see Log.
    std::ofstream log_;
    std::unique_ptr<CRuleBase> ruleBase_;
    std::vector<double> inputs_;
    std::vector<double> userLo_;
    std::vector<double> userHi_;
};
