#include <QTest>

#include <cmath>
#include <vector>

#include "core/io/RuleBaseReader.h"
#include "core/math/NumericUtils.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/DataCompute.h"
#include "desktop/DataFileFormat.h"
#include "desktop/DataRows.h"
#include "desktop/toolkit/Conversions.h"

namespace {

CRuleBase Example(const char* name) {
    return ReadRuleBaseFile(std::string(TAVO_EXAMPLES) + "/" + name);
}

void SetRow(DataTable& table, int row, const QStringList& cells) {
    for (int c = 0; c < cells.size(); ++c)
        table.SetCell(c + 1, row, cells[c]);
}

}  // namespace

class DataRowsTest : public QObject {
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
        if (number)
            QCOMPARE(read, value);
        else
            QVERIFY_THROWS_EXCEPTION(toolkit::EConvertError, GridCellToNumber(text));
    }

    void rowsAreClampedIntoTheirColumnsUniverses() {
        const CRuleBase ruleBase = Example("controller.rb");
        const DataLayout layout = DataLayout::Of(ruleBase);
        QCOMPARE(layout.EstimateColumn(), 4);
        DataTable table(3);
        SetRow(table, 2, {"-3", "500", "40,5", "x"});
        std::vector<double> values(4, -1.0);
        QVERIFY(ReadDataRow(table, layout, 2, 3, values));
        QCOMPARE(values[0], 0.0);
        QCOMPARE(values[1], 120.0);
        QCOMPARE(values[2], 40.5);
        QVERIFY(!ReadDataRow(table, layout, 2, 4, values));
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

    void importStopsAtALineThatIsNoText_data() {
        QTest::addColumn<QByteArray>("bad");
        QTest::newRow("NUL byte") << QByteArray("7 \0 8\n", 6);
        QTest::newRow("endless word") << QByteArray(kMaxDataWordLength + 1, '9') + "\n";
    }
    void importStopsAtALineThatIsNoText() {
        QFETCH(QByteArray, bad);
        const QByteArray text = "x y\n1 2\n3 4\n" + bad + "5 6\n";
        const DataImport imported = ParseDataText(std::string_view(text.data(), text.size()), 2);
        QVERIFY(!imported.complete);
        QCOMPARE(imported.rows.size(), std::size_t(2));
        QCOMPARE(imported.rows[1], (std::vector<QString>{"3", "4"}));
    }

    void computeWritesEstimatesAndNotApplicableRows() {
        CRuleBase ruleBase = Example("controller.rb");
        DataTable table(5);
        SetRow(table, 2, {"10", "60", "50"});
        SetRow(table, 3, {"abc", "60", "1"});
        SetRow(table, 4, {"40", "", "3"});
        table.SetCell(4, 4, "old");
        ruleBase.SetInputs(std::vector<double>{1.0, 2.0});
        ComputeEstimates(ruleBase, table);
        QCOMPARE(ruleBase.GetInputs()[0], 1.0);
        const double y = ruleBase.CrispOutput(std::vector<double>{10.0, 60.0});
        QCOMPARE(table.Cell(4, 2), QString::fromStdString(FormatNumber(y, 6)));
        QVERIFY(!table.Cell(5, 2).isEmpty());
        QCOMPARE(table.Cell(4, 3), QString("N/A"));
        QCOMPARE(table.Cell(4, 4), QString("N/A"));
        const DataLayout layout = DataLayout::Of(ruleBase);
        QCOMPARE(MaxErrorOfInference(table, layout),
                 std::fabs(50.0 - GridCellToNumber(table.Cell(4, 2))));
        table.SetCell(3, 2, "junk");
        QCOMPARE(MaxErrorOfInference(table, layout), 0.0);
    }

    void negativeValuesAreDescribedWithOneSign() {
        const CRuleBase symmetric = Example("symmetric.rb");
        const QString text = DescribedValueText(symmetric, -1, symmetric.GetLowerBound(-1) * 0.9);
        QVERIFY2(text.startsWith('-') && !text.startsWith("--"), qPrintable(text));
        QVERIFY(!DescribedValueText(symmetric, -1, symmetric.GetUpperBound(-1)).startsWith('-'));
    }
};

QTEST_GUILESS_MAIN(DataRowsTest)
#include "DataRowsTest.moc"
