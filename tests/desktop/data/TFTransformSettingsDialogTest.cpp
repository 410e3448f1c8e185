#include <QLineEdit>
#include <QTest>

#include <memory>

#include "core/io/RuleBaseReader.h"
#include "core/rulebase/CRuleBase.h"
#include "desktop/data/TFTransformSettingsDialog.h"
#include "desktop/toolkit/RefusedText.h"
#include "tests/desktop/support/ScriptedPrompts.h"

class TFTransformSettingsDialogTest : public QObject {
    Q_OBJECT

  private slots:
    // "1O" in Number of Nodes, then OK: the dialog stayed open, and where the beep is not heard
    // nothing said why. The refused edit is marked with the reason until it is changed.
    void aRefusedNumberIsMarkedWithTheReason() {
        const CRuleBase ruleBase = ReadRuleBaseFile(TAVO_EXAMPLES "/controller.rb");
        std::vector<FTDimensionSettings> settings;
        ScriptedPrompts prompts;
        TFTransformSettingsDialog dialog;
        prompts.Dialogs.push_back([&](QDialog&) {
            dialog.show();
            dialog.edNumOfPartitions->setText("1O");
            dialog.btOKClick();
            [&] {
                QVERIFY(toolkit::IsMarkedRefused(*dialog.edNumOfPartitions));
                QCOMPARE(dialog.edNumOfPartitions->toolTip(),
                         QString("'1O' is not a valid integer value"));
            }();
            dialog.grab().save(TAVO_ARTIFACT_DIR "/TFTransformSettingsDialog-refused.png");
            QTest::keyClicks(dialog.edNumOfPartitions, "\b\b12");
            [&] { QVERIFY(!toolkit::IsMarkedRefused(*dialog.edNumOfPartitions)); }();
            dialog.btOKClick();
            return dialog.result();
        });
        QVERIFY(dialog.Execute(ruleBase, settings));
        QCOMPARE(settings[0].nodes, 12);
    }
};

QTEST_MAIN(TFTransformSettingsDialogTest)
#include "TFTransformSettingsDialogTest.moc"
