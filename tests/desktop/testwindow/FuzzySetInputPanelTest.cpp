#include "desktop/testwindow/FuzzySetInputPanel.h"

#include <QLineEdit>
#include <QtTest>
#include <memory>

#include "core/io/RuleBaseReader.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/testwindow/FuzzySetInputBox.h"

namespace {

// share on [0, 1], tilt on [-10, 10].
const char* const kRuleBase = TAVO_TEST_DATA "/desktop/panel_inputs.rb";

}  // namespace

class FuzzySetInputPanelTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void cleanup();
    void draggingPastTheEndsPinsTheCursor();
    void typingAValueMovesTheCursor_data();
    void typingAValueMovesTheCursor();
    void negativeValuesCarryTheirSignOnce();

  private:
    std::unique_ptr<CRuleBase> ruleBase_;
    std::unique_ptr<QWidget> host_;
    FuzzySetInputPanel* share_ = nullptr;
    FuzzySetInputPanel* tilt_ = nullptr;
};

void FuzzySetInputPanelTest::init() {
    ruleBase_ = std::make_unique<CRuleBase>(ReadRuleBaseFile(kRuleBase));
    host_ = std::make_unique<QWidget>();
    host_->resize(500, 300);
    share_ = new FuzzySetInputPanel(host_.get(), 0, *ruleBase_, QRect(10, 20, 470, 130));
    tilt_ = new FuzzySetInputPanel(host_.get(), 1, *ruleBase_, QRect(10, 160, 470, 130));
    host_->show();
    QVERIFY(QTest::qWaitForWindowExposed(host_.get()));
}

void FuzzySetInputPanelTest::cleanup() {
    host_.reset();
    ruleBase_.reset();
}

void FuzzySetInputPanelTest::draggingPastTheEndsPinsTheCursor() {
    FuzzySetInputBox* box = tilt_->Box();
    QCOMPARE(box->geometry(), QRect(95, 10, 470 - 105, 130 - 20));
    const int y = box->height() / 2;
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(-40, y));
    QCOMPARE(box->Cursor(), 0.0);
    QCOMPARE(tilt_->ValueEdit()->text(), QStringLiteral("-10.00"));
    // The move right after a press repeats it and is skipped.
    QTest::mouseMove(box, QPoint(box->width() / 2, y));
    QCOMPARE(box->Cursor(), 0.0);
    QTest::mouseMove(box, QPoint(box->width() + 40, y));
    QCOMPARE(box->Cursor(), 1.0);
    QCOMPARE(tilt_->ValueEdit()->text(), QStringLiteral("10.00"));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(box->width() + 40, y));
    // The axis runs 20 pixels in from either side.
    QTest::mousePress(box, Qt::LeftButton, {}, QPoint(20 + (box->width() - 40) / 4, y));
    QVERIFY(qAbs(box->Cursor() - 0.25) < 1.0 / (box->width() - 40));
    QTest::mouseRelease(box, Qt::LeftButton, {}, QPoint(0, y));
}

void FuzzySetInputPanelTest::typingAValueMovesTheCursor_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("cursor");
    QTest::newRow("comma") << "0,5" << 0.5;
    QTest::newRow("point") << "0.25" << 0.25;
    QTest::newRow("upper end") << "1" << 1.0;
    QTest::newRow("beyond the context") << "2" << 0.5;
    QTest::newRow("below the context") << "-3" << 0.5;
    QTest::newRow("half typed") << "-" << 0.5;
    QTest::newRow("not a number") << "abc" << 0.5;
}

void FuzzySetInputPanelTest::typingAValueMovesTheCursor() {
    QFETCH(QString, typed);
    QFETCH(double, cursor);
    QLineEdit* edit = share_->ValueEdit();
    const QString expression = share_->ExpressionEdit()->text();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QCOMPARE(share_->Box()->Cursor(), cursor);
    // The edit keeps what was typed.
    QCOMPARE(edit->text(), typed);
    if (cursor == 0.5)
        QCOMPARE(share_->ExpressionEdit()->text(), expression);
    else
        QVERIFY(!share_->ExpressionEdit()->text().isEmpty());
}

void FuzzySetInputPanelTest::negativeValuesCarryTheirSignOnce() {
    tilt_->SetCursor(0.25);
    QCOMPARE(tilt_->ValueEdit()->text(), QStringLiteral("-5.00"));
    const QString text = tilt_->ExpressionEdit()->text();
    QVERIFY2(text.startsWith('-') && !text.startsWith(QStringLiteral("--")), qPrintable(text));
    share_->SetCursor(0.0);
    QCOMPARE(share_->ExpressionEdit()->text(), QStringLiteral("ze"));
}

QTEST_MAIN(FuzzySetInputPanelTest)
#include "FuzzySetInputPanelTest.moc"
