#include <QTest>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/ftransform/TFTransform.h"
#include "core/io/RuleBaseReader.h"
#include "core/rulebase/CRuleBase.h"
#include "core/rulebase/Rules.h"
#include "desktop/data/DataCompute.h"
#include "desktop/data/DataFileFormat.h"
#include "desktop/data/DataLearning.h"
#include "desktop/data/DataRows.h"
#include "desktop/data/DataTransforms.h"

namespace {

CRuleBase Example(const char* name) {
    return ReadRuleBaseFile(std::string(TAVO_EXAMPLES) + "/" + name);
}

void SetTexts(DataTable& table, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c)
        table.SetCell(c + 1, row, cells[c]);
}

// Triangular user terms t0, t1, ... spread evenly over [0, 10], so that they sum to 1 there.
std::string UserTerms(int m) {
    std::string text;
    const double h = m > 1 ? 10.0 / (m - 1) : 10.0;
    for (int j = 0; j < m; ++j) {
        const double c = j * h;
        text += " UserTerm\n  name=t" + std::to_string(j) +
                "\n  type=triang\n  parameters= " + std::to_string(c - h) + " " +
                std::to_string(c) + " " + std::to_string(c + h) + "\n End_UserTerm\n";
    }
    return text;
}

// A rule base over [0, 10] whose input i has termCounts[i] user terms, and one linguistic output
// over [0, 10] with outputTerms user terms.
CRuleBase UserTermBase(const std::vector<int>& termCounts, int outputTerms = 0) {
    std::string text =
        "TypeOfDescription=linguistic\nInfMethod=Logical_Deduction\n"
        "DefuzzMethod=DefuzzLingExpression\nUseFuzzyFilter=false\n\n"
        "NumberOfAntecedentVariables=" +
        std::to_string(termCounts.size()) + "\nNumberOfSuccedentVariables=1\nNumberOfRules=1\n\n";
    for (std::size_t i = 0; i < termCounts.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        text += "AntVariable" + n + "\n name=x" + n +
                "\n settings=linguistic\n context=<0,10>\n discretization=301\n";
        text += UserTerms(termCounts[i]) + "End_AntVariable" + n + "\n\n";
    }
    text += "SucVariable1\n name=y\n settings=linguistic\n context=<0,10>\n discretization=301\n" +
            UserTerms(outputTerms) + "End_SucVariable1\n\nRULES\n";
    for (std::size_t i = 0; i < termCounts.size(); ++i)
        text += " \"sm\"";
    text += " | \"sm\"\nEND_RULES\n";
    return ReadRuleBaseText(text);
}

void SetRow(DataTable& table, int row, const std::vector<double>& values) {
    for (std::size_t c = 0; c < values.size(); ++c)
        table.SetCell(static_cast<int>(c) + 1, row, QString::number(values[c], 'g', 17));
}

DataTable Rows(const std::vector<std::vector<double>>& rows) {
    DataTable table(static_cast<int>(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r)
        SetRow(table, static_cast<int>(r), rows[r]);
    return table;
}

}  // namespace

class DataUnitsTest : public QObject {
    Q_OBJECT

  private slots:
    void gridTextsReadAsNumbersWithEitherSeparator_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("number");
        QTest::addColumn<double>("value");
        QTest::newRow("comma") << "1,5" << true << 1.5;
        QTest::newRow("point with blanks") << " -2.25 " << true << -2.25;
        QTest::newRow("leading point") << "+.5" << true << 0.5;
        QTest::newRow("two separators") << "1,2.3" << false << 0.0;
        QTest::newRow("nan") << "nan" << false << 0.0;
        QTest::newRow("hexadecimal") << "0x10" << false << 0.0;
        QTest::newRow("estimate missing") << "N/A" << false << 0.0;
        QTest::newRow("overflow") << "1e999" << false << 0.0;
    }
    void gridTextsReadAsNumbersWithEitherSeparator() {
        QFETCH(QString, text);
        QFETCH(bool, number);
        QFETCH(double, value);
        double read = -7.0;
        QCOMPARE(GridTextToNumber(text, read), number);
        QCOMPARE(read, number ? value : -7.0);
    }

    void rowsAreClampedIntoTheirColumnsUniverses() {
        const CRuleBase ruleBase = Example("controller.rb");
        const DataLayout layout = DataLayout::Of(ruleBase);
        QCOMPARE(layout.EstimateColumn(), 4);
        DataTable table(1);
        SetTexts(table, 0, {"-3", "500", "40,5", "x"});
        std::vector<double> values(4, -1.0);
        QVERIFY(ReadDataRow(table, layout, 0, 3, values));
        QCOMPARE(values[0], 0.0);
        QCOMPARE(values[1], 120.0);
        QCOMPARE(values[2], 40.5);
        QVERIFY(!ReadDataRow(table, layout, 0, 4, values));
    }

    void importSkipsLeadingJunkAndReadsDecimalCommas() {
        const DataImport imported =
            ParseDataText("distance speed\r\nnan 3 4\n\n  1,5 20,25 30 extra\r\n2.5\t40\n\n", 3);
        QVERIFY(imported.complete);
        QCOMPARE(imported.rows.size(), std::size_t(3));
        QCOMPARE(imported.rows[0], (std::vector<QString>{"1.5", "20.25", "30"}));
        QCOMPARE(imported.rows[1], (std::vector<QString>{"2.5", "40"}));
        QVERIFY(imported.rows[2].empty());
        QVERIFY(ParseDataText("only\nwords\n", 2).rows.empty());
    }

    void importStopsAtALineNoDataFileHas_data() {
        QTest::addColumn<QString>("line");
        QTest::newRow("overlong word") << QString(kMaxDataWordLength + 1, '9');
        // Once read as a row of words.
        QTest::newRow("text") << "this is not";
    }
    void importStopsAtALineNoDataFileHas() {
        QFETCH(QString, line);
        const DataImport imported =
            ParseDataText("x y\n1 2\n3 4\n" + line.toStdString() + "\n5 6\n", 2);
        QVERIFY(!imported.complete);
        QCOMPARE(imported.rows.size(), std::size_t(2));
    }

    void computeWritesEstimatesAndNotApplicableRows() {
        CRuleBase ruleBase = Example("controller.rb");
        DataTable table(3);
        SetTexts(table, 0, {"10", "60", "50"});
        SetTexts(table, 1, {"abc", "60", "1"});
        SetTexts(table, 2, {"40", "", "3", "old", "ve sm"});
        ruleBase.SetInputs(std::vector<double>{1.0, 2.0});
        const RowEstimates estimates = ComputeEstimates(ruleBase, table);
        QCOMPARE(ruleBase.GetInputs()[0], 1.0);
        const double y = ruleBase.CrispOutput(std::vector<double>{10.0, 60.0});
        QCOMPARE(estimates, (RowEstimates{{0, y}}));
        QCOMPARE(table.Cell(4, 0), EstimateText(y));
        QVERIFY(!table.Cell(5, 0).isEmpty());
        QCOMPARE(table.Cell(4, 1), QString("N/A"));
        QCOMPARE(table.Cell(4, 2), QString("N/A"));
        QCOMPARE(table.Cell(5, 2), QString());
        // The error comes from the estimates, whatever their cells say.
        table.SetCell(4, 0, "junk");
        QCOMPARE(MaxErrorOfInference(table, DataLayout::Of(ruleBase), {{0, 49.5}, {1, 1.25}}), 0.5);
        table.SetCell(3, 0, "junk");
        QCOMPARE(MaxErrorOfInference(table, DataLayout::Of(ruleBase), estimates), 0.0);
    }

    void estimatesShowSixDecimalsOfTheValue_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("three digits were kept") << 45.5627 << "45.562700";
        QTest::newRow("negative zero") << -1e-9 << "0.000000";
    }
    void estimatesShowSixDecimalsOfTheValue() {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(EstimateText(value), text);
    }

    void negativeValuesAreDescribedWithOneSign() {
        const CRuleBase symmetric = Example("symmetric.rb");
        const QString text = DescribedValueText(symmetric, -1, symmetric.GetLowerBound(-1) * 0.9);
        QVERIFY2(text.startsWith('-') && !text.startsWith("--"), qPrintable(text));
        QVERIFY(!DescribedValueText(symmetric, -1, symmetric.GetUpperBound(-1)).startsWith('-'));
    }

    void approximateLearningPicksTheBestUserTerms() {
        const CRuleBase ruleBase = UserTermBase({3}, 3);
        DataTable table = Rows({{0.5, 9}, {1.0, 9}, {9, 1}, {0, 0}});
        table.SetCell(1, 3, "bad");
        QCOMPARE(ApproxLearningRefusal(ruleBase), std::string());
        Rules rules(true);
        QCOMPARE(LearnRulesFromData(ruleBase, table, false, rules), 2);
        QCOMPARE(rules[0].cells, (std::vector<std::string>{"t0", "t2"}));
        QCOMPARE(rules[0].count, 2);
        QCOMPARE(rules[1].cells, (std::vector<std::string>{"t2", "t0"}));
        const CRuleBase controller = Example("controller.rb");
        QCOMPARE(ApproxLearningRefusal(controller),
                 std::string("distance does not contain user defined terms."));
    }

    void methodTwoAppendsNewLinesOnly() {
        const std::string file =
            "a=1\nNumberOfRules=1\nx\nRULES\n \"sm\" | \"bi\"\nEND_RULES\n"
            "trailing\n";
        const auto rewritten =
            AppendRuleLines(file, {" \"sm\" | \"bi\"", " \"me\" | \"sm\"", " \"me\" | \"sm\""}, 1);
        QVERIFY(rewritten);
        QCOMPARE(rewritten->added, 1);
        QCOMPARE(rewritten->text,
                 std::string("a=1\nNumberOfRules=2\nx\nRULES\n \"sm\" | \"bi\"\n \"me\" | "
                             "\"sm\"\nEND_RULES\n"));
        QVERIFY(!AppendRuleLines("NumberOfRules=1\nRULES\n", {}, 1));
    }

    void mergeReportJoinsNeighbouringRules() {
        Rules rules(true);
        rules.AddRule({"p1_1", "p1_1", "p2_3"});
        rules.AddRule({"p1_2", "p1_1", "p2_3"});
        const std::string report = MergedRulesReport(rules);
        QVERIFY2(report.starts_with("\"t_1_2\"\t\"p1_1\"\t\"p2_3\"\t\n\n"), report.c_str());
        QVERIFY(report.find("var 0:\tt_1_2\t\n") != std::string::npos);
    }

    void nodeSearchBracketsTheTolerance_data() {
        QTest::addColumn<double>("tolerance");
        QTest::addColumn<int>("expected");
        // err(n) = 1 / n over 100 rows.
        QTest::newRow("reachable") << 0.1 << 11;
        QTest::newRow("first test accepts equality") << 1.0 / 100 << 100;
        QTest::newRow("exceeded") << 0.001 << -1;
        QTest::newRow("zero tolerance") << 0.0 << -1;
    }
    void nodeSearchBracketsTheTolerance() {
        QFETCH(double, tolerance);
        QFETCH(int, expected);
        std::vector<int> asked;
        const auto err = [&](int n) {
            asked.push_back(n);
            return 1.0 / n;
        };
        const std::optional<int> found = SearchNodeCount(100, tolerance, err);
        QCOMPARE(found.value_or(-1), expected);
        QCOMPARE(asked.front(), 100);
        if (!found)
            return;
        QCOMPARE(asked.back(), *found);
        QVERIFY(err(*found) <= tolerance);
        if (*found > 2)
            QVERIFY(err(*found - 1) >= tolerance);
    }

    void zeroToleranceNeedsAnExactFit() {
        std::vector<int> asked;
        const auto exact = [&](int n) {
            asked.push_back(n);
            return 0.0;
        };
        QCOMPARE(SearchNodeCount(40, 0.0, exact).value_or(-1), 40);
        // Only lo moves: 20, 30, 35, 37, 38, 39, between the first and the last test.
        QCOMPARE(asked.size(), std::size_t(1 + 6 + 1));
    }

    void fTransformRefusesAnOversizedNodeGrid() {
        const CRuleBase ruleBase = UserTermBase({3, 4});
        std::vector<FTDimensionSettings> settings = DefaultFTransformSettings(ruleBase);
        settings[0].nodes = settings[1].nodes = 1 << 12;
        QVERIFY_THROWS_EXCEPTION(std::length_error, ComputeFTransform(ruleBase, settings, {}));
    }

    void userTermTransformUsesEveryTermCombination() {
        const CRuleBase ruleBase = UserTermBase({3, 4});
        DataTable table = Rows({{0, 0, 2}, {10, 10, 6}, {5, 0, 4}, {0, 10, 4}});
        const auto estimates = UserTermTransformEstimates(ruleBase, table);
        QVERIFY(estimates);
        QCOMPARE(estimates->size(), std::size_t(4));
        // Each row sits on one node of the 3 x 4 grid of terms, so its own output comes back.
        const double expected[] = {2, 6, 4, 4};
        for (std::size_t i = 0; i < 4; ++i)
            QVERIFY(std::fabs((*estimates)[i].second - expected[i]) < 1e-12);
        const CRuleBase controller = Example("controller.rb");
        QVERIFY(!UserTermTransformEstimates(controller, table));
    }
};

QTEST_GUILESS_MAIN(DataUnitsTest)
#include "DataUnitsTest.moc"
