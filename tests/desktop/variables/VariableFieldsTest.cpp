#include <QTest>

#include "desktop/variables/ExprOperator.h"
#include "desktop/variables/VariableNumbers.h"
#include "desktop/variables/VariableValidation.h"
#include "tests/desktop/support/RulesTestModels.h"

using rules_test::Make;
using rules_test::Variable;

class VariableFieldsTest : public QObject {
    Q_OBJECT

  private slots:
    void validation_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("low");
        QTest::addColumn<QString>("high");
        QTest::addColumn<QString>("discretization");
        QTest::addColumn<int>("variable");
        QTest::addColumn<bool>("editMode");
        QTest::addColumn<QString>("message");

        const QString ok;
        QTest::newRow("valid") << "x"
                               << "0"
                               << "1"
                               << "301" << 0 << true << ok;
        QTest::newRow("name of another input")
            << "y"
            << "0"
            << "1"
            << "301" << 0 << true << "Variable name is already used!";
        QTest::newRow("copy named like its source")
            << "x"
            << "0"
            << "1"
            << "301" << 0 << false << "Variable name is already used!";
        QTest::newRow("output may share an input's name") << "x"
                                                          << "-1"
                                                          << "1"
                                                          << "301" << -1 << true << ok;
        QTest::newRow("bounds equal")
            << "x"
            << "1"
            << "1"
            << "301" << 0 << true << "Low bound is greater or equal to high bound!";
        QTest::newRow("low bound not a number") << "x"
                                                << "zero"
                                                << "1"
                                                << "301" << 0 << true << "Something is wrong!";
        QTest::newRow("negative cell above zero")
            << "z"
            << "0"
            << "1"
            << "301" << -1 << true
            << "Rulebase contains negative expressions for not symetrical bounds!";
        QTest::newRow("discretization 19") << "x"
                                           << "0"
                                           << "1"
                                           << "19" << 0 << true << "Discretization is out of range";
        QTest::newRow("discretization 1001")
            << "x"
            << "0"
            << "10"
            << "1001" << 0 << true << "Discretization is out of range";
        QTest::newRow("discretization 20") << "x"
                                           << "0"
                                           << "10"
                                           << "20" << 0 << true << ok;
        QTest::newRow("discretization 1000") << "x"
                                             << "0"
                                             << "10"
                                             << "1000" << 0 << true << ok;
        QTest::newRow("discretization not a number") << "x"
                                                     << "0"
                                                     << "10"
                                                     << "3e2" << 0 << true << "Something is wrong!";
        QTest::newRow("symmetric even")
            << "z"
            << "-1"
            << "1"
            << "100" << -1 << true << "Discretization for symetrical variable must be odd value!";
        QTest::newRow("symmetric odd") << "z"
                                       << "-1"
                                       << "1"
                                       << "101" << -1 << true << ok;
        QTest::newRow("integer parts both 0")
            << "x"
            << "0"
            << "0.5"
            << "300" << 0 << true << "Discretization for symetrical variable must be odd value!";
    }
    void validation() {
        QFETCH(QString, name);
        QFETCH(QString, low);
        QFETCH(QString, high);
        QFETCH(QString, discretization);
        QFETCH(int, variable);
        QFETCH(bool, editMode);
        QFETCH(QString, message);
        auto ruleBase = Make({Variable("x"), Variable("y")}, {Variable("z", "linguistic", -1, 1)},
                             {{"sm", "bi", "-sm"}});
        const auto error =
            ValidateVariableFields(*ruleBase,
                                   {name.toStdString(), low.toStdString(), high.toStdString(),
                                    discretization.toStdString()},
                                   {variable, editMode, true});
        QCOMPARE(QString::fromStdString(error ? error->message : std::string()), message);
        if (error)
            QCOMPARE(error->notANumber, message == "Something is wrong!");
    }

    // A Takagi-Sugeno output whose combination subtracts is no negative expression.
    void linearCombinationMayHoldAMinus() {
        auto ruleBase = Make({Variable("x")}, {Variable("v", "linc", 0, 1)},
                             {{"sm", "0.9 - 0.01*x1"}}, "takagi_sugeno");
        QVERIFY(!ValidateVariableFields(*ruleBase, {"v", "0", "1", "0"}, {-1, true, false}));
    }

    // Changing [0, 10] while a rule holds "about 5": [0, 20] keeps it inside, [0, 4] cuts it.
    void recomputeAndCutAboutNumbers() {
        auto ruleBase = Make({Variable("x", "linguistic", 0, 10)}, {Variable("y")},
                             {{"about 5", "sm"}, {"#", "sm", "bi"}, {"about 5", "bi"}});
        QVERIFY(RulesUseNumbers(*ruleBase, 0));
        QVERIFY(!RulesUseNumbers(*ruleBase, -1));
        QVERIFY(!SomeNumberOutside(*ruleBase, 0, 0, 20));
        QVERIFY(SomeNumberOutside(*ruleBase, 0, 0, 4));

        ApplyToNumbers(*ruleBase, 0, Recomputer(0, 20, 0, 10));
        QCOMPARE(ruleBase->GetAntExpression(0, 0), std::string("about 10"));
        QCOMPARE(ruleBase->GetAntExpression(0, 2), std::string("about 10"));
        QCOMPARE(ruleBase->GetAntExpression(0, 1), std::string("sm"));
        QVERIFY(!ruleBase->IsRuleActive(1));

        ApplyToNumbers(*ruleBase, 0, Bounder(0, 4));
        QCOMPARE(ruleBase->GetAntExpression(0, 0), std::string("about 4"));
        QCOMPARE(ruleBase->GetSucExpression(0, 2), std::string("bi"));
    }

    void recomputeCrispOutputs() {
        auto ruleBase = Make({Variable("x")}, {Variable("v", "linc", 0, 10)},
                             {{"sm", "2.5"}, {"bi", "1 + x1"}}, "singleton");
        QVERIFY(RulesUseNumbers(*ruleBase, -1));
        ApplyToNumbers(*ruleBase, -1, Recomputer(0, 100, 0, 10));
        QCOMPARE(ruleBase->GetSucExpression(0, 0), std::string("25"));
        QCOMPARE(ruleBase->GetSucExpression(0, 1), std::string("1 + x1"));
    }
};

QTEST_GUILESS_MAIN(VariableFieldsTest)
#include "VariableFieldsTest.moc"
