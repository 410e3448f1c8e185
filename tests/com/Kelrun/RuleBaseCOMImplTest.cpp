// RuleBaseCOM through the component runtime, called as the Octave extension calls it, and
// checked against the core on every example where the server and the core agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "core/io/RuleBaseReader.h"
#include "platform/com/ErrorInfo.h"
#include "platform/com/Variant.h"
#include "tests/com/Kelrun/KelrunTestSupport.h"

namespace {

using kelrun_test::ComPtr;
using kelrun_test::DoubleArray;
using kelrun_test::Example;
using kelrun_test::LoadFile;
using kelrun_test::NameOf;

using Edits = std::vector<std::pair<std::string, std::string>>;

// d + (a - b) / (c - b) * (e - d) after clamping a into [b, c]: how the server maps values
// between a user range and a universe.
double Rescaled(double a, double b, double c, double d, double e) {
    a = a < b ? b : a > c ? c : a;
    return d + (a - b) / (c - b) * (e - d);
}

// User ranges: entry i < n of input i, entry n of the output.
struct Ranges {
    std::vector<double> lo;
    std::vector<double> hi;
};

Ranges Universes(const CRuleBase& ruleBase) {
    Ranges ranges;
    const int n = ruleBase.GetNumAntVariables();
    for (int i = 0; i <= n; ++i) {
        ranges.lo.push_back(ruleBase.GetLowerBound(i < n ? i : -1));
        ranges.hi.push_back(ruleBase.GetUpperBound(i < n ? i : -1));
    }
    return ranges;
}

// The server's answer worked out with the core's own reading of the file and its methods.
double CoreAnswer(CRuleBase& core, const std::vector<double>& x, const Ranges& user) {
    const int n = core.GetNumAntVariables();
    std::vector<double> scaled(n);
    for (int i = 0; i < n; ++i) {
        scaled[i] =
            Rescaled(x[i], user.lo[i], user.hi[i], core.GetLowerBound(i), core.GetUpperBound(i));
    }
    const double y = core.CrispOutput(scaled);
    return Rescaled(y, core.GetLowerBound(-1), core.GetUpperBound(-1), user.lo[n], user.hi[n]);
}

void ExpectAgreement(double server, double core, const std::string& where) {
    EXPECT_NEAR(server, core, 1e-12 * std::max(1.0, std::abs(core))) << where;
}

void ExpectSameFiredRules(IRuleBaseCOM& object, const CRuleBase& core, const std::string& where) {
    const int count = core.GetFiredCount();
    ASSERT_EQ(object.NumFiredRules(), count) << where;
    int k = 0;
    for (int r = 0; r < core.GetNumRules(); ++r) {
        if (core.IsRuleFired(r)) {
            ++k;
            EXPECT_EQ(object.FiredRule(k), r + 1) << where << " fired rule " << k;
        }
    }
    EXPECT_EQ(object.FiredRule(count + 1), 0) << where;
}

// Points of the input box in user units, some of them outside it.
std::vector<std::vector<double>> InputGrid(const Ranges& user, int n) {
    static constexpr double kShares[] = {-0.25, 0.0, 0.13, 0.5, 0.77, 1.0, 1.4};
    std::vector<std::vector<double>> points(1);
    for (int i = 0; i < n; ++i) {
        std::vector<std::vector<double>> longer;
        for (const auto& point : points) {
            for (double share : kShares) {
                auto extended = point;
                extended.push_back(user.lo[i] + share * (user.hi[i] - user.lo[i]));
                longer.push_back(std::move(extended));
            }
        }
        points = std::move(longer);
    }
    return points;
}

std::string Describe(const std::vector<double>& x) {
    std::string text = "at";
    for (double value : x)
        text += " " + std::to_string(value);
    return text;
}

class RuleBaseObjectTest : public kelrun_test::ServerTest {
  protected:
    ComPtr<IRuleBaseCOM> Create() {
        ComPtr<IRuleBaseCOM> object;
        EXPECT_EQ(kelrun_test::CreateRuleBase(object), S_OK);
        return object;
    }

    ComPtr<IRuleBaseCOM> Loaded(const std::filesystem::path& file) {
        ComPtr<IRuleBaseCOM> object = Create();
        if (object)
            LoadFile(*object.Get(), file);
        return object;
    }

    // Every point of the grid through both inference calls, against the core.
    void ExpectCoreAnswers(IRuleBaseCOM& object, CRuleBase& core, const Ranges& user) {
        const int n = core.GetNumAntVariables();
        for (const std::vector<double>& x : InputGrid(user, n)) {
            const std::string where = Describe(x);
            const double expected = CoreAnswer(core, x, user);
            const DoubleArray inputs(x);
            ExpectAgreement(object.Inference(inputs.Get()), expected, where);
            ExpectSameFiredRules(object, core, where);
            std::vector<double> copy = x;
            ExpectAgreement(object.InferenceOnDoubles(copy.data()), expected, where);
        }
    }
};

struct AgreeingCase {
    const char* name;
    const char* example;
    Edits edits;
};

void PrintTo(const AgreeingCase& c, std::ostream* out) {
    *out << c.name;
}

class AgreementTest : public RuleBaseObjectTest,
                      public ::testing::WithParamInterface<AgreeingCase> {};

TEST_P(AgreementTest, AnswersAsTheCoreDoes) {
    const AgreeingCase& c = GetParam();
    const std::filesystem::path file =
        c.edits.empty() ? Example(c.example) : EditedExample(c.example, c.edits);
    CRuleBase core = ReadRuleBaseFile(file.string());
    ComPtr<IRuleBaseCOM> object = Loaded(file);
    ASSERT_TRUE(object);
    const int n = core.GetNumAntVariables();
    ASSERT_EQ(object->NumInputVars(), n);
    EXPECT_EQ(object->NumFiredRules(), -1);  // no inference yet
    for (int i = -1; i < n; ++i) {
        EXPECT_EQ(NameOf(*object.Get(), i), core.GetVariableName(i));
        EXPECT_EQ(object->LoBoundOfVar(i), core.GetLowerBound(i));
        EXPECT_EQ(object->HiBoundOfVar(i), core.GetUpperBound(i));
    }

    ExpectCoreAnswers(*object.Get(), core, Universes(core));

    // Percentages for the inputs and a range of the caller's choice for the output.
    Ranges user = Universes(core);
    for (int i = 0; i < n; ++i) {
        user.lo[i] = 0;
        user.hi[i] = 100;
        object->setLoBoundOfVar(i, 0);
        object->setHiBoundOfVar(i, 100);
    }
    user.lo[n] = 1000;
    user.hi[n] = 2000;
    object->setLoBoundOfVar(n, 1000);
    object->setHiBoundOfVar(n, 2000);
    ExpectCoreAnswers(*object.Get(), core, user);
    for (int i = -1; i < n; ++i)
        EXPECT_EQ(object->LoBoundOfVar(i), core.GetLowerBound(i));  // not the user bounds
}

INSTANTIATE_TEST_SUITE_P(
    Examples, AgreementTest,
    ::testing::Values(AgreeingCase{"Triangles", "triangles.rb", {}},
                      AgreeingCase{"Controller", "controller.rb", {}},
                      AgreeingCase{"Singleton", "singleton.rb", {}},
                      AgreeingCase{"TakagiSugeno", "takagi_sugeno.rb", {}},
                      AgreeingCase{
                          "AboutAliasWithMinimum",
                          "about_alias.rb",
                          {{"=Fuzzy_Approximation-func_prod", "=Fuzzy_Approximation-functional"}}},
                      AgreeingCase{"UserTermsWithoutGaussian",
                                   "user_terms.rb",
                                   {{"type=gaussian\n  parameters= 20 20 23 30",
                                     "type=trapezoid\n  parameters= 18 20 23 30"}}},
                      AgreeingCase{"ControllerCnfCog",
                                   "controller.rb",
                                   {{"=Logical_Deduction", "=Fuzzy_Approximation-logical"},
                                    {"=DefuzzLingExpression", "=SimpleCenterOfGravity"}}},
                      AgreeingCase{"TrianglesModifiedCogAndFilterSwitch",
                                   "triangles.rb",
                                   {{"=SimpleCenterOfGravity", "=ModifiedCenterOfGravity"},
                                    {"UseFuzzyFilter=false", "UseFuzzyFilter=true"}}},
                      AgreeingCase{"SymmetricSimpleDee",
                                   "symmetric.rb",
                                   {{"=Smooth Deffuz Ling Expr", "=SimpDefuzzLingExpression"}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RuleBaseObjectTest, UserRangesScaleInputsAndOutput) {
    CRuleBase core = ReadRuleBaseFile(Example("triangles.rb").string());
    ComPtr<IRuleBaseCOM> object = Loaded(Example("triangles.rb"));
    ASSERT_EQ(object->NumInputVars(), 2);
    object->setLoBoundOfVar(0, 0);
    object->setHiBoundOfVar(0, 100);
    object->setLoBoundOfVar(2, 1000);
    object->setHiBoundOfVar(2, 2000);
    // 50 of [0, 100] reaches the rule base as 0.5, 150 is clamped to 100, and so 1.
    const double y = core.CrispOutput(std::vector<double>{0.5, 0.3});
    std::vector<double> x = {50, 0.3};
    EXPECT_NEAR(object->InferenceOnDoubles(x.data()), 1000 + y * 1000, 1e-9);
    const double atEnd = core.CrispOutput(std::vector<double>{1.0, 0.3});
    x = {150, 0.3};
    EXPECT_NEAR(object->InferenceOnDoubles(x.data()), 1000 + atEnd * 1000, 1e-9);
    x = {100, 0.3};
    EXPECT_NEAR(object->InferenceOnDoubles(x.data()), 1000 + atEnd * 1000, 1e-9);
    // An output beyond its universe is clamped to it first: the whole range [0, 1] maps onto
    // the user range, nothing outside it comes back.
    object->setLoBoundOfVar(2, -1);
    object->setHiBoundOfVar(2, 1);
    for (double input : {0.0, 33.0, 100.0}) {
        x = {input, 0.9};
        const double answer = object->InferenceOnDoubles(x.data());
        EXPECT_GE(answer, -1);
        EXPECT_LE(answer, 1);
    }
}

TEST_F(RuleBaseObjectTest, FiredRulesAreNumberedFromOne) {
    CRuleBase core = ReadRuleBaseFile(Example("triangles.rb").string());
    ComPtr<IRuleBaseCOM> object = Loaded(Example("triangles.rb"));
    std::vector<double> x = {0.3, 0.6};
    object->InferenceOnDoubles(x.data());
    core.CrispOutput(x);
    const int count = object->NumFiredRules();
    ASSERT_GE(count, 2);
    std::vector<int> fired;
    for (int r = 0; r < core.GetNumRules(); ++r) {
        if (core.IsRuleFired(r))
            fired.push_back(r + 1);
    }
    ASSERT_EQ(static_cast<int>(fired.size()), count);
    EXPECT_EQ(object->FiredRule(0), fired[0]);
    EXPECT_EQ(object->FiredRule(1), fired[0]);
    EXPECT_EQ(object->FiredRule(INT_MIN), fired[0]);
    EXPECT_EQ(object->FiredRule(2), fired[1]);
    EXPECT_EQ(object->FiredRule(count), fired.back());
    EXPECT_EQ(object->FiredRule(count + 1), 0);
    EXPECT_EQ(object->FiredRule(INT_MAX), 0);
}

TEST_F(RuleBaseObjectTest, NothingLoadedGivesNeutralAnswers) {
    ComPtr<IRuleBaseCOM> object = Create();
    ASSERT_TRUE(object);
    const auto expectNeutral = [&](const std::string& where) {
        EXPECT_EQ(object->NumInputVars(), -1) << where;
        EXPECT_EQ(object->LoBoundOfVar(0), 0.0) << where;
        EXPECT_EQ(object->HiBoundOfVar(-1), 0.0) << where;
        const DoubleArray inputs({0.5, 0.5});
        EXPECT_EQ(object->Inference(inputs.Get()), 0.0) << where;
        std::vector<double> x = {0.5, 0.5};
        EXPECT_EQ(object->InferenceOnDoubles(x.data()), 0.0) << where;
        EXPECT_EQ(object->InferenceOnDoubles(nullptr), 0.0) << where;
        EXPECT_EQ(NameOf(*object.Get(), 0), "") << where;
        EXPECT_EQ(object->NumFiredRules(), 0) << where;
        EXPECT_EQ(object->FiredRule(1), 0) << where;
        object->setLoBoundOfVar(0, 1);
        object->setHiBoundOfVar(1, 2);
    };
    expectNeutral("new object");

    LoadFile(*object.Get(), store_.Directory() / "missing.rb");
    expectNeutral("missing file");
    object->LoadFromFile(nullptr);
    expectNeutral("no name");

    platform::testing::WriteFile(store_.Directory() / "garbage.rb", "not a rule base\n");
    const std::vector<std::pair<std::string, Edits>> damaged = {
        {"garbage.rb", {}},
        {"controller.rb", {{"\"ml me\" \"sm\" | \"me\"", "\"ml me\" \"sm\" | \"very much\""}}},
        {"controller.rb", {{"NumberOfRules=25", "NumberOfRules=0"}}},
        {"triangles.rb", {{"NumberOfSuccedentVariables=1", "NumberOfSuccedentVariables=2"}}},
    };
    for (const auto& [name, edits] : damaged) {
        // A good file first: a failed load must also drop what was loaded.
        LoadFile(*object.Get(), Example("singleton.rb"));
        ASSERT_EQ(object->NumInputVars(), 2);
        LoadFile(*object.Get(),
                 edits.empty() ? store_.Directory() / name : EditedExample(name, edits));
        expectNeutral(name);
    }
}

// The description of the calling thread's error information, which is taken; nullopt for none.
std::optional<std::string> TakeError() {
    ComPtr<IErrorInfo> info;
    BSTR text = nullptr;
    if (GetErrorInfo(0, info.ReleaseAndGetAddressOf()) != S_OK ||
        FAILED(info->GetDescription(&text)))
        return std::nullopt;
    const platform::com::UniqueBstr description(text);
    return platform::com::BstrToUtf8(description.get());
}

TEST_F(RuleBaseObjectTest, FailedLoadLeavesTheReadersMessageForTheCallingThreadOnly) {
    ComPtr<IRuleBaseCOM> object =
        Loaded(EditedExample("controller.rb", {{"=Logical_Deduction", "=Logical_Deductoin"}}));
    EXPECT_EQ(TakeError(), "unknown type of inference method Logical_Deductoin");
    EXPECT_EQ(TakeError(), std::nullopt);  // taken

    LoadFile(*object.Get(), store_.Directory() / "missing.rb");
    LoadFile(*object.Get(), Example("controller.rb"));
    EXPECT_EQ(TakeError(), std::nullopt);  // cleared by the load that succeeded

    std::optional<std::string> otherThreadError;
    std::thread([&] {
        LoadFile(*object.Get(), store_.Directory() / "missing.rb");
        otherThreadError = TakeError();
    }).join();
    EXPECT_EQ(otherThreadError, "cannot read file by open");
    EXPECT_EQ(TakeError(), std::nullopt);
}

TEST_F(RuleBaseObjectTest, InputsThatCannotBeReadGiveNaNAndChangeNothing) {
    ComPtr<IRuleBaseCOM> object = Loaded(Example("about_alias.rb"));
    ASSERT_EQ(object->NumInputVars(), -1);  // the product variant is not known here
    object = Loaded(Example("controller.rb"));
    ASSERT_EQ(object->NumInputVars(), 2);
    std::vector<double> x = {12.0, 70.0};
    const double answer = object->InferenceOnDoubles(x.data());
    const int fired = object->NumFiredRules();
    const int first = object->FiredRule(1);
    const auto unchanged = [&](const std::string& where) {
        EXPECT_EQ(object->NumFiredRules(), fired) << where;
        EXPECT_EQ(object->FiredRule(1), first) << where;
    };

    VARIANT scalar;
    VariantInit(&scalar);
    scalar.vt = VT_R8;
    scalar.dblVal = 12.0;
    EXPECT_TRUE(std::isnan(object->Inference(scalar)));
    VARIANT empty;
    VariantInit(&empty);
    EXPECT_TRUE(std::isnan(object->Inference(empty)));
    VARIANT noArray;
    VariantInit(&noArray);
    noArray.vt = VT_ARRAY | VT_R8;
    noArray.parray = nullptr;
    EXPECT_TRUE(std::isnan(object->Inference(noArray)));
    const DoubleArray tooShort({12.0});
    EXPECT_TRUE(std::isnan(object->Inference(tooShort.Get())));
    const DoubleArray none({});
    EXPECT_TRUE(std::isnan(object->Inference(none.Get())));
    const DoubleArray withNaN({12.0, std::nan("")});
    EXPECT_TRUE(std::isnan(object->Inference(withNaN.Get())));
    std::vector<double> withNaNs = {std::nan(""), 70.0};
    EXPECT_TRUE(std::isnan(object->InferenceOnDoubles(withNaNs.data())));
    EXPECT_TRUE(std::isnan(object->InferenceOnDoubles(nullptr)));
    unchanged("after refused inputs");

    // Elements are counted from the array's lower bound; extra ones are not read.
    const DoubleArray shifted({12.0, 70.0}, 5);
    EXPECT_EQ(object->Inference(shifted.Get()), answer);
    const DoubleArray longer({12.0, 70.0, 1e300});
    EXPECT_EQ(object->Inference(longer.Get()), answer);

    // An array of variants holding numbers, or texts of numbers.
    VARIANT variants;
    VariantInit(&variants);
    variants.vt = VT_ARRAY | VT_VARIANT;
    variants.parray = SafeArrayCreateVector(VT_VARIANT, 0, 2);
    VARIANT element;
    VariantInit(&element);
    element.vt = VT_I4;
    element.lVal = 12;
    LONG index = 0;
    SafeArrayPutElement(variants.parray, &index, &element);
    element.vt = VT_BSTR;
    element.bstrVal = platform::com::Utf8ToBstr(" 70.0 ");
    index = 1;
    SafeArrayPutElement(variants.parray, &index, &element);
    EXPECT_EQ(object->Inference(variants), answer);
    VariantClear(&element);
    element.vt = VT_BSTR;
    element.bstrVal = platform::com::Utf8ToBstr("seventy");
    SafeArrayPutElement(variants.parray, &index, &element);
    EXPECT_TRUE(std::isnan(object->Inference(variants)));
    VariantClear(&element);
    VariantClear(&variants);
}

TEST_F(RuleBaseObjectTest, MethodsOfTheOtherKindOfRuleBaseGiveNaN) {
    const struct {
        const char* example;
        Edits edits;
    } cases[] = {
        {"triangles.rb", {{"=Fuzzy_Approximation-functional", "=Takagi-Sugeno Inference"}}},
        {"singleton.rb", {{"=Takagi-Sugeno Inference", "=Logical_Deduction"}}},
    };
    for (const auto& c : cases) {
        ComPtr<IRuleBaseCOM> object = Loaded(EditedExample(c.example, c.edits));
        ASSERT_EQ(object->NumInputVars(), 2) << c.example;
        std::vector<double> x = {0.3, 0.6};
        EXPECT_TRUE(std::isnan(object->InferenceOnDoubles(x.data()))) << c.example;
    }
}

TEST_F(RuleBaseObjectTest, IndicesOutsideTheArraysReadAndWriteNothing) {
    CRuleBase core = ReadRuleBaseFile(Example("controller.rb").string());
    ComPtr<IRuleBaseCOM> object = Loaded(Example("controller.rb"));
    ASSERT_EQ(object->NumInputVars(), 2);
    for (int index : {2, 3, -2, INT_MIN, INT_MAX}) {
        EXPECT_EQ(object->LoBoundOfVar(index), 0.0) << index;
        EXPECT_EQ(object->HiBoundOfVar(index), 0.0) << index;
        EXPECT_EQ(NameOf(*object.Get(), index), "") << index;
    }
    EXPECT_EQ(NameOf(*object.Get(), -1), "braking");
    std::vector<double> x = {12.0, 70.0};
    const double answer = object->InferenceOnDoubles(x.data());
    for (int index : {3, 4, -1, -2, INT_MIN, INT_MAX}) {
        object->setLoBoundOfVar(index, 5);
        object->setHiBoundOfVar(index, 6);
    }
    EXPECT_EQ(object->InferenceOnDoubles(x.data()), answer);
    // Position 2 is the output's.
    object->setLoBoundOfVar(2, 0);
    object->setHiBoundOfVar(2, 1);
    EXPECT_NEAR(object->InferenceOnDoubles(x.data()), answer / 100, 1e-12);
}

TEST_F(RuleBaseObjectTest, ObjectsKeepTheirOwnRuleBasesAndBounds) {
    ComPtr<IRuleBaseCOM> first = Loaded(Example("controller.rb"));
    ComPtr<IRuleBaseCOM> second = Loaded(Example("triangles.rb"));
    first->setHiBoundOfVar(2, 1);
    EXPECT_EQ(NameOf(*first.Get(), 0), "distance");
    EXPECT_EQ(NameOf(*second.Get(), 0), "x1");
    EXPECT_EQ(first->HiBoundOfVar(-1), 100.0);
    EXPECT_EQ(second->HiBoundOfVar(-1), 1.0);
    CRuleBase core = ReadRuleBaseFile(Example("triangles.rb").string());
    std::vector<double> x = {0.2, 0.7};
    EXPECT_NEAR(second->InferenceOnDoubles(x.data()), core.CrispOutput(x), 1e-12);
    second.Reset();
    core = ReadRuleBaseFile(Example("controller.rb").string());
    x = {10, 10};
    // The output's user range [0, 1] for a universe [0, 100].
    EXPECT_NEAR(first->InferenceOnDoubles(x.data()), core.CrispOutput(x) / 100, 1e-12);
}

TEST_F(RuleBaseObjectTest, TheSmoothMethodStepsATenthOfTheWindowUnfiltered) {
    // The example asks for the fuzzy filter, which the server does not have.
    CRuleBase reference = ReadRuleBaseFile(Example("symmetric.rb").string());
    ASSERT_TRUE(reference.GetUseFuzzyFilter());
    ComPtr<IRuleBaseCOM> object = Loaded(Example("symmetric.rb"));
    ASSERT_EQ(object->NumInputVars(), 2);
    for (const std::vector<double>& x :
         {std::vector<double>{-3.0, 0.2}, std::vector<double>{-10.0, 1.0},
          std::vector<double>{0.5, -0.05}}) {
        std::vector<double> copy = x;
        const double expected = kelrun_test::ReferenceSmooth(reference, x);
        EXPECT_NEAR(object->InferenceOnDoubles(copy.data()), expected, 1e-12) << Describe(x);
        // Inputs and fired rules are those of the inference that the smoothing ran around.
        reference.CrispOutput(x);
        ExpectSameFiredRules(*object.Get(), reference, Describe(x));
    }
}

TEST_F(RuleBaseObjectTest, FilesWithMethodsOrShapesTheServerLacksDoNotLoad) {
    ComPtr<IRuleBaseCOM> object = Loaded(Example("user_terms.rb"));  // a gaussian user term
    EXPECT_EQ(object->NumInputVars(), -1);
    for (const char* method : {"=Fuzzy_Approximation-func_prod", "=Fuzzy_Approximation-func_luk"}) {
        LoadFile(*object.Get(),
                 EditedExample("triangles.rb", {{"=Fuzzy_Approximation-functional", method}}));
        EXPECT_EQ(object->NumInputVars(), -1) << method;
    }
    // Short names are prefixes: "LZadInfCrispProd" reads as the minimum variant.
    CRuleBase core = ReadRuleBaseFile(Example("triangles.rb").string());
    LoadFile(
        *object.Get(),
        EditedExample("triangles.rb", {{"=Fuzzy_Approximation-functional", "=LZadInfCrispProd"}}));
    ASSERT_EQ(object->NumInputVars(), 2);
    std::vector<double> x = {0.3, 0.6};
    EXPECT_NEAR(object->InferenceOnDoubles(x.data()), core.CrispOutput(x), 1e-12);
}

TEST_F(RuleBaseObjectTest, MeanOfMaximaWritesItsLineForEveryInference) {
    const std::filesystem::path file =
        EditedExample("controller.rb", {{"=DefuzzLingExpression", "=MeanOfMaxima"}});
    CRuleBase core = ReadRuleBaseFile(file.string());
    ComPtr<IRuleBaseCOM> object = Loaded(file);
    ASSERT_EQ(object->NumInputVars(), 2);
    for (const std::vector<double>& x :
         {std::vector<double>{12.0, 70.0}, std::vector<double>{45.0, 3.0}}) {
        std::vector<double> copy = x;
        ::testing::internal::CaptureStdout();
        const double answer = object->InferenceOnDoubles(copy.data());
        const std::string printed = ::testing::internal::GetCapturedStdout();
        ExpectAgreement(answer, CoreAnswer(core, x, Universes(core)), Describe(x));
        EXPECT_TRUE(printed.starts_with("max= ")) << printed;
        EXPECT_EQ(std::count(printed.begin(), printed.end(), '\n'), 1) << printed;
    }
}

// Changes the working directory for the life of the object.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::filesystem::path& directory)
        : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(directory);
    }
    WorkingDirectory(const WorkingDirectory&) = delete;
    WorkingDirectory& operator=(const WorkingDirectory&) = delete;
    ~WorkingDirectory() { std::filesystem::current_path(old_); }

  private:
    std::filesystem::path old_;
};

TEST_F(RuleBaseObjectTest, EveryObjectOpensTheLogInTheWorkingDirectory) {
    const std::filesystem::path directory = store_.Directory() / "work";
    std::filesystem::create_directories(directory);
    const WorkingDirectory working(directory);
    const std::filesystem::path log = directory / "KelrunLog.txt";
    {
        ComPtr<IRuleBaseCOM> object = Loaded(Example("controller.rb"));
        ASSERT_TRUE(std::filesystem::exists(log));
        std::vector<double> x = {1, 2};
        object->InferenceOnDoubles(x.data());
    }
    EXPECT_EQ(std::filesystem::file_size(log), 0u);  // lines are composed, not written
    platform::testing::WriteFile(log, "earlier\n");
    ComPtr<IRuleBaseCOM> again = Create();
    again.Reset();
    EXPECT_EQ(platform::testing::ReadFile(log), "earlier\n");  // opened for appending
}

}  // namespace
