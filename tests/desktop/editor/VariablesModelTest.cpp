#include <QAbstractItemModelTester>
#include <QTest>

#include "core/lang/CLinguisticSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/editor/VariablesModel.h"
#include "tests/core/rulebase/RuleBaseTestSupport.h"

// The variable pages' model under Qt's own model checks while variables come and go.
class VariablesModelTest : public QObject {
    Q_OBJECT

  private slots:
    void rowsFollowTheRuleBaseOnRefill() {
        rulebase_test::Model file;
        file.inputs = {rulebase_test::Variable("x", "linguistic", -1000, 0.5)};
        file.outputs = {rulebase_test::Variable("y", "linguistic", 1, 1.004)};
        file.rules = {rulebase_test::RuleLine({"sm"}, {"sm"})};
        CRuleBase ruleBase = rulebase_test::Build(file);
        VariablesModel inputs(ruleBase, false);
        VariablesModel outputs(ruleBase, true);
        QAbstractItemModelTester inputTester(
            &inputs, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QAbstractItemModelTester outputTester(
            &outputs, QAbstractItemModelTester::FailureReportingMode::QtTest);
        QStringList headers;
        for (int col = 0; col < inputs.columnCount(); ++col)
            headers << inputs.headerData(col, Qt::Horizontal).toString();
        QCOMPARE(headers, QStringList({"Name", "Short", "Lo", "Hi", "Type"}));
        QCOMPARE(inputs.index(0, 2).data().toString(), QString("-1000.00"));
        QCOMPARE(inputs.index(0, 3).data().toString(), QString("0.50"));
        QCOMPARE(outputs.index(0, 0).data().toString(), QString("y"));
        QCOMPARE(outputs.index(0, 3).data().toString(), QString("1.00"));
        QCOMPARE(outputs.flags(outputs.index(0, 0)) & Qt::ItemIsEditable, Qt::NoItemFlags);

        ruleBase.AddAntVariable(std::make_unique<CFuzzyVariable>(
                                    "z", std::make_shared<CLinguisticSettings>(0.0, 1.0), 301),
                                0);
        QCOMPARE(inputs.rowCount(), 1);
        inputs.Refill();
        QCOMPARE(inputs.rowCount(), 2);
        QCOMPARE(inputs.index(1, 0).data().toString(), QString("z"));
        ruleBase.DeleteVariable(0);
        // Until it is refilled the model keeps its rows, and those gone read empty.
        QCOMPARE(inputs.index(1, 0).data(), QVariant());
        inputs.Refill();
        QCOMPARE(inputs.rowCount(), 1);
        QCOMPARE(inputs.index(0, 0).data().toString(), QString("z"));
    }
};

QTEST_MAIN(VariablesModelTest)
#include "VariablesModelTest.moc"
