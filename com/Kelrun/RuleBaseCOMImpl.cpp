#include "com/Kelrun/RuleBaseCOMImpl.h"

#include <malloc.h>

#include <cmath>
#include <limits>
#include <string>

#include "com/Kelrun/ServerVariants.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/SetOperand.h"
#include "core/text/ESyntax.h"
#include "platform/com/Bstr.h"
#include "platform/com/ErrorInfo.h"
#include "platform/com/SafeArray.h"

namespace {

constexpr char kLogFileName[] = "KelrunLog.txt";
constexpr double kRefused = std::numeric_limits<double>::quiet_NaN();

// d + (a - b) / (c - b) * (e - d): a from [b, c] onto [d, e].
double MapLinearly(double a, double b, double c, double d, double e) {
    return d + (a - b) / (c - b) * (e - d);
}

double Clamp(double x, double lo, double hi) {
    if (x < lo)
        return lo;
    if (x > hi)
        return hi;
    return x;
}

constexpr char kProgId[] = "Kelrun.RuleBaseCOM";

// The reader's message; one that ends in a blank is followed by the value it is about, up to
// that value's line end.
std::string Describe(const ESyntax& error) {
    std::string description = error.Message();
    if (description.ends_with(' ')) {
        const std::string& value = error.Text();
        description += value.substr(0, value.find_first_of("\r\n"));
    }
    return description;
}

// The log writer writes nothing: the server has always composed its lines and left the file it
// opens empty.
void WriteLog(std::string_view) {}

}  // namespace

TRuleBaseCOMImpl::TRuleBaseCOMImpl() : log_(kLogFileName, std::ios::app) {
    WriteLog("new instance of RuleBaseCOM created");
    Log("after create");
}

TRuleBaseCOMImpl::~TRuleBaseCOMImpl() = default;

void TRuleBaseCOMImpl::LoadFromFile(BSTR FileName) noexcept {
    Unload();
    try {
        const std::string fileName = platform::com::BstrToUtf8(FileName);
        auto ruleBase = std::make_unique<CRuleBase>(kelrun::ReadRuleBase(fileName));
        Log(fileName + " loaded");
        const int n = ruleBase->GetNumAntVariables();
        inputs_.assign(n, 0.0);
        userLo_.resize(n + 1);
        userHi_.resize(n + 1);
        for (int i = 0; i <= n; ++i) {
            const int variable = i < n ? i : -1;  // entry n: the output
            userLo_[i] = ruleBase->GetLowerBound(variable);
            userHi_[i] = ruleBase->GetUpperBound(variable);
        }
        ruleBase_ = std::move(ruleBase);
        SetErrorInfo(0, nullptr);
    } catch (const ESyntax& error) {
        Refuse(Describe(error));
    } catch (const std::exception& error) {
        Refuse(error.what());
    } catch (...) {
        Refuse("the file could not be read");
    }
}

int TRuleBaseCOMImpl::NumInputVars() noexcept {
    return ruleBase_ ? InputCount() : -1;
}

double TRuleBaseCOMImpl::LoBoundOfVar(int VarIndex) noexcept {
    return IsVariable(VarIndex) ? ruleBase_->GetLowerBound(VarIndex) : 0.0;
}

double TRuleBaseCOMImpl::HiBoundOfVar(int VarIndex) noexcept {
    return IsVariable(VarIndex) ? ruleBase_->GetUpperBound(VarIndex) : 0.0;
}

double TRuleBaseCOMImpl::Inference(VARIANT Inputs) noexcept {
    if (!ruleBase_)
        return 0.0;
    try {
        const int n = InputCount();
        LONG lower = 0;
        LONG upper = -1;
        if ((Inputs.vt & VT_ARRAY) == 0 || SafeArrayGetDim(Inputs.parray) != 1 ||
            FAILED(SafeArrayGetLBound(Inputs.parray, 1, &lower)) ||
            FAILED(SafeArrayGetUBound(Inputs.parray, 1, &upper)) ||
            static_cast<long long>(upper) - lower + 1 < n) {
            return kRefused;
        }
        for (int i = 0; i < n; ++i) {
            double x = 0.0;
            if (FAILED(platform::com::VariantArrayElementToDouble(Inputs, lower + i, x)) ||
                !SetInput(i, x)) {
                return kRefused;
            }
        }
        return InferStoredInputs();
    } catch (...) {
        return kRefused;
    }
}

BSTR TRuleBaseCOMImpl::VarName(int VarIndex) noexcept {
    try {
        return platform::com::Utf8ToBstr(IsVariable(VarIndex) ? ruleBase_->GetVariableName(VarIndex)
                                                              : std::string());
    } catch (...) {
        return nullptr;
    }
}

int TRuleBaseCOMImpl::NumFiredRules() noexcept {
    return ruleBase_ ? ruleBase_->GetFiredCount() : 0;
}

int TRuleBaseCOMImpl::FiredRule(int i) noexcept {
    if (!ruleBase_ || i > ruleBase_->GetFiredCount())
        return 0;
    const auto fired = ruleBase_->GetFiredFlags();
    int wanted = i < 1 ? 1 : i;
    for (std::size_t r = 0; r < fired.size(); ++r) {
        if (fired[r] != 0 && --wanted == 0)
            return static_cast<int>(r) + 1;
    }
    return 0;
}

double TRuleBaseCOMImpl::InferenceOnDoubles(double* Inputs) noexcept {
    if (!ruleBase_)
        return 0.0;
    if (Inputs == nullptr)
        return kRefused;
    try {
        for (int i = 0; i < InputCount(); ++i) {
            if (!SetInput(i, Inputs[i]))
                return kRefused;
        }
        return InferStoredInputs();
    } catch (...) {
        return kRefused;
    }
}

void TRuleBaseCOMImpl::setLoBoundOfVar(int VarIndex, double NewLo) noexcept {
    if (ruleBase_ && VarIndex >= 0 && VarIndex <= InputCount())
        userLo_[VarIndex] = NewLo;
}

void TRuleBaseCOMImpl::setHiBoundOfVar(int VarIndex, double NewHi) noexcept {
    if (ruleBase_ && VarIndex >= 0 && VarIndex <= InputCount())
        userHi_[VarIndex] = NewHi;
}

int TRuleBaseCOMImpl::InputCount() const {
    return ruleBase_->GetNumAntVariables();
}

bool TRuleBaseCOMImpl::IsVariable(int index) const {
    return ruleBase_ && index >= -1 && index < InputCount();
}

void TRuleBaseCOMImpl::Refuse(std::string_view reason) noexcept {
    Unload();
    platform::com::ReportError(IID_IRuleBaseCOM, kProgId, reason);
}

void TRuleBaseCOMImpl::Unload() noexcept {
    inputs_.clear();
    ruleBase_.reset();
    userLo_.clear();
    userHi_.clear();
}

bool TRuleBaseCOMImpl::SetInput(int i, double x) {
    if (std::isnan(x))
        return false;
    const double clamped = Clamp(x, userLo_[i], userHi_[i]);
    inputs_[i] = MapLinearly(clamped, userLo_[i], userHi_[i], ruleBase_->GetLowerBound(i),
                             ruleBase_->GetUpperBound(i));
    return true;
}

double TRuleBaseCOMImpl::InferStoredInputs() {
    // By the kind of rule base: a linguistic one infers a set, which is defuzzified; the others
    // give their value directly. A method of the other kind (which the file may name) has no
    // answer here.
    InferenceResult inferred = ruleBase_->Infer(inputs_);
    Log("inference");
    const bool linguistic = ruleBase_->GetTypeOfDescription() == CRuleBase::kLinguistic;
    if (linguistic != (inferred.set != nullptr))
        return kRefused;
    const double y = linguistic ? ruleBase_->Defuzzify(std::move(inferred.set)) : inferred.value;
    const int n = InputCount();
    const double lo = ruleBase_->GetLowerBound(-1);
    const double hi = ruleBase_->GetUpperBound(-1);
    return MapLinearly(Clamp(y, lo, hi), lo, hi, userLo_[n], userHi_[n]);
}

void TRuleBaseCOMImpl::Log(std::string_view message) {
    const struct mallinfo2 heap = ::mallinfo2();
    WriteLog("used memory: " + std::to_string(heap.uordblks) + " (" + std::string(message) + ")");
}
