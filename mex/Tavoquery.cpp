// The entry point of the Octave extension: loads rulebase files into numbered slots and runs
// inference on vectors of doubles. Every refused call ends in mexErrMsgTxt with a fixed text,
// except a load that the server refuses, which names the file and the server's reason.
#include <sys/stat.h>

#include <cmath>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>

#include "mex.h"
#include "mex/TContainerArray.h"
#include "platform/com/Bstr.h"
#include "platform/com/ErrorInfo.h"
#include "platform/com/SafeArray.h"

namespace {

constexpr char kArgumentCountMessage[] = "Improper count of input arguments. One or two expected.";
constexpr char kTypeMessage[] = "Invalid type of argument";
constexpr char kSlotMessage[] = "Index of rulebase out of range";
constexpr char kNoFileMessage[] = "File does not exists";
constexpr char kComplexMessage[] = "Invalid type of argument: Only real is allowed";
constexpr char kNotInitializedMessage[] = "Rulebase not initialized";
constexpr char kInputCountMessage[] = "Improper count of inference inputs";

// The slots live as long as the module: Octave keeps no state for an extension between calls.
// Octave empties them through the exit function before it unloads the module.
TContainerArray containers;

void ReleaseContainers() {
    containers.ReleaseAll();
}

struct MxFreeDeleter {
    void operator()(char* text) const noexcept { mxFree(text); }
};
using MxString = std::unique_ptr<char, MxFreeDeleter>;

// The slot that a number names, truncated toward zero; none outside the table. An empty array
// names none (mxGetScalar has no value to give for it).
std::optional<int> SlotNumber(const mxArray* argument) {
    if (mxGetNumberOfElements(argument) == 0)
        return std::nullopt;
    const double slot = std::trunc(mxGetScalar(argument));
    if (!(slot >= 0 && slot < TContainerArray::kSlotCount))
        return std::nullopt;
    return static_cast<int>(slot);
}

// Only a regular file (a directory or a pipe is not a rulebase file to read).
bool IsExistingFile(const char* name) {
    struct stat status {};
    return ::stat(name, &status) == 0 && S_ISREG(status.st_mode);
}

// An empty name empties the slot; any other names the file to load into it. A file that the
// server does not load stays in the slot unloaded (its inference is refused later) and is
// reported now, with the server's reason.
std::string LoadOrEmpty(int slot, const mxArray* nameArgument) {
    const MxString name(mxArrayToString(nameArgument));
    if (!name)
        return kTypeMessage;
    if (*name == '\0') {
        containers.Empty(slot);
        return {};
    }
    if (!IsExistingFile(name.get()))
        return kNoFileMessage;
    if (!containers.Load(slot, name.get()))
        return kNotInitializedMessage;
    if (containers.At(slot)->NumInputVars() >= 0)
        return {};
    std::string message = std::string("Cannot load rulebase \"") + name.get() + "\"";
    if (const std::string reason = platform::com::TakeErrorDescription(); !reason.empty())
        message += ": " + reason;
    return message;
}

// Hands the inputs to the server as a one-dimensional, zero-based array of doubles.
std::optional<double> Infer(IRuleBaseCOM& ruleBase, const double* inputs, std::size_t count) {
    const platform::com::UniqueSafeArray array(
        SafeArrayCreateVector(VT_R8, 0, static_cast<ULONG>(count)));
    if (!array)
        return std::nullopt;
    for (std::size_t i = 0; i < count; ++i) {
        const LONG index = static_cast<LONG>(i);
        if (FAILED(SafeArrayPutElement(array.get(), &index, &inputs[i])))
            return std::nullopt;
    }
    VARIANT argument;
    VariantInit(&argument);
    argument.vt = VT_ARRAY | VT_R8;
    argument.parray = array.get();
    // Lent, not handed over: the array stays ours and goes when this function returns.
    return ruleBase.Inference(argument);
}

// The crisp result first, then the 1-based numbers of the fired rules (0 past the last one).
std::string Evaluate(int slot, const mxArray* data, int nlhs, mxArray* plhs[]) {
    IRuleBaseCOM* ruleBase = containers.At(slot);
    if (ruleBase == nullptr)
        return kNotInitializedMessage;
    const std::size_t count = mxGetNumberOfElements(data);
    const int inputCount = ruleBase->NumInputVars();
    if (inputCount < 0 || count != static_cast<std::size_t>(inputCount))
        return kInputCountMessage;
    const std::optional<double> result = Infer(*ruleBase, mxGetPr(data), count);
    if (!result)
        return kNotInitializedMessage;
    plhs[0] = mxCreateDoubleScalar(*result);
    for (int i = 1; i < nlhs; ++i)
        plhs[i] = mxCreateDoubleScalar(ruleBase->FiredRule(i));
    return {};
}

// The message of a refused call; empty when it succeeded.
std::string Query(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
    if (nrhs != 1 && nrhs != 2)
        return kArgumentCountMessage;
    int slot = 0;
    const mxArray* data = prhs[0];
    if (nrhs == 2) {
        if (!mxIsDouble(prhs[0]))
            return kTypeMessage;
        const std::optional<int> number = SlotNumber(prhs[0]);
        if (!number)
            return kSlotMessage;
        slot = *number;
        data = prhs[1];
    }
    if (mxIsChar(data))
        return LoadOrEmpty(slot, data);
    // A sparse array stores only its nonzero elements, so its data cannot be read as a vector.
    if (!mxIsDouble(data) || mxIsSparse(data))
        return kTypeMessage;
    if (mxIsComplex(data))
        return kComplexMessage;
    return Evaluate(slot, data, nlhs, plhs);
}

}  // namespace

// Not noexcept: mexErrMsgTxt leaves by Octave's own exception, which must pass through here.
extern "C" __attribute__((visibility("default"))) void mexFunction(int nlhs, mxArray* plhs[],
                                                                   int nrhs,
                                                                   const mxArray* prhs[]) {
    mexAtExit(ReleaseContainers);
    const std::string message = Query(nlhs, plhs, nrhs, prhs);
    if (!message.empty())
        mexErrMsgTxt(message.c_str());
}
