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
    void aTextSetInTheEditIsReadToo();
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
    using State = FuzzySetInputPanel::TypedText;
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("cursor");
    QTest::addColumn<State>("state");
    QTest::addColumn<QString>("finished");
    // On tilt, [-10, 10], from 0.
    QTest::newRow("comma") << "2,5" << 0.625 << State::InUse << "2,5";
    QTest::newRow("point") << "-5.0" << 0.25 << State::InUse << "-5.0";
    QTest::newRow("beyond, after a digit within") << "80" << 1.0 << State::Clamped << "10.00";
    QTest::newRow("below") << "-20" << 0.0 << State::Clamped << "-10.00";
    QTest::newRow("far beyond") << "1e30" << 1.0 << State::Clamped << "10.00";
    QTest::newRow("half typed") << "-" << 0.5 << State::NotANumber << "-";
    QTest::newRow("not a number") << "abc" << 0.5 << State::NotANumber << "abc";
    QTest::newRow("number and more") << "5x" << 0.75 << State::NotANumber << "5x";
}

// The whole text is one number; one beyond the context is held at its end, and the edit shows
// that end once the typing is over; a text that is not a number is marked, and the value in use
// stays on the box and in the mark's tip.
void FuzzySetInputPanelTest::typingAValueMovesTheCursor() {
    QFETCH(QString, typed);
    QFETCH(double, cursor);
    QFETCH(FuzzySetInputPanel::TypedText, state);
    QFETCH(QString, finished);
    QLineEdit* edit = tilt_->ValueEdit();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QCOMPARE(tilt_->Box()->Cursor(), cursor);
    QCOMPARE(edit->text(), typed);
    QCOMPARE(tilt_->TypedTextState(), state);
    const QString inUse = QString::number(tilt_->Value(), 'f', 2);
    QCOMPARE(edit->toolTip().contains(inUse), state != FuzzySetInputPanel::TypedText::InUse);
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(edit->text(), finished);
    QCOMPARE(tilt_->Box()->Cursor(), cursor);
    QCOMPARE(tilt_->TypedTextState() == FuzzySetInputPanel::TypedText::NotANumber,
             state == FuzzySetInputPanel::TypedText::NotANumber);
}

void FuzzySetInputPanelTest::aTextSetInTheEditIsReadToo() {
    share_->ValueEdit()->setText(QStringLiteral("0.75"));
    QCOMPARE(share_->Box()->Cursor(), 0.75);
    // The panel's own text of the value reads back as that value, to the last digit.
    share_->SetCursor(0.123456);
    QCOMPARE(share_->ValueEdit()->text(), QStringLiteral("0.12"));
    QCOMPARE(share_->Box()->Cursor(), 0.123456);
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
