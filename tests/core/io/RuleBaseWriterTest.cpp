#include "core/io/RuleBaseWriter.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "core/checks/MergeInconsistentRules.h"
#include "core/io/RuleBaseReader.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/Rules.h"
#include "core/sets/CFuzzyTrapezoidSet.h"
#include "core/sets/CFuzzyTriangSet.h"
#include "core/text/ESyntax.h"
#include "core/text/Scanner.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

namespace {

const char kNewLinguistic[] =
    "!COMMENT!\n"
    "Enter your description of the rulebase here.\n"
    "!END_COMMENT!\n"
    "\n"
    "TypeOfDescription=linguistic\n"
    "InfMethod=Logical_Deduction\n"
    "DefuzzMethod=SimpDefuzzLingExpression\n"
    "UseFuzzyFilter=false\n"
    "\n"
    "NumberOfAntecedentVariables=1\n"
    "NumberOfSuccedentVariables=1\n"
    "NumberOfRules=1\n"
    "\n"
    "AntVariable1\n"
    " name=X\n"
    " settings=linguistic\n"
    " context=<0,1>\n"
    " discretization=301\n"
    " lingparams=0.05 0.304 0.4 0.94\n"
    "End_AntVariable1\n"
    "\n"
    "SucVariable1\n"
    " name=Y\n"
    " settings=linguistic\n"
    " context=<0,1>\n"
    " discretization=301\n"
    " lingparams=0.05 0.304 0.4 0.94\n"
    "End_SucVariable1\n"
    "\n"
    "RULES\n"
    " \"ze\" | \"ze\"\n"
    "END_RULES\n";

TEST(RuleBaseWriter, NewLinguisticRuleBase) {
    const CRuleBase ruleBase(CRuleBase::kLinguistic);
    EXPECT_EQ(RuleBaseText(ruleBase), kNewLinguistic);
    std::ostringstream out;
    Save(ruleBase, out);
    EXPECT_EQ(out.str(), kNewLinguistic);
}

TEST(RuleBaseWriter, EmptyDescriptionHasNoCommentBlock) {
    CRuleBase ruleBase(CRuleBase::kSingleton);
    ruleBase.SetDescription("");
    const std::string text = RuleBaseText(ruleBase);
    EXPECT_EQ(text.rfind("TypeOfDescription=singleton\nInfMethod=Takagi-Sugeno Inference\n", 0),
              0u);
    // A "linc" output has neither a grid nor parameters in the file.
    EXPECT_NE(text.find("SucVariable1\n name=Y\n settings=linc\n context=<0,1>\nEnd_SucVariable1"),
              std::string::npos);
}

TEST(RuleBaseWriter, InactiveRulesBeginWithTheMark) {
    rulebase_test::Model model;
    model.inputs = {{"a"}, {"b"}};
    model.outputs = {{"y"}};
    model.rules = {rulebase_test::RuleLine({"sm", "me"}, {"bi"}, false),
                   rulebase_test::RuleLine({"bi", "ve sm"}, {"ze"})};
    const std::string text = RuleBaseText(rulebase_test::Build(model));
    EXPECT_NE(text.find("RULES\n# \"sm\" \"me\" | \"bi\"\n \"bi\" \"ve sm\" | \"ze\"\nEND_RULES\n"),
              std::string::npos);
}

// "%g" where its six digits read back to the same single-precision value, else the fewest that
// do, so that a narrow context stays a context.
TEST(RuleBaseWriter, NumbersKeepTheirSinglePrecisionValue) {
    const struct {
        double lo, hi;
        const char* text;
    } cases[] = {{1e-5, 1e20, "<1e-05,1e+20>"},       {100000, 1e6, "<100000,1e+06>"},
                 {1, 1.000001, "<1,1.000001>"},       {1e6, 1000005, "<1e+06,1000005>"},
                 {0.1234567, 0.5, "<0.1234567,0.5>"}, {-1234.5678, 0, "<-1234.5677,0>"}};
    for (const auto& c : cases) {
        CRuleBase ruleBase(CRuleBase::kLinguistic);
        ruleBase.GetSettings(0).SetContext(c.lo, c.hi);
        const std::string text = RuleBaseText(ruleBase);
        EXPECT_NE(text.find(std::string(" context=") + c.text + "\n"), std::string::npos) << text;
        EXPECT_EQ(ReadRuleBaseText(text).GetUpperBound(0), static_cast<float>(c.hi)) << c.text;
    }
}

TEST(RuleBaseWriter, ARuleBaseWithoutRulesReadsBack) {
    std::string stated = kNewLinguistic;
    stated.replace(stated.find("NumberOfRules=1\n"), 16, "NumberOfRules=25\n");
    stated.erase(stated.find(" \"ze\" | \"ze\"\n"), 13);
    ::testing::internal::CaptureStdout();
    const CRuleBase empty = ReadRuleBaseText(stated);
    ::testing::internal::GetCapturedStdout();
    const std::string text = RuleBaseText(empty);
    EXPECT_NE(text.find("NumberOfRules=0\n"), std::string::npos);
    EXPECT_EQ(ReadRuleBaseText(text).GetNumRules(), 0);
}

TEST(RuleBaseWriter, SharedSettingsAreWrittenOnceAndThenNamed) {
    CRuleBase ruleBase;
    auto shared = std::make_shared<CLinguisticSettings>(0.0, 1.0);
    ruleBase.AppendVariable(std::make_unique<CFuzzyVariable>("in", shared, 301), false);
    ruleBase.AppendVariable(std::make_unique<CFuzzyVariable>("out", shared, 301), true);
    ruleBase.AppendVariable(std::make_unique<CFuzzyVariable>("out2", shared, 301), true);
    Rules rules;
    rules.AddRule({"sm", "bi", "me"});
    ruleBase.SetRulesFromSet(rules);
    const std::string text = RuleBaseText(ruleBase);
    EXPECT_NE(text.find("AntVariable1\n name=in\n settings=linguistic\n"), std::string::npos);
    EXPECT_NE(text.find("SucVariable1\n name=out\n settings=alias(in)\nEnd_SucVariable1\n\n"),
              std::string::npos);
    EXPECT_NE(text.find("SucVariable2\n name=out2\n settings=alias(in)\nEnd_SucVariable2\n\n"),
              std::string::npos);
    // What is written reads back into one shared settings object.
    const CRuleBase read = ReadRuleBaseText(text);
    EXPECT_EQ(read.GetVariable(-2).GetSettings(), read.GetVariable(0).GetSettings());
    EXPECT_EQ(RuleBaseText(read), text);
}

TEST(RuleBaseWriter, TriangSettingsKeepTheirUserTermsButNotTheirOwnTriangles) {
    CRuleBase ruleBase;
    auto triang = std::make_shared<CTriangSettings>(0.0, 10.0);
    triang->AddTerm(
        std::make_unique<CNamedTerm>(std::vector<std::string>{"warm", "wa"},
                                     std::make_unique<CFuzzyTriangSet>(4.0, 6.0, 8.5, 0.0, 10.0)));
    ruleBase.AppendVariable(std::make_unique<CFuzzyVariable>("t", triang, 51), false);
    ruleBase.AppendVariable(
        std::make_unique<CFuzzyVariable>("y", std::make_shared<CLinguisticSettings>(0, 1), 51),
        true);
    Rules rules;
    rules.AddRule({"wa", "bi"});
    ruleBase.SetRulesFromSet(rules);
    const std::string text = RuleBaseText(ruleBase);
    // The grid too: without its line the reader would give the first variable 301.
    EXPECT_NE(text.find("AntVariable1\n name=t\n settings=triang\n context=<0,10>\n"
                        " discretization=51\n UserTerm\n"
                        "  name=warm, wa\n  type=triang\n  parameters= 4 6 8.5\n End_UserTerm\n"
                        "End_AntVariable1\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("name=small"), std::string::npos);
    EXPECT_EQ(ReadRuleBaseText(text).GetDiscretization(0), 51);
}

InferenceResult NotInAnyTable(CRuleBase& ruleBase, const InferenceInput& inputs) {
    return LZadInfCrisp(ruleBase, inputs);
}

class RuleBaseFile : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ =
            std::filesystem::temp_directory_path() /
            ("tavo_writer_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    static std::string Contents(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    long Entries() const { return std::distance(std::filesystem::directory_iterator(folder_), {}); }
    // The refusal's message and text, "saved" when the file was written.
    static std::string Refusal(const std::filesystem::path& path,
                               const CRuleBase& ruleBase = CRuleBase(CRuleBase::kLinguistic)) {
        try {
            SaveRuleBaseFile(ruleBase, path.string());
        } catch (const ESyntax& error) {
            return error.Message() + " | " + error.Text();
        }
        return "saved";
    }

    std::filesystem::path folder_;
};

TEST_F(RuleBaseFile, SavingReplacesTheFileWhole) {
    const auto path = folder_ / "model.rb";
    std::ofstream(path) << "old contents";
    SaveRuleBaseFile(CRuleBase(CRuleBase::kLinguistic), path.string());
    EXPECT_EQ(Contents(path), kNewLinguistic);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);
}

TEST_F(RuleBaseFile, UnwritableTargetsFailAndLeaveWhatWasThere) {
    const auto missingFolder = folder_ / "missing" / "model.rb";
    try {
        SaveRuleBaseFile(CRuleBase(CRuleBase::kLinguistic), missingFolder.string());
        FAIL() << "wrote into a folder that does not exist";
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Message(), "cannot write file by open: No such file or directory");
        EXPECT_EQ(error.Text(), missingFolder.string());
    }

    const auto directory = folder_ / "taken";
    std::filesystem::create_directory(directory);
    EXPECT_THROW(SaveRuleBaseFile(CRuleBase(CRuleBase::kLinguistic), directory.string()), ESyntax);
    EXPECT_TRUE(std::filesystem::is_directory(directory));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder_), {}), 1);

    const auto existing = folder_ / "kept.rb";
    std::ofstream(existing) << "kept";
    CRuleBase odd(CRuleBase::kLinguistic);
    odd.SetInferenceMethod(NotInAnyTable);
    EXPECT_THROW(SaveRuleBaseFile(odd, existing.string()), std::invalid_argument);
    EXPECT_EQ(Contents(existing), "kept");
}

// Text the reader would take for something else: the save is refused, naming that text, and the
// file on disk stays as it was.
TEST_F(RuleBaseFile, TextThatWouldReadBackDifferentlyIsRefused) {
    const auto path = folder_ / "kept.rb";
    std::ofstream(path) << "kept";
    CRuleBase described(CRuleBase::kLinguistic);
    described.SetDescription("Counted by hand: NumberOfRules=3.");
    EXPECT_EQ(Refusal(path, described),
              "the description holds the keyword NumberOfRules= | NumberOfRules=3.");
    described.SetDescription("Ends with End_SucVariable1");
    EXPECT_EQ(Refusal(path, described),
              "the description holds the keyword SucVariable | SucVariable1");
    described.SetDescription("NumberOfRules=1, TypeOfDescription=linguistic");  // reads the same
    EXPECT_EQ(Refusal(folder_ / "saved.rb", described), "saved");

    CRuleBase named;
    for (const char* name : {"in, out", "y"}) {
        named.AppendVariable(std::make_unique<CFuzzyVariable>(
                                 name, std::make_shared<CLinguisticSettings>(0, 1), 301),
                             name[0] == 'y');
    }
    Rules rules;
    rules.AddRule({"sm", "bi"});
    named.SetRulesFromSet(rules);
    EXPECT_EQ(Refusal(path, named), "the file would not read back the same |  name=in, out");
    EXPECT_EQ(Contents(path), "kept");
}

TEST_F(RuleBaseFile, LinksAreFollowedSpecialFilesRefusedModesKept) {
    const auto path = folder_ / "model.rb";
    std::ofstream(path) << "old";
    ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || ::chown(path.c_str(), 65534, 65534) == 0);
    std::filesystem::create_symlink("model.rb", folder_ / "link.rb");
    EXPECT_EQ(Refusal(folder_ / "link.rb"), "saved");
    EXPECT_TRUE(std::filesystem::is_symlink(std::filesystem::symlink_status(folder_ / "link.rb")));
    EXPECT_EQ(Contents(path), kNewLinguistic);
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    EXPECT_TRUE(!root || status.st_uid == 65534u);

    const auto pipe = folder_ / "pipe.rb";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_EQ(Refusal(pipe), "cannot write file by open: not a regular file | " + pipe.string());
    EXPECT_TRUE(std::filesystem::is_fifo(pipe));
    EXPECT_EQ(Entries(), 3);
}

// Root may write any file, so an unprivileged child tries it.
TEST_F(RuleBaseFile, AFileTheUserMayNotWriteIsRefused) {
    const auto path = folder_ / "model.rb";
    std::ofstream(path) << "old";
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_EQ(::chmod(folder_.c_str(), 0777), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(2);
        ::_exit(Refusal(path).starts_with("cannot write file by open: Permission denied |") ? 0
                                                                                            : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "root here cannot become an unprivileged user";
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(Contents(path), "old");
    EXPECT_EQ(Entries(), 1);
}

TEST_F(RuleBaseFile, LeftoversDoNotBlockAndAFailedWriteLeavesNoneAndSaysWhy) {
    const auto path = folder_ / "model.rb";
    for (int attempt = 0; attempt < 100; ++attempt)
        std::ofstream(folder_ / ("model.rb.~" + std::to_string(attempt) + ".tmp")) << "stale";
    EXPECT_EQ(Refusal(path), "saved");

    // A full disk, as the file-size limit makes it.
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 4;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    CRuleBase changed(CRuleBase::kLinguistic);
    changed.SetDescription("changed");
    const std::string failure = Refusal(path, changed);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(failure, "cannot write file by write: File too large | " + path.string());
    EXPECT_EQ(Contents(path), kNewLinguistic);
    EXPECT_EQ(Entries(), 101);
}

// The value is what the reader makes of the written text, for awkward doubles (ties between
// two floats, the ends of the float range, subnormals) and random ones.
TEST(RuleBaseNumber, IsWhatTheReaderMakesOfTheWrittenText) {
    const double next = std::nextafter(1.0f, 2.0f), tie = (1 + next) / 2, oddTie = next + 0x1p-24;
    const double overflow = 0x1.ffffffp+127;  // half way from FLT_MAX to infinity
    std::vector<double> values = {0.1, 2.3, -0.7, 13.9, 0.304, 1e-50, 0.1234567, 16777217, -1e300};
    // Each with its neighbours.
    for (double value : {tie, oddTie, double(FLT_MAX), overflow, FLT_TRUE_MIN / 2.0, -0.0})
        values.insert(values.end(),
                      {value, std::nextafter(value, 0.0), std::nextafter(value, 1e300)});
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 20000; ++i) {
        const auto bits = (random() & 0x800fffffffffffffu) | ((896 + random() % 256) << 52);
        values.push_back(std::bit_cast<double>(bits));
    }
    for (double value : values) {
        const std::string text = RuleBaseNumberText(value);
        const double held = RuleBaseNumber(value);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(held),
                  std::bit_cast<std::uint64_t>(ReadNumbers(text.c_str(), 1).at(0)))
            << std::hexfloat << value << " written as " << text;
        EXPECT_EQ(RuleBaseNumber(held), held) << std::hexfloat << value;
    }
}

// A number typed as a bound lies in the context it bounds, whichever way the bound was rounded.
TEST(RuleBaseNumber, TypedBoundsLieInTheirContext) {
    for (double bound : {0.1, 2.3, -0.7, 13.9}) {
        const std::string about = "about " + std::to_string(bound);
        EXPECT_FALSE(CLinguisticSettings(bound - 1, bound).CheckExpression(about)) << about;
        EXPECT_FALSE(CLinguisticSettings(bound, bound + 1).CheckExpression(about)) << about;
    }
    EXPECT_TRUE(CLinguisticSettings(0, 1).CheckExpression("about 1.001"));
}

// A second input copied from the first, 25 rules, the default parameters.
void Defaults(CRuleBase& ruleBase) {
    ruleBase.AddAntVariable(std::make_unique<CFuzzyVariable>(
                                "Copy_X", std::make_shared<CLinguisticSettings>(0.0, 1.0), 301),
                            0);
    const char* terms[] = {"sm", "ml sm", "me", "ro bi", "bi"};
    Rules rules;
    for (int k = 0; k < 25; ++k)
        rules.AddRule({terms[k / 5], terms[k % 5], terms[(k / 5 + k % 5) / 2]});
    ruleBase.SetRulesFromSet(rules);
}

// The contexts as a person types them into the variable dialog.
void TypedContexts(CRuleBase& ruleBase) {
    Defaults(ruleBase);
    dynamic_cast<CBasicSettings&>(ruleBase.GetSettings(0)).MoveContext(0.1, 2.3);
    dynamic_cast<CBasicSettings&>(ruleBase.GetSettings(1)).MoveContext(-0.7, 13.9);
    ruleBase.Prepare();  // as the dialog does when it closes
}

// A user expression with a point dragged to pixel 311 of 607, then its context typed.
void DraggedUserExpression(CRuleBase& ruleBase) {
    auto& settings = dynamic_cast<CBasicSettings&>(ruleBase.GetSettings(0));
    settings.AddTerm(std::make_unique<CNamedTerm>(
        std::vector<std::string>{"warm", "wa"},
        std::make_unique<CFuzzyTrapezoidSet>(0.1, (311 - 25) / 557.0, 0.7, 0.9, 0, 1)));
    settings.MoveContext(0.1, 2.3);
    Rules rules;
    rules.AddRule({"wa", "bi"});
    rules.AddRule({"not wa", "about 0.3"});
    ruleBase.SetRulesFromSet(rules);
}

// One rule per data row, each value described by its variable's settings; inconsistent rules
// then merged into one with the mean of their conclusions.
void LearnedAndMergedRules(CRuleBase& ruleBase) {
    TypedContexts(ruleBase);
    Rules rules;
    for (int row = 0; row < 40; ++row) {
        std::vector<std::string> cells;
        for (int v : {0, 1, -1}) {
            const auto& settings = dynamic_cast<CLinguisticSettings&>(ruleBase.GetSettings(v));
            CLingTerm term;
            const double share = std::fmod(row * (0.37 - v * 0.21), 1.0);
            settings.DescribeValue(settings.GetLowerBound() + share * settings.GetUpperBound(),
                                   term, 2);
            settings.TermToText(term, cells.emplace_back());
        }
        rules.AddRule(std::move(cells));
    }
    ruleBase.SetRulesFromSet(rules);
    MergeInconsistentRules(ruleBase);
}

// A file's triangular terms follow a context typed for them, as the file is read again.
void TriangContextTyped(CRuleBase& ruleBase) {
    rulebase_test::Model model;
    model.inputs = {{"t", "triang", 0, 10}};
    model.outputs = {{"y"}};
    for (const char* term : {"small", "medium", "big"})
        model.rules.push_back(rulebase_test::RuleLine({term}, {"ml me"}));
    ruleBase = rulebase_test::Build(model);
    dynamic_cast<CBasicSettings&>(ruleBase.GetSettings(0)).MoveContext(0, 13.9);
    ruleBase.Prepare();
}

// A file never makes triangular terms symmetric, so a context typed symmetric must not either:
// "not" would keep only half of its grid until the file is read again.
void TriangContextTypedSymmetric(CRuleBase& ruleBase) {
    rulebase_test::Model model;
    model.inputs = {{"t", "triang", 0, 10}};
    model.outputs = {{"y"}};
    for (const char* term : {"not small", "medium", "not big"})
        model.rules.push_back(rulebase_test::RuleLine({term}, {"ml me"}));
    ruleBase = rulebase_test::Build(model);
    dynamic_cast<CBasicSettings&>(ruleBase.GetSettings(0)).MoveContext(-13.9, 13.9);
    ruleBase.Prepare();
}

void SingletonOutputs(CRuleBase& ruleBase) {
    ruleBase.GetSettings(0).SetContext(-0.7, 13.9);
    ruleBase.GetSettings(-1).SetContext(0.1, 2.3);
    Rules rules;
    for (const char* rule : {"sm", "me", "bi"})
        rules.AddRule({rule, rule[0] == 'm' ? "2.3" : "0.1"});
    ruleBase.SetRulesFromSet(rules);
}

struct BuiltModel {
    const char* name;
    TypeOfDescription kind;
    void (*build)(CRuleBase&);
};

void PrintTo(const BuiltModel& model, std::ostream* out) {
    *out << model.name;
}

const BuiltModel kBuiltModels[] = {
    {"Defaults", CRuleBase::kLinguistic, Defaults},
    {"TypedContexts", CRuleBase::kLinguistic, TypedContexts},
    {"DraggedUserExpression", CRuleBase::kLinguistic, DraggedUserExpression},
    {"LearnedAndMergedRules", CRuleBase::kLinguistic, LearnedAndMergedRules},
    {"TriangContextTyped", CRuleBase::kLinguistic, TriangContextTyped},
    {"TriangContextTypedSymmetric", CRuleBase::kLinguistic, TriangContextTypedSymmetric},
    {"SingletonOutputs", CRuleBase::kSingleton, SingletonOutputs}};

// The outputs on a grid of steps + 1 points per input, in bits.
std::vector<std::uint64_t> GridOutputs(CRuleBase& ruleBase, int steps) {
    const int inputs = ruleBase.GetNumAntVariables();
    std::vector<std::uint64_t> outputs;
    std::vector<double> x(inputs);
    for (int point = 0; point < std::pow(steps + 1, inputs); ++point) {
        for (int i = 0, rest = point; i < inputs; ++i, rest /= steps + 1) {
            const double lo = ruleBase.GetLowerBound(i), hi = ruleBase.GetUpperBound(i);
            x[i] = lo + (hi - lo) * (rest % (steps + 1)) / steps;
        }
        outputs.push_back(std::bit_cast<std::uint64_t>(ruleBase.CrispOutput(x)));
    }
    return outputs;
}

// Built in memory as the desktop builds it, with every method of its kind: the rule base
// computes the same, bit for bit, after it is written and read again.
class BuiltRuleBase : public ::testing::TestWithParam<BuiltModel> {};

TEST_P(BuiltRuleBase, ComputesTheSameAfterItIsWrittenAndRead) {
    for (const auto& inference : InferenceMethodTable) {
        if ((inference.Routine == LLinCInfCrisp) != (GetParam().kind == CRuleBase::kSingleton))
            continue;
        for (const auto& defuzzification : DefuzzificationMethodTable) {
            CRuleBase built(GetParam().kind);
            GetParam().build(built);
            built.SetInferenceMethod(inference.Routine);
            built.SetDefuzzificationMethod(defuzzification.Routine);
            // The smooth defuzzification runs a hundred inferences of its own for each point.
            const int steps = defuzzification.Routine == SmoothDeffuzLingExpr ? 1 : 10;
            CRuleBase read = ReadRuleBaseText(RuleBaseText(built));
            EXPECT_EQ(GridOutputs(built, steps), GridOutputs(read, steps))
                << inference.Keyword << ", " << defuzzification.Keyword;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AsTheDesktopBuildsThem, BuiltRuleBase, ::testing::ValuesIn(kBuiltModels),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
