#pragma once

#include "platform/com/Types.h"
#include "platform/com/Unknown.h"
#include "platform/com/Variant.h"

// The identifiers and the interface of the component server Kelrun. Clients include this header
// and reach the server only through the component runtime, by class identifier.

// Exported as data by the server and by its clients, under these names (Kelrun_tlb.cpp):
// {CACC0190-BEDF-11D5-94C0-00304F04DF79}, {CACC0191-...}, {CACC0193-...}.
#define KELRUN_EXPORT __attribute__((visibility("default")))
extern "C" {
KELRUN_EXPORT extern const GUID LIBID_Kelrun;
KELRUN_EXPORT extern const IID IID_IRuleBaseCOM;
KELRUN_EXPORT extern const CLSID CLSID_RuleBaseCOM;
}

// One rule base loaded from a rulebase file, with inference on vectors of inputs. The methods
// return plain values; "nothing loaded" reads as -1 from NumInputVars and 0 elsewhere.
// Slot order is the contract: do not reorder.
class IRuleBaseCOM : public IUnknown {
  public:
    virtual void LoadFromFile(BSTR FileName) noexcept = 0;
    virtual int NumInputVars() noexcept = 0;
    virtual double LoBoundOfVar(int VarIndex) noexcept = 0;
    virtual double HiBoundOfVar(int VarIndex) noexcept = 0;
    // Inputs holds a one-dimensional array of doubles (or of variants convertible to double).
    virtual double Inference(VARIANT Inputs) noexcept = 0;
    // A new string that the caller frees with SysFreeString.
    virtual BSTR VarName(int VarIndex) noexcept = 0;
    virtual int NumFiredRules() noexcept = 0;
    virtual int FiredRule(int i) noexcept = 0;
    virtual double InferenceOnDoubles(double* Inputs) noexcept = 0;
    virtual void setLoBoundOfVar(int VarIndex, double NewLo) noexcept = 0;
    virtual void setHiBoundOfVar(int VarIndex, double NewHi) noexcept = 0;

  protected:
    ~IRuleBaseCOM() = default;
};
