#include <QMessageBox>
#include <QTest>

#include "../support/ScriptedPrompts.h"
#include "desktop/toolkit/Conversions.h"
#include "desktop/toolkit/FileDialogFilter.h"
#include "desktop/toolkit/HeapStatus.h"
#include "desktop/toolkit/UserPrompts.h"

#include <memory>
#include <vector>

using namespace toolkit;

class ToolkitTest : public QObject {
    Q_OBJECT

  private slots:
    void messageBoxesReachTheInstalledPromptsOnly() {
        ScriptedPrompts prompts;
        prompts.Answers = {ModalResult::No};
        QCOMPARE(MessageDlg("Save?", "Confirmation", MsgIcon::Confirmation, mbYesNoCancel),
                 ModalResult::No);
        QCOMPARE(MessageDlg("Gone", "IO Error", MsgIcon::Warning, mbOK), ModalResult::Ok);
        QCOMPARE(prompts.Messages.size(), size_t(2));
        QCOMPARE(prompts.Messages[0].Text, QString("Save?"));
        QCOMPARE(prompts.Messages[0].Buttons, mbYesNoCancel);
        QCOMPARE(prompts.Messages[1].Icon, MsgIcon::Warning);
        QCOMPARE(prompts.Captions(), QStringList({"Confirmation", "IO Error"}));
    }

    // A short text under the program's caption: the window manager cut it to "TAV... n32".
    void messageBoxesAreWideEnoughForTheirCaption() {
        const QString caption = "TAVO for Win32";
        const auto box = MakeMessageBox({"Done.", caption, MsgIcon::None, mbOK}, nullptr);
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box.get()));
        QFont bold = box->font();
        bold.setBold(true);
        // The caption in bold, and room for an icon and three buttons of about 24 pixels.
        QVERIFY2(box->width() >= QFontMetrics(bold).horizontalAdvance(caption) + 4 * 24,
                 qPrintable(QString::number(box->width())));
        box->grab().save(TAVO_ARTIFACT_DIR "/message-box.png");
    }

    void fileDialogsKeepTheirSettingsAndAddTheDefaultExtension() {
        ScriptedPrompts prompts;
        prompts.FileNames = {QString("/tmp/plant"), QString()};
        TFileDialog dialog;
        dialog.Kind = FileDialogKind::Save;
        dialog.Filter = "All files (*.*)|*.*|Rulebase (*.rb)|*.rb";
        dialog.FilterIndex = 2;
        dialog.DefaultExt = "rb";
        QVERIFY(dialog.Execute());
        QCOMPARE(dialog.FileName, QString("/tmp/plant.rb"));
        QCOMPARE(prompts.FileDialogs[0].FilterIndex, 2);
        QVERIFY(!dialog.Execute());
        QCOMPARE(dialog.FileName, QString("/tmp/plant.rb"));
        QCOMPARE(prompts.FileDialogs[1].FileName, QString("/tmp/plant.rb"));
    }

    void filterStringsBecomeQtNameFilters() {
        QCOMPARE(QtNameFilters("All files (*.*)|*.*|Rulebase (*.rb)|*.rb"),
                 QStringList({"All files (*)", "Rulebase (*.rb)"}));
        QCOMPARE(QtNameFilters("Input data file|*.txt|Output data file|*.out"),
                 QStringList({"Input data file (*.txt)", "Output data file (*.out)"}));
        QCOMPARE(WithDefaultExtension("a.txt", "*.out"), QString("a.txt"));
        QCOMPARE(WithDefaultExtension("a", "*.out"), QString("a.out"));
    }

    void inputBoxKeepsTheValueWhenCancelled() {
        ScriptedPrompts prompts;
        prompts.Inputs = {QString(), QString("7")};
        QCOMPARE(InputBox("Nodes", "Count:", "5"), QString("5"));
        QString value = "5";
        QVERIFY(InputQuery("Nodes", "Count:", value));
        QCOMPARE(value, QString("7"));
    }

    void numberTextsConvertOrRaiseTheLibraryMessage_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("value");
        QTest::newRow("decimal") << " -1.5 " << true << -1.5;
        QTest::newRow("exponent") << "2.5e-3" << true << 0.0025;
        QTest::newRow("leading point") << ".5" << true << 0.5;
        QTest::newRow("comma") << "1,5" << false << 0.0;
        QTest::newRow("word") << "abc" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("inf") << "inf" << false << 0.0;
        QTest::newRow("bare exponent") << "1e" << false << 0.0;
    }
    void numberTextsConvertOrRaiseTheLibraryMessage() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, value);
        if (valid) {
            QCOMPARE(StrToFloat(text), value);
            return;
        }
        try {
            StrToFloat(text);
            QFAIL("no EConvertError");
        } catch (const EConvertError& error) {
            QCOMPARE(QString(error.what()), "'" + text + "' is not a valid floating point value");
        }
    }

    void integerTexts() {
        QCOMPARE(StrToInt(" 42"), 42);
        QCOMPARE(StrToInt("-$10"), -16);
        QVERIFY_THROWS_EXCEPTION(EConvertError, StrToInt("4.2"));
        QVERIFY_THROWS_EXCEPTION(EConvertError, StrToInt("3000000000"));
    }

    void heapCountFollowsAllocations() {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("AddressSanitizer's allocator replaces the C library's, whose count this reads");
#endif
        const std::size_t before = HeapAllocatedBytes();
        std::vector<std::unique_ptr<char[]>> blocks;
        for (int i = 0; i < 64; ++i)
            blocks.push_back(std::make_unique<char[]>(4096));
        QVERIFY(HeapAllocatedBytes() >= before + 64 * 4096);
    }
};

QTEST_MAIN(ToolkitTest)
#include "ToolkitTest.moc"
