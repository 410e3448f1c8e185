#include "core/io/RuleBaseReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/inference/InferenceMethods.h"
#include "core/io/RuleBaseWriter.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/lang/CTriangSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/sets/CFuzzyParamSet.h"
#include "core/text/ESyntax.h"
#include "core/text/Scanner.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

namespace {

const char kBase[] =
    "!COMMENT!\n"
    "Test model.\n"
    "!END_COMMENT!\n"
    "\n"
    "TypeOfDescription=linguistic\n"
    "InfMethod=Fuzzy_Approximation-functional\n"
    "DefuzzMethod=SimpleCenterOfGravity\n"
    "UseFuzzyFilter=false\n"
    "\n"
    "NumberOfAntecedentVariables=2\n"
    "NumberOfSuccedentVariables=1\n"
    "NumberOfRules=3\n"
    "\n"
    "AntVariable1\n"
    " name=a\n"
    " settings=linguistic\n"
    " context=<0,10>\n"
    " discretization=101\n"
    " lingparams=0.05 0.304 0.4 0.94\n"
    "End_AntVariable1\n"
    "\n"
    "AntVariable2\n"
    " name=b\n"
    " settings=triang\n"
    " context=<0,1>\n"
    " UserTerm\n"
    "  name=high, hi\n"
    "  type=trapezoid\n"
    "  parameters= 0.5 0.8 1 1\n"
    " End_UserTerm\n"
    "End_AntVariable2\n"
    "\n"
    "SucVariable1\n"
    " name=y\n"
    " settings=linguistic\n"
    " context=<0,1>\n"
    " discretization=51\n"
    " lingparams=0.05 0.304 0.4 0.94\n"
    "End_SucVariable1\n"
    "\n"
    "RULES\n"
    " \"sm\" \"small\" | \"bi\"\n"
    " \"me\" \"high\" | \"me\"\n"
    " \"bi\" \"big\" | \"sm\"\n"
    "END_RULES\n";

// The base text with edits applied in order, each replacing the first occurrence.
std::string Edited(std::vector<std::pair<std::string, std::string>> edits) {
    std::string text = kBase;
    for (const auto& [from, to] : edits) {
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        if (at != std::string::npos)
            text.replace(at, from.size(), to);
    }
    return text;
}

TEST(RuleBaseReader, ReadsTheBaseModel) {
    const CRuleBase ruleBase = ReadRuleBaseText(kBase, "base.rb");
    EXPECT_EQ(ruleBase.GetFileName(), "base.rb");
    EXPECT_EQ(ruleBase.GetDescription(), "Test model.");
    EXPECT_EQ(ruleBase.GetInferenceMethod(), &LZadInfCrisp);
    EXPECT_EQ(ruleBase.GetNumRules(), 3);
    EXPECT_EQ(ruleBase.GetDiscretization(0), 101);
    EXPECT_EQ(ruleBase.GetDiscretization(-1), 51);
    EXPECT_EQ(ruleBase.GetSettings(1).GetTypeName(), "triang");
    EXPECT_EQ(ruleBase.GetFiredCount(), -1);
    EXPECT_EQ(ruleBase.GetInputs().size(), 2u);
    EXPECT_EQ(ruleBase.GetRuleComplexity()[0], 19u);  // "sm"; "b" is not linguistic
    EXPECT_EQ(RuleBaseText(ruleBase), kBase);
}

struct BadFile {
    const char* name;
    std::vector<std::pair<std::string, std::string>> edits;
    std::string message;
};

class RuleBaseReaderErrors : public ::testing::TestWithParam<BadFile> {};

TEST_P(RuleBaseReaderErrors, ReportsTheFirstError) {
    const std::string text = Edited(GetParam().edits);
    try {
        ReadRuleBaseText(text);
        FAIL() << "read without an error";
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Message().substr(0, GetParam().message.size()), GetParam().message);
        EXPECT_EQ(error.Position(), 0);
    }
}

const BadFile kBadFiles[] = {
    {"NoEndRules", {{"END_RULES", "END_RULE"}}, "bad file type"},
    {"UnknownKind", {{"=linguistic", "=fuzzy"}}, "unknown type of description "},
    {"BlockOutOfOrder", {{"\nAntVariable2", "\nAntVariable3"}}, "variables out of order"},
    {"ClosingNumberDiffers",
     {{"End_AntVariable2", "End_AntVariable7"}},
     "Variable dont match End_Variable"},
    {"NoClosingWord", {{"End_AntVariable2", "End_Variable2"}}, "missing: End_AntVariable"},
    {"NoName", {{" name=a", " nom=a"}}, "missing: name"},
    {"NoSettings", {{"settings=linguistic", "setting=linguistic"}}, "missing: settings"},
    {"NoContext", {{"context=<0,10>", "contxt=<0,10>"}}, "missing: context"},
    {"ContextReversed", {{"<0,10>", "<10,0>"}}, "bad context bounds"},
    {"ContextEmpty", {{"<0,10>", "<3,3>"}}, "bad context bounds"},
    {"ContextWithoutComma", {{"<0,10>", "<0 10>"}}, "bad context bounds"},
    {"ContextWithoutUpperEnd", {{"<0,10>", "<0,>"}}, "bad context bounds"},
    {"ContextNotFinite", {{"<0,10>", "<0,inf>"}}, "bad context bounds"},
    {"NoDiscretization", {{"discretization=101", "discretisation=101"}}, "missing: discretization"},
    {"ZeroDiscretization", {{"=101", "=0"}}, "bad value of discretization"},
    {"NegativeDiscretization", {{"=101", "=-5"}}, "bad value of discretization"},
    {"HugeDiscretization", {{"=101", "=2000000000"}}, "bad value of discretization"},
    {"LincInLinguisticBase",
     {{"settings=triang", "settings=linc"}},
     "wrong settings type for a given description type"},
    {"LinguisticOutputOfSingletons",
     {{"=linguistic", "=singleton"}},
     "wrong settings type for a given description type"},
    {"LincAmongInputs",
     {{"=linguistic", "=singleton"}, {"settings=triang", "settings=linc"}},
     "Takagi-Sugeno or singleton type variable among antecedents"},
    {"AliasWithoutOpening", {{"settings=triang", "settings=alias a)"}}, "missing: ("},
    {"AliasWithoutClosing", {{"settings=triang", "settings=alias(a"}}, "missing: )"},
    {"AliasToNobody", {{"settings=triang", "settings=alias(c)"}}, "alias to nonexistent variable "},
    {"AliasToLaterVariable",
     {{"settings=triang", "settings=alias(y)"}},
     "alias to nonexistent variable "},
    {"ThreeLingparams",
     {{"lingparams=0.05 0.304 0.4 0.94", "lingparams=0.05 0.304 0.4"}},
     "missing or bad parameter"},
    {"UnknownSettings", {{"settings=triang", "settings=trapez"}}, "unknown type of settings "},
    {"UserTermWithoutEnd", {{" End_UserTerm", " EndUserTerm"}}, "missing: End_UserTerm"},
    {"UnknownShape", {{"type=trapezoid", "type=bell"}}, "unknown type of fuzzy set "},
    {"TooFewTermParameters",
     {{"parameters= 0.5 0.8 1 1", "parameters= 0.5 0.8 1"}},
     "missing or bad parameter"},
    {"TermParameterNotFinite",
     {{"parameters= 0.5 0.8 1 1", "parameters= 0.5 0.8 1 nan"}},
     "missing or bad parameter"},
    {"TermWithoutName", {{"name=high, hi", "names"}}, "missing: name"},
    {"TermWithEmptyName", {{"name=high, hi", "name=, hi"}}, "missing: name"},
    {"TermWithoutType", {{"type=trapezoid", "typ=trapezoid"}}, "missing: type"},
    {"TermWithoutParameters", {{"parameters=", "params="}}, "missing: parameters"},
    {"NoInfMethod", {{"InfMethod=", "InfMethod:"}}, "missing: InfMethod"},
    {"UnknownInfMethod",
     {{"InfMethod=Fuzzy_Approximation-functional", "InfMethod=Fuzzy"}},
     "unknown type of inference method "},
    {"NoDefuzzMethod", {{"DefuzzMethod=", "Defuzz="}}, "missing: DefuzzMethod"},
    {"UnknownDefuzzMethod",
     {{"=SimpleCenterOfGravity", "=Centroid"}},
     "unknown type of defuzzification method "},
    {"NoAntecedentCount",
     {{"NumberOfAntecedentVariables", "AntecedentVariables"}},
     "missing: NumberOfAntecedentVariables"},
    {"WrongAntecedentCount",
     {{"AntecedentVariables=2", "AntecedentVariables=3"}},
     "bad value of NumberOfAntecedentVariables"},
    {"NoSuccedentCount",
     {{"NumberOfSuccedentVariables", "SuccedentVariables"}},
     "missing: NumberOfSuccedentVariables"},
    {"WrongSuccedentCount",
     {{"SuccedentVariables=1", "SuccedentVariables=0"}},
     "bad value of NumberOfSuccedentVariables"},
    {"NoRuleCount", {{"NumberOfRules", "Rules"}}, "missing: NumberOfRules"},
    {"ZeroRules", {{"NumberOfRules=3", "NumberOfRules=0"}}, "bad value of NumberOfRules"},
    {"NegativeRules", {{"NumberOfRules=3", "NumberOfRules=-2"}}, "bad value of NumberOfRules"},
    {"RuleWithoutBar", {{"\"big\" | \"sm\"", "\"big\" \"sm\""}}, "error in rules"},
    {"RuleWithoutClosingQuote", {{"| \"sm\"", "| \"sm"}}, "error in rules"},
    {"NoInputs",
     {{"AntVariable1", "XntVariable1"},
      {"End_AntVariable1", "End_XntVariable1"},
      {"AntVariable2", "XntVariable2"},
      {"End_AntVariable2", "End_XntVariable2"},
      {"AntecedentVariables=2", "AntecedentVariables=0"}},
     "missing: AntVariable1"},
    {"NoOutputs",
     {{"SucVariable1", "XucVariable1"},
      {"End_SucVariable1", "End_XucVariable1"},
      {"SuccedentVariables=1", "SuccedentVariables=0"}},
     "missing: SucVariable1"},
    {"CellThatDoesNotParse", {{"\"high\"", "\"hgh\""}}, "bad expression in rule 2, variable b: "},
};

INSTANTIATE_TEST_SUITE_P(EveryMessage, RuleBaseReaderErrors, ::testing::ValuesIn(kBadFiles),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RuleBaseReader, ErrorTextShowsWhereTheReaderStopped) {
    try {
        ReadRuleBaseText(Edited({{"<0,10>", "<10,0>"}}));
        FAIL();
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Text().rfind("context=<10,0>\n discretization=101", 0), 0u);
    }
}

TEST(RuleBaseReader, MissingFileIsReportedByName) {
    try {
        ReadRuleBaseFile("/no/such/folder/model.rb");
        FAIL();
    } catch (const ESyntax& error) {
        EXPECT_EQ(error.Message(), "cannot read file by open");
        EXPECT_EQ(error.Text(), "/no/such/folder/model.rb");
    }
    EXPECT_THROW(CRuleBase("/no/such/folder/model.rb"), ESyntax);
}

TEST(RuleBaseReader, KeywordsAreFoundAnywhereTheFirstOneCounting) {
    // The description stands before the real key and decides.
    const CRuleBase ruleBase =
        ReadRuleBaseText(Edited({{"Test model.", "Try InfMethod=LLogInfCrisp first."}}));
    EXPECT_EQ(ruleBase.GetInferenceMethod(), &LLogInfCrisp);
}

TEST(RuleBaseReader, TopLevelLinesInAnyOrderReadTheSame) {
    std::string text = kBase;
    const std::string methods =
        "InfMethod=Fuzzy_Approximation-functional\nDefuzzMethod=SimpleCenterOfGravity\n";
    text.erase(text.find(methods), methods.size());
    const std::string counts = "NumberOfAntecedentVariables=2\nNumberOfSuccedentVariables=1\n";
    text.erase(text.find(counts), counts.size());
    text.insert(text.find("RULES"), "Some notes.\n" + counts + "more notes\n" + methods);
    text = "NumberOfRules=3 was counted by hand\n" + text;
    EXPECT_EQ(RuleBaseText(ReadRuleBaseText(text)), kBase);
}

TEST(RuleBaseReader, MethodsByShortNameAreWrittenBackByKeyword) {
    const CRuleBase ruleBase =
        ReadRuleBaseText(Edited({{"=Fuzzy_Approximation-functional", "=   LZadInfCrispProd"},
                                 {"=SimpleCenterOfGravity", "=DefuzTAVO"}}));
    EXPECT_EQ(ruleBase.GetInferenceMethod(), &LZadInfCrisp);  // its short name comes first
    EXPECT_NE(RuleBaseText(ruleBase).find(
                  "InfMethod=Fuzzy_Approximation-functional\nDefuzzMethod=DefuzzLingExpression\n"),
              std::string::npos);
}

TEST(RuleBaseReader, FilterSwitchIsOnlyRecorded) {
    const auto filter = [](const std::string& from, const std::string& to) {
        return ReadRuleBaseText(Edited({{from, to}})).GetUseFuzzyFilter();
    };
    EXPECT_TRUE(filter("Filter=false", "Filter= trueish"));
    EXPECT_FALSE(filter("Filter=false", "Filter=True"));
    EXPECT_FALSE(filter("UseFuzzyFilter=false\n", ""));
}

TEST(RuleBaseReader, WrongRuleCountOnlyWarns) {
    ::testing::internal::CaptureStdout();
    const CRuleBase more = ReadRuleBaseText(Edited({{"NumberOfRules=3", "NumberOfRules=5"}}));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "warning: bad value of NumberOfRules=5, new value NumberOfRules=3\n");
    EXPECT_EQ(more.GetNumRules(), 3);

    ::testing::internal::CaptureStdout();
    const CRuleBase fewer = ReadRuleBaseText(Edited({{"NumberOfRules=3", "NumberOfRules=2"}}));
    EXPECT_EQ(::testing::internal::GetCapturedStdout(),
              "warning: line 44 not read as a rule: \"bi\" \"big\" | \"sm\"\n");
    EXPECT_EQ(fewer.GetNumRules(), 2);
    EXPECT_EQ(fewer.GetAntExpression(0, 1), "me");
}

// Lines of the rules section that begin no rule are named by their number in the file, whichever
// line ends it uses; comments, blank lines and inactive rules are not.
TEST(RuleBaseReader, WarningsNameEveryLineNotReadAsARule) {
    using Warnings = std::vector<std::pair<int, std::string>>;  // line (0: the file), message
    const std::string me = " not read as a rule: \"me\" \"high\" | \"me\"";
    const std::pair<std::string, Warnings> cases[] = {
        {Edited({{"\"small\" |", "\"small\""}, {"RULES\n", "RULES\n; comment\n\n"}}),
         {{0, "bad value of NumberOfRules=3, new value NumberOfRules=2"}, {45, "line 45" + me}}},
        {Edited({{"\"small\" |", "\"small\""}, {"NumberOfRules=3", "NumberOfRules=2"}}),
         {{43, "line 43" + me}}},
        {Edited({{"NumberOfRules=3", "NumberOfRules=1"}, {"END_RULES", " stray \n#END_RULES"}}),
         {{43, "line 43" + me},
          {44, "line 44 not read as a rule: \"bi\" \"big\" | \"sm\""},
          {45, "line 45 not read as a rule: stray"}}},
    };
    for (const auto& [text, expected] : cases) {
        for (const bool crlf : {false, true}) {
            std::string file = text;
            for (std::size_t at = file.find('\n'); crlf && at != std::string::npos;
                 at = file.find('\n', at + 2))
                file.insert(at, "\r");
            Warnings warnings;
            RuleBaseReaderOptions options;
            options.warn = [&](const RuleBaseWarning& w) {
                warnings.emplace_back(w.line, w.message);
            };
            ReadRuleBaseText(file, "", options);
            EXPECT_EQ(warnings, expected) << file;
        }
    }
}

TEST(RuleBaseReader, CommentLinesAndInactiveRules) {
    const CRuleBase ruleBase =
        ReadRuleBaseText(Edited({{"RULES\n", "RULES\n; the first rule\n  ;; and more\n"},
                                 {" \"me\" \"high\"", "#; not a comment \"me\" \"high\""},
                                 {"\n \"bi\" \"big\"", "\n;\n#\"bi\" \"big\""}}));
    ASSERT_EQ(ruleBase.GetNumRules(), 3);
    EXPECT_TRUE(ruleBase.IsRuleActive(0));
    EXPECT_FALSE(ruleBase.IsRuleActive(1));
    EXPECT_FALSE(ruleBase.IsRuleActive(2));
    EXPECT_EQ(ruleBase.GetAntExpression(1, 1), "high");
    EXPECT_EQ(ruleBase.GetSucExpression(0, 2), "sm");
}

TEST(RuleBaseReader, FileWithoutCommentHasNoDescription) {
    const CRuleBase ruleBase =
        ReadRuleBaseText(Edited({{"!COMMENT!\nTest model.\n!END_COMMENT!\n\n", ""}}));
    EXPECT_TRUE(ruleBase.GetDescription().empty());
}

TEST(RuleBaseReader, NumbersCarrySinglePrecision) {
    const CRuleBase ruleBase =
        ReadRuleBaseText(Edited({{"<0,10>", "<0.1,10.3>"},
                                 {"lingparams=0.05 0.304 0.4 0.94", "lingparams=0.1 0.3 0.5 0.9"},
                                 {"0.5 0.8 1 1", "0.3 0.7 1 1"}}));
    EXPECT_EQ(ruleBase.GetLowerBound(0), static_cast<double>(0.1f));
    // The file lists P0 P2 P3 P1.
    const CLinguisticSettings::LingParams expected = {0.1f, 0.9f, 0.3f, 0.5f};
    EXPECT_EQ(dynamic_cast<const CLinguisticSettings&>(ruleBase.GetSettings(0)).GetLingParams(),
              expected);
    const auto& term =
        *dynamic_cast<const CTriangSettings&>(ruleBase.GetSettings(1)).Terms().back();
    EXPECT_EQ(term.Names(), (std::vector<std::string>{"high", "hi"}));
    const double a = 0.3f, b = 0.7f;
    EXPECT_EQ(term.Element().Membership(0.5), (0.5 - a) / (b - a));
}

TEST(RuleBaseReader, AliasSharesSettingsAndGrid) {
    const CRuleBase ruleBase =
        ReadRuleBaseText(Edited({{" settings=triang\n context=<0,1>\n", " settings=alias( a )\n"},
                                 {"\"small\"", "\"ve sm\""},
                                 {"\"high\"", "\"about 4\""},
                                 {"\"big\"", "\"bi\""}}));
    EXPECT_EQ(ruleBase.GetVariable(1).GetSettings(), ruleBase.GetVariable(0).GetSettings());
    EXPECT_EQ(ruleBase.GetDiscretization(1), 101);
    // The user term now belongs to the shared settings.
    const auto& settings = dynamic_cast<const CLinguisticSettings&>(ruleBase.GetSettings(0));
    EXPECT_EQ(settings.Terms().size(), 1u);
}

TEST(RuleBaseReader, GridsOfTriangAndLincVariablesFollowTheVariableBefore) {
    rulebase_test::Model model;
    model.kind = "singleton";
    model.inference = "Takagi-Sugeno Inference";
    model.inputs = {{"b", "triang"}, {"a", "linguistic", 0.0, 10.0, 101}};
    model.outputs = {{"y", "linc"}};
    model.rules = {rulebase_test::RuleLine({"small", "sm"}, {"0.5"})};
    const CRuleBase ruleBase = rulebase_test::Build(model);
    EXPECT_EQ(ruleBase.GetDiscretization(0), 301);  // read first: no variable before it
    EXPECT_EQ(ruleBase.GetDiscretization(-1), 101);
}

TEST(RuleBaseReader, ServerVariantKnowsFewerMethodsAndShapes) {
    static constexpr std::string_view kOlderShapes[] = {"triang", "trapezoid", "quadratic"};
    RuleBaseReaderOptions server;
    server.inferenceMethods = std::span(InferenceMethodTable).first(4);
    server.userTermShapes = kOlderShapes;
    server.readsFilterSwitch = false;
    EXPECT_FALSE(ReadRuleBaseText(Edited({{"Filter=false", "Filter=true"}}), "", server)
                     .GetUseFuzzyFilter());
    EXPECT_THROW(
        ReadRuleBaseText(Edited({{"=Fuzzy_Approximation-functional", "=LZadInfFuz"}}), "", server),
        ESyntax);
    EXPECT_THROW(ReadRuleBaseText(Edited({{"type=trapezoid", "type=gaussian"}}), "", server),
                 ESyntax);
}

// --- Examples and damaged files -------------------------------------------------------------

std::vector<std::filesystem::path> Examples() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(TAVO_EXAMPLES)) {
        if (entry.path().extension() == ".rb")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Runs the rule base's own methods at a few inputs.
std::vector<double> Evaluate(CRuleBase& ruleBase) {
    const int inputs = ruleBase.GetNumAntVariables();
    std::vector<double> outputs;
    for (double share : {0.0, 0.37, 1.0}) {
        std::vector<double> x(inputs);
        for (int i = 0; i < inputs; ++i) {
            x[i] = ruleBase.GetLowerBound(i) +
                   share * (ruleBase.GetUpperBound(i) - ruleBase.GetLowerBound(i));
        }
        outputs.push_back(ruleBase.CrispOutput(x));
    }
    return outputs;
}

TEST(RuleBaseExamples, ReadEvaluateAndWriteBackTheSameBytes) {
    const auto files = Examples();
    ASSERT_GE(files.size(), 6u);
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        CRuleBase ruleBase(file.string());
        EXPECT_EQ(ruleBase.GetFileName(), file.string());
        for (double output : Evaluate(ruleBase))
            EXPECT_TRUE(std::isfinite(output));
        EXPECT_EQ(RuleBaseText(ruleBase), ReadFileText(file.string()));
    }
}

// What may come of damaged text: a rule base that writes a file reading back the same and
// computing the same, or ESyntax; never anything else.
void ReadDamaged(const std::string& text, const std::string& what) {
    try {
        CRuleBase ruleBase = ReadRuleBaseText(text);
        bool small = true;
        for (int i = -ruleBase.GetNumSucVariables(); i < ruleBase.GetNumAntVariables(); ++i)
            small = small && ruleBase.GetDiscretization(i) <= 1001;
        small = small && ruleBase.GetDefuzzificationMethod() != SmoothDeffuzLingExpr;
        const std::vector<double> outputs = small ? Evaluate(ruleBase) : std::vector<double>{};
        // What is accepted is written, read again and written the same.
        std::string written;
        EXPECT_NO_THROW(written = RuleBaseText(ruleBase)) << what;
        CRuleBase again = ReadRuleBaseText(written);
        EXPECT_EQ(RuleBaseText(again), written) << what;
        if (small) {
            EXPECT_EQ(Evaluate(again), outputs) << what;
        }
    } catch (const ESyntax&) {
    } catch (const std::exception& error) {
        ADD_FAILURE() << what << ": " << error.what();
    }
}

TEST(RuleBaseDamaged, EveryTruncationReadsOrFailsCleanly) {
    for (const auto& file : Examples()) {
        const std::string text = ReadFileText(file.string());
        ::testing::internal::CaptureStdout();  // the rule-count warnings
        for (std::size_t length = 0; length <= text.size(); ++length) {
            const std::string what = file.filename().string() + " cut at " + std::to_string(length);
            ReadDamaged(text.substr(0, length), what);
            // With its end marker back the reader goes on into the cut part.
            ReadDamaged(text.substr(0, length) + "\nEND_RULES\n", what + " and ended");
        }
        ::testing::internal::GetCapturedStdout();
    }
}

TEST(RuleBaseDamaged, RandomByteChangesReadOrFailCleanly) {
    const std::string texts[] = {kBase,
                                 ReadFileText(std::string(TAVO_EXAMPLES) + "/about_alias.rb"),
                                 ReadFileText(std::string(TAVO_EXAMPLES) + "/user_terms.rb")};
    const char interesting[] = "\"|#;,<>()=0123456789-.e \n\r\0";
    ::testing::internal::CaptureStdout();
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        std::mt19937 random(seed);
        std::string text = texts[seed % std::size(texts)];
        const int changes = 1 + random() % 4;
        for (int c = 0; c < changes; ++c) {
            const std::size_t at = random() % text.size();
            switch (random() % 3) {
                case 0:
                    text[at] = static_cast<char>(random() % 256);
                    break;
                case 1:
                    text[at] = interesting[random() % (sizeof interesting - 1)];
                    break;
                default:
                    text.erase(at, 1 + random() % 12);
                    break;
            }
        }
        ReadDamaged(text, "seed " + std::to_string(seed));
    }
    ::testing::internal::GetCapturedStdout();
}

}  // namespace
