#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/lang/CBasicSettings.h"
#include "core/rulebase/CFuzzyVariable.h"
#include "desktop/variables/TDlgAddVar.h"
#include "tests/desktop/support/RulesTestModels.h"
#include "tests/desktop/support/ScriptedPrompts.h"

using rules_test::Make;
using rules_test::Variable;
using toolkit::ModalResult;

namespace {

const QString kRecompute = "Do you want to recompute values?";
const QString kRecomputeOrCut = "Do you want to recompute values?Otherwise they will be cut";

std::unique_ptr<CRuleBase> AboutFive() {
    return Make({Variable("x", "linguistic", 0, 10), Variable("w")}, {Variable("y")},
                {{"about 5", "sm", "sm"}, {"#", "sm", "-sm", "bi"}});
}

// Scripted answers that close the dialog after a few boxes: a chain of boxes without end stops
// there, and the test shows how long it ran.
class BoxesThatCloseTheDialog : public ScriptedPrompts {
  public:
    explicit BoxesThatCloseTheDialog(QDialog& dialog) : dialog_(dialog) {}
    toolkit::ModalResult Message(const toolkit::MessageRequest& request) override {
        if (Messages.size() >= 5)
            dialog_.hide();
        return ScriptedPrompts::Message(request);
    }

  private:
    QDialog& dialog_;
};

QStringList Texts(const ScriptedPrompts& prompts) {
    QStringList texts;
    for (const auto& message : prompts.Messages)
        texts << message.Text;
    return texts;
}

}  // namespace

class TDlgAddVarTest : public QObject {
    Q_OBJECT

  private slots:
    // The person types new bounds and answers the question; about 5 in [0, 10] is the number.
    void recomputeOrCutAboutNumbers_data() {
        QTest::addColumn<QString>("high");
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("cell");
        QTest::newRow("wider, recompute")
            << "20" << int(ModalResult::Yes) << kRecompute << "about 10";
        QTest::newRow("wider, keep") << "20" << int(ModalResult::No) << kRecompute << "about 5";
        QTest::newRow("narrower, recompute")
            << "4" << int(ModalResult::Yes) << kRecomputeOrCut << "about 2";
        QTest::newRow("narrower, cut")
            << "4" << int(ModalResult::No) << kRecomputeOrCut << "about 4";
    }
    void recomputeOrCutAboutNumbers() {
        QFETCH(QString, high);
        QFETCH(int, answer);
        QFETCH(QString, question);
        QFETCH(QString, cell);
        auto ruleBase = AboutFive();
        ScriptedPrompts prompts;
        prompts.Answers = {ModalResult(answer)};
        TDlgAddVar dialog;
        dialog.ModalLoop = [&] {
            dialog.edHigh->setText(high);
            dialog.OKBtnClick();
            return dialog.result();
        };
        QVERIFY(dialog.EditInputVariable(*ruleBase, 0));
        QCOMPARE(Texts(prompts), QStringList{question});
        QCOMPARE(prompts.Messages[0].Caption, QString("Warning"));
        QCOMPARE(prompts.Messages[0].Buttons, toolkit::mbYesNoCancel);
        QCOMPARE(QString::fromStdString(ruleBase->GetAntExpression(0, 0)), cell);
        QCOMPARE(ruleBase->GetUpperBound(0), high.toDouble());
        QVERIFY(!ruleBase->IsRuleActive(1));
    }

    void cancelledQuestionKeepsTheDialogOpenAndCancelRestoresBounds() {
        auto ruleBase = AboutFive();
        ScriptedPrompts prompts;
        prompts.Answers = {ModalResult::Cancel};
        TDlgAddVar dialog;
        int okClicks = 0;
        dialog.ModalLoop = [&] {
            dialog.edHigh->setText("4");
            dialog.OKBtnClick();
            okClicks += dialog.result() == QDialog::Rejected;
            dialog.btnEditTermsClick();
            [&] { QCOMPARE(ruleBase->GetUpperBound(0), 4.0); }();
            dialog.reject();
            return dialog.result();
        };
        QVERIFY(!dialog.EditInputVariable(*ruleBase, 0));
        QCOMPARE(okClicks, 1);
        QCOMPARE(ruleBase->GetUpperBound(0), 10.0);
        QCOMPARE(ruleBase->GetAntExpression(0, 0), std::string("about 5"));
    }

    // The messages themselves are checked with the fields alone; here they keep the dialog open.
    void validationMessagesKeepTheDialogOpen() {
        auto ruleBase = AboutFive();
        ScriptedPrompts prompts;
        TDlgAddVar dialog;
        dialog.ModalLoop = [&] {
            const std::pair<QString, QString> attempts[] = {
                {"w", "0"}, {"0,5", "0"}, {"x", "ten"}, {"x", "0x1"}, {"speed", "0"}};
            for (const auto& [name, low] : attempts) {
                dialog.edName->setText(name);
                dialog.edLow->setText(low);
                dialog.OKBtnClick();
            }
            return dialog.result();
        };
        QVERIFY(dialog.EditInputVariable(*ruleBase, 0));
        QCOMPARE(Texts(prompts).size(), 4);
        QCOMPARE(Texts(prompts)[0], QString("Variable name is already used!"));
        // A name the file cannot hold made every later Save fail.
        QVERIFY(Texts(prompts)[1].startsWith("Variable name \"0,5\" cannot be kept"));
        QCOMPARE(Texts(prompts).mid(2),
                 QStringList({"Something is wrong!", "Something is wrong!"}));
        QCOMPARE(prompts.Messages[2].Caption, QString("Warning"));
        QCOMPARE(prompts.Messages[2].Icon, toolkit::MsgIcon::Warning);
        QCOMPARE(ruleBase->GetVariableName(0), std::string("speed"));
    }

    // A file's 0.1 is the float nearest to it: the field shows "0.1", and OK asks nothing.
    void boundsShowAsTheFileWritesThem() {
        auto ruleBase =
            Make({Variable("x", "linguistic", 0.1, 0.7)}, {Variable("y")}, {{"about 0.3", "sm"}});
        ScriptedPrompts prompts;
        TDlgAddVar dialog;
        dialog.ModalLoop = [&] {
            [&] {
                QCOMPARE(dialog.edLow->text() + " " + dialog.edHigh->text(), QString("0.1 0.7"));
            }();
            dialog.OKBtnClick();
            return dialog.result();
        };
        QVERIFY(dialog.EditInputVariable(*ruleBase, 0));
        QVERIFY(prompts.Messages.empty());
        QCOMPARE(ruleBase->GetLowerBound(0), double(0.1f));
    }

    // A bound the file cannot hold, or one that is no number, is refused, and its field keeps
    // the focus for the correction.
    void refusedBoundsKeepTheFocus() {
        auto ruleBase = AboutFive();
        ScriptedPrompts prompts;
        TDlgAddVar dialog;
        QList<QWidget*> focused;
        dialog.ModalLoop = [&] {
            dialog.show();
            dialog.edHigh->setText("1e300");
            dialog.OKBtnClick();
            focused << dialog.focusWidget();
            dialog.edLow->setText("ten");
            dialog.edHigh->setFocus();
            QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
            QApplication::sendEvent(dialog.edLow, &out);
            focused << dialog.focusWidget();
            return dialog.result();
        };
        QVERIFY(!dialog.EditInputVariable(*ruleBase, 0));
        QCOMPARE(focused, QList<QWidget*>({dialog.edHigh, dialog.edLow}));
        QCOMPARE(Texts(prompts), QStringList({"Upper bound: 1e300 is more than a rulebase file can "
                                              "hold (at most 3.4028235e+38 in magnitude).",
                                              "'ten' is not a valid floating point value"}));
    }

    // "abc" in Lower bound and "xyz" in Upper bound, a click from one to the other: this did
    // start a chain of boxes without end, each refused field taking the focus back from the
    // other. A click on OK after it checks the fields in their order and stops at the first.
    void aRefusedFieldKeepsTheFocusWithOneBox() {
        auto ruleBase = AboutFive();
        TDlgAddVar dialog;
        BoxesThatCloseTheDialog prompts(dialog);
        QStringList afterClick;
        QWidget* focusAfterClick = nullptr;
        QWidget* focusAfterOk = nullptr;
        dialog.ModalLoop = [&] {
            dialog.show();
            dialog.activateWindow();
            [&] { QVERIFY(QTest::qWaitForWindowActive(&dialog)); }();
            dialog.edLow->setText("abc");
            dialog.edHigh->setText("xyz");
            dialog.edLow->setFocus();
            QTest::mouseClick(dialog.edHigh, Qt::LeftButton);
            afterClick = Texts(prompts);
            focusAfterClick = dialog.focusWidget();
            if (dialog.isVisible())
                QTest::mouseClick(dialog.OKBtn, Qt::LeftButton);
            focusAfterOk = dialog.focusWidget();
            return dialog.result();
        };
        QVERIFY(!dialog.EditInputVariable(*ruleBase, 0));
        QCOMPARE(afterClick, QStringList{"'abc' is not a valid floating point value"});
        QCOMPARE(focusAfterClick, dialog.edLow);
        QCOMPARE(Texts(prompts).mid(1), QStringList{"Something is wrong!"});
        QCOMPARE(prompts.Messages.back().Caption, QString("Warning"));
        QCOMPARE(focusAfterOk, dialog.edLow);
    }

    void outputWithNegativeCellsRefusesNonNegativeBounds() {
        auto ruleBase =
            Make({Variable("x")}, {Variable("z", "linguistic", -1, 1)}, {{"sm", "-sm"}});
        ScriptedPrompts prompts;
        TDlgAddVar dialog;
        dialog.ModalLoop = [&] {
            dialog.edLow->setText("0");
            dialog.OKBtnClick();
            dialog.edLow->setText("-1");
            dialog.edDiscret->setText("300");
            dialog.OKBtnClick();
            dialog.edDiscret->setText("301");
            dialog.OKBtnClick();
            return dialog.result();
        };
        QVERIFY(dialog.EditOutputVariable(*ruleBase, 0));
        QCOMPARE(Texts(prompts),
                 QStringList({"Rulebase contains negative expressions for not symetrical bounds!",
                              "Discretization for symetrical variable must be odd value!"}));
        QCOMPARE(ruleBase->GetDiscretization(-1), 301);
    }

    void addCopiesCellsAndExpressions() {
        auto ruleBase = AboutFive();
        ScriptedPrompts prompts;
        TDlgAddVar dialog;
        QString proposed;
        dialog.ModalLoop = [&] {
            dialog.cbxCopyVar->setCurrentIndex(1);
            dialog.cbxCopyVarChange();
            proposed = dialog.edName->text();
            dialog.cbxCopyVar->setCurrentIndex(0);
            dialog.cbxCopyVarChange();
            dialog.OKBtnClick();
            return dialog.result();
        };
        QVERIFY(dialog.Add(*ruleBase, 1));
        QCOMPARE(proposed, QString("Copy_w"));
        QCOMPARE(ruleBase->GetNumAntVariables(), 3);
        QCOMPARE(ruleBase->GetVariableName(2), std::string("Copy_x"));
        QCOMPARE(ruleBase->GetAntExpression(2, 0), std::string("about 5"));
        QCOMPARE(ruleBase->GetUpperBound(2), 10.0);
        QVERIFY(prompts.Messages.empty());
    }

    void checkByIndexOpensOnlyForAFailingVariable() {
        auto ruleBase =
            Make({Variable("x", "linguistic", -1, 1, 300)}, {Variable("y")}, {{"sm", "sm"}});
        TDlgAddVar dialog;
        int shown = 0;
        dialog.ModalLoop = [&] {
            ++shown;
            dialog.edDiscret->setText("301");
            dialog.OKBtnClick();
            return dialog.result();
        };
        QVERIFY(dialog.CheckByIndex(*ruleBase, 0, false));
        QCOMPARE(shown, 0);
        QVERIFY(dialog.CheckByIndex(*ruleBase, 0, true));
        QCOMPARE(shown, 1);
        QCOMPARE(ruleBase->GetDiscretization(0), 301);
    }

    // Another window or a box taking the focus does not leave the field.
    void fieldsAreLeftOnlyWithinTheDialog() {
        auto ruleBase = AboutFive();
        ScriptedPrompts prompts;
        TDlgAddVar dialog;
        dialog.ModalLoop = [&] {
            dialog.show();
            dialog.edDiscret->setText("5");
            for (const Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::TabFocusReason}) {
                QFocusEvent out(QEvent::FocusOut, reason);
                QApplication::sendEvent(dialog.edDiscret, &out);
            }
            return int(QDialog::Rejected);
        };
        QVERIFY(!dialog.EditInputVariable(*ruleBase, 0));
        QCOMPARE(Texts(prompts), QStringList{"Discretization is out of range"});
    }

    // A rename reaches each use of the term in every variable of its language definition (x
    // and its alias x2, not w). Expressions confirmed in their editor stay when the dialog is
    // cancelled, renamed in the rules, and the cells still read: only the bounds go back.
    void cancelKeepsConfirmedExpressionsAndResetsTheBounds() {
        const std::string hot =
            " UserTerm\n  name=hot, ho\n  type=triang\n  parameters= 5 8 10\n End_UserTerm\n";
        auto ruleBase =
            Make({Variable("x", "linguistic", 0, 10, 301, hot), Variable("x2", "alias(x)"),
                  Variable("w", "linguistic", 0, 10, 301, hot)},
                 {Variable("y")}, {{"hot and sm", "ho or hot", "hot", "sm"}});
        auto& terms = dynamic_cast<CBasicSettings&>(ruleBase->GetSettings(0)).MutableTerms();
        TDlgAddVar dialog;
        // What the expressions editor's OK does.
        dialog.OnEditExpressions = [&](TDlgAddVar& owner) {
            owner.RenameInRules({{"hot", "warm"}});
            terms[0] = std::make_unique<CNamedTerm>(std::vector<std::string>{"warm", "ho"},
                                                    terms[0]->Element().Clone());
        };
        dialog.ModalLoop = [&] {
            dialog.edHigh->setText("20");
            dialog.btnEditTermsClick();
            [&] { QCOMPARE(terms[0]->Element().GetUpperBound(), 20.0); }();
            return int(QDialog::Rejected);
        };
        QVERIFY(!dialog.EditInputVariable(*ruleBase, 0));
        QCOMPARE(ruleBase->GetAntExpression(0, 0) + "|" + ruleBase->GetAntExpression(1, 0) + "|" +
                     ruleBase->GetAntExpression(2, 0),
                 std::string("warm and sm|ho or warm|hot"));
        QCOMPARE(terms[0]->Names(), std::vector<std::string>({"warm", "ho"}));
        QCOMPARE(ruleBase->GetUpperBound(0), 10.0);
        QCOMPARE(terms[0]->Element().GetUpperBound(), 10.0);
        QVERIFY(!ruleBase->GetSettings(0).CheckExpression("warm and sm"));
    }

    void screenshot() {
        auto ruleBase = AboutFive();
        TDlgAddVar dialog;
        dialog.ModalLoop = [&] {
            dialog.show();
            [&] { QVERIFY(QTest::qWaitForWindowExposed(&dialog)); }();
            dialog.grab().save(TAVO_ARTIFACT_DIR "/TDlgAddVar.png");
            return int(QDialog::Rejected);
        };
        dialog.Add(*ruleBase, 0);
        QVERIFY(QFile::exists(TAVO_ARTIFACT_DIR "/TDlgAddVar.png"));
    }
};

QTEST_MAIN(TDlgAddVarTest)
#include "TDlgAddVarTest.moc"
