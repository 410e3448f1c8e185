#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include "core/lang/CLinguisticSettings.h"
#include "core/sets/CFuzzyParamSet.h"
#include "core/sets/ShapeFactory.h"
#include "desktop/userterms/UserTermsModel.h"

using namespace userterm;

namespace {

TermRow Shaped(const QString& name, UserTermShape shape, std::vector<double> params) {
    TermRow row;
    row.name = name;
    WriteShape(row, shape, params, false);
    return row;
}

}  // namespace

// The user-expressions model under Qt's own model checks while the editor's operations drive it.
class UserTermsModelTest : public QObject {
    Q_OBJECT

  private slots:
    void editingKeepsTheModelsRules() {
        UserTermsModel model(true);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        CLinguisticSettings settings(0, 1);
        auto set = CreateShapeSet(UserTermShape::kTriang, 0, 1);
        const double params[] = {0.2, 0.5, 0.8};
        set->SetParams(params);
        settings.AddTerm(
            std::make_unique<CNamedTerm>(std::vector<std::string>{"t", "tt"}, std::move(set)));
        UserTermRows rows;
        rows.Load(settings);
        model.Reset(std::move(rows));
        QCOMPARE(model.rowCount(), 1);
        QCOMPARE(model.columnCount(), 9);
        QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QString("LeftSupp"));
        QCOMPARE(model.index(0, 8).data().toString(), QString("N"));

        std::vector<TermRow> added;
        added.push_back(Shaped("g", UserTermShape::kGaussian, {0.1, 0.3, 0.4, 0.1}));
        added.push_back(Shaped("q", UserTermShape::kQuadratic, {0, 0.1, 0.2, 0.3, 0.4, 0.5}));
        model.Insert(0, std::move(added));
        QCOMPARE(model.index(2, 0).data().toString(), QString("t"));
        QCOMPARE(model.headerData(2, Qt::Vertical).toString(), QString("3."));

        // Only the name and the shape's parameters take typing.
        const auto editable = [&](int row) {
            QList<int> columns;
            for (int col = 0; col < model.columnCount(); ++col)
                if (model.flags(model.index(row, col)) & Qt::ItemIsEditable)
                    columns << UserTermsModel::GridColumn(col);
            return columns;
        };
        QCOMPARE(editable(0), QList<int>({1, 4, 5, 6, 7}));
        QCOMPARE(editable(2), QList<int>({1, 3, 5, 8}));
        QVERIFY(!model.setData(model.index(2, 1), "quadratic"));
        QVERIFY(!model.setData(model.index(2, 3), "0.3"));

        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QVERIFY(model.setData(model.index(2, 2), "x"));
        QCOMPARE(model.index(2, 2).data().toString(), QString("x"));
        QVERIFY(model.index(2, 2).data(UserTermsModel::NotANumberRole).toBool());
        QCOMPARE(*model.Row(2).Param(3).value, 0.2);
        QVERIFY(model.setData(model.index(2, 2), "x"));
        QCOMPARE(changed.size(), 1);

        TermRow renamed = model.Row(2);
        renamed.name = "t2";
        model.Replace(2, std::move(renamed));
        model.SetUsed(1, true);
        QCOMPARE(model.index(1, 8).data().toString(), QString("U"));
        model.Remove(0);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.Rows().Renames().at("t"), std::string("t2"));
    }

    void theStandardExpressionsTakeNoTyping() {
        UserTermsModel model(false);
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        UserTermRows rows;
        rows.Insert(0, Shaped("sm", UserTermShape::kQuadratic, {0, 0, 0, 0.05, 0.24, 0.36}));
        model.Reset(std::move(rows));
        for (int col = 0; col < model.columnCount(); ++col)
            QVERIFY(!(model.flags(model.index(0, col)) & Qt::ItemIsEditable));
        QVERIFY(!model.setData(model.index(0, 0), "bi"));
        QCOMPARE(model.index(0, 8).data().toString(), QString());
    }
};

QTEST_MAIN(UserTermsModelTest)
#include "UserTermsModelTest.moc"
