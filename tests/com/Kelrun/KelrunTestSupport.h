#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "com/Kelrun/Kelrun_tlb.h"
#include "core/defuzz/DefuzzificationMethods.h"
#include "core/rulebase/CRuleBase.h"
#include "core/sets/CFuzzyTriangSet.h"
#include "core/sets/SetOperand.h"
#include "platform/com/Bstr.h"
#include "platform/com/ComPtr.h"
#include "platform/com/Runtime.h"
#include "platform/com/SafeArray.h"
#include "tests/platform/PlatformTestSupport.h"

namespace kelrun_test {

using platform::com::ComPtr;

inline const std::string kModule = TAVO_KELRUN;

inline std::filesystem::path Example(const std::string& name) {
    return std::filesystem::path(TAVO_EXAMPLES) / name;
}

// Asks the loader without loading: a module really unloaded is not found.
inline bool IsLoaded(const std::string& module) {
    void* handle = ::dlopen(module.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (handle != nullptr)
        ::dlclose(handle);
    return handle != nullptr;
}

// As the Octave extension creates the object: everywhere first, and in-process or local when
// the runtime refuses that.
inline HRESULT CreateRuleBase(ComPtr<IRuleBaseCOM>& object) {
    HRESULT status = CoCreateInstance(CLSID_RuleBaseCOM, nullptr, CLSCTX_SERVER, IID_IRuleBaseCOM,
                                      object.ReleaseAndGetVoidAddressOf());
    if (status == E_INVALIDARG) {
        status =
            CoCreateInstance(CLSID_RuleBaseCOM, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                             IID_IRuleBaseCOM, object.ReleaseAndGetVoidAddressOf());
    }
    return status;
}

inline void LoadFile(IRuleBaseCOM& object, const std::filesystem::path& file) {
    const platform::com::UniqueBstr name(platform::com::Utf8ToBstr(file.string()));
    object.LoadFromFile(name.get());
}

inline std::string NameOf(IRuleBaseCOM& object, int index) {
    const platform::com::UniqueBstr name(object.VarName(index));
    EXPECT_NE(name, nullptr);
    return platform::com::BstrToUtf8(name.get());
}

// A VARIANT holding a one-dimensional array of doubles, as the caller builds it for Inference.
class DoubleArray {
  public:
    explicit DoubleArray(const std::vector<double>& values, LONG lowerBound = 0) {
        VariantInit(&value_);
        value_.vt = VT_ARRAY | VT_R8;
        value_.parray = SafeArrayCreateVector(VT_R8, lowerBound, static_cast<ULONG>(values.size()));
        for (std::size_t i = 0; i < values.size(); ++i) {
            const LONG index = lowerBound + static_cast<LONG>(i);
            SafeArrayPutElement(value_.parray, &index, &values[i]);
        }
    }
    DoubleArray(const DoubleArray&) = delete;
    DoubleArray& operator=(const DoubleArray&) = delete;
    ~DoubleArray() { VariantClear(&value_); }

    const VARIANT& Get() const { return value_; }

  private:
    VARIANT value_;
};

// The server's smooth defuzzification worked out step by step: around the inputs x, each
// input's window [x - w, x + w] (w a tenth of its universe, cut at the universe's ends) walked in
// steps of 2w / 10; every grid point inferred with the rule base's method and defuzzified with
// SimpDefuzzLingExpression, weighted by the product of triangles peaking at x.
inline double ReferenceSmooth(CRuleBase& ruleBase, const std::vector<double>& x) {
    const std::size_t n = x.size();
    std::vector<double> from(n), to(n), step(n), point(n);
    std::vector<CFuzzyTriangSet> triangles;
    for (std::size_t i = 0; i < n; ++i) {
        const double lo = ruleBase.GetLowerBound(static_cast<int>(i));
        const double hi = ruleBase.GetUpperBound(static_cast<int>(i));
        const double w = (hi - lo) / 10;
        step[i] = 2 * w / 10;
        from[i] = std::max(lo, x[i] - w);
        to[i] = std::min(hi, x[i] + w);
        triangles.emplace_back(from[i], x[i], to[i], lo, hi);
        point[i] = from[i];
    }
    double weights = 0;
    double weighted = 0;
    for (;;) {
        SetOperand set(ruleBase.GetInferenceMethod()(ruleBase, point).set);
        double y = 0;
        SimpDefuzzLingExpression(ruleBase, std::span<SetOperand>(&set, 1),
                                 std::span<double>(&y, 1));
        double weight = 1;
        for (std::size_t i = 0; i < n; ++i)
            weight *= triangles[i].Membership(point[i]);
        weights += weight;
        weighted += y * weight;
        std::size_t i = 0;
        for (; i < n; ++i) {
            point[i] += step[i];
            if (point[i] <= to[i])
                break;
            point[i] = from[i];
        }
        if (i == n)
            break;
    }
    return weights == 0 ? 0 : weighted / weights;
}

// The server registered in a store of the test's own (never the user's), on a thread where the
// runtime is initialised.
class ServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        const auto registration =
            platform::testing::RunProgram({TAVO_REGSVR, "-s", kModule}, store_.Directory());
        ASSERT_EQ(registration.exitCode, 0) << registration.err;
    }
    void TearDown() override { CoUninitialize(); }

    // A copy of an example with texts replaced, in the test's directory.
    std::filesystem::path EditedExample(
        const std::string& name, const std::vector<std::pair<std::string, std::string>>& edits) {
        std::string text = platform::testing::ReadFile(Example(name));
        for (const auto& [from, to] : edits) {
            const std::size_t at = text.find(from);
            EXPECT_NE(at, std::string::npos) << from;
            if (at != std::string::npos)
                text.replace(at, from.size(), to);
        }
        const std::filesystem::path file = store_.Directory() / ("edited_" + name);
        platform::testing::WriteFile(file, text);
        return file;
    }

    platform::testing::TemporaryStore store_;
};

}  // namespace kelrun_test
