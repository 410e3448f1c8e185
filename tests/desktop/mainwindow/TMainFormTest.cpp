#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "core/rulebase/CRuleBase.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/mainwindow/TDialogNewBaseProperties.h"
#include "desktop/mainwindow/TMainForm.h"
#include "desktop/mainwindow/VariableDialogSeams.h"
#include "desktop/toolkit/TStringGrid.h"
#include "desktop/variables/TDlgAddVar.h"
#include "tests/desktop/support/ScriptedPrompts.h"
#include "tests/desktop/support/TemporaryRegistry.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"

#include <memory>

using toolkit::ModalResult;

namespace {

QStringList Words(TToolbarKit* toolbar) {
    QStringList words;
    for (int i = 0; i < toolbar->OrderedControlCount(); ++i) {
        if (auto* button = qobject_cast<TToolbarButtonKit*>(toolbar->GetOrderedControls(i)))
            words << button->Caption();
    }
    return words;
}

QStringList Captions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions << action->text();
    return captions;
}

}  // namespace

class TMainFormTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;
    std::unique_ptr<TemporaryRegistry> store_;
    std::unique_ptr<ScriptedPrompts> prompts_;
    std::unique_ptr<TMainForm> form_;

    QString Copy(const QString& example) {
        const QString target = folder_.filePath(example);
        QFile::remove(target);
        QFile::copy(QString(TAVO_EXAMPLES) + "/" + example, target);
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }

    QStringList ChildTitles() const {
        QStringList titles;
        for (QMdiSubWindow* child : form_->MdiArea->subWindowList())
            titles << child->widget()->windowTitle();
        return titles;
    }

  private slots:
    void init() {
        store_ = std::make_unique<TemporaryRegistry>();
        prompts_ = std::make_unique<ScriptedPrompts>();
        form_ = std::make_unique<TMainForm>();
        form_->CommandLine = {"Tavodesk"};
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
    }
    void cleanup() {
        InstalledEditorSeams() = {};
        form_.reset();
        prompts_.reset();
        store_.reset();
    }

    void fileNewNumbersItsRuleBasesAndAsksForTheKind() {
        prompts_->Dialogs = {
            [](QDialog&) { return int(QDialog::Rejected); },
            [](QDialog&) { return int(QDialog::Accepted); },
            [](QDialog& dialog) {
                static_cast<TDialogNewBaseProperties&>(dialog).cbTypeOfUnit->setCurrentIndex(1);
                return int(QDialog::Accepted);
            }};
        form_->FileNew1->trigger();
        QVERIFY(ChildTitles().isEmpty());
        form_->FileNew1->trigger();
        form_->FileNew1->trigger();
        QCOMPARE(ChildTitles(), QStringList({"NoName0.rb", "NoName1.rb"}));
        TFormInfUnit* editor = form_->ActiveEditor();
        QCOMPARE(editor->RuleBase().GetTypeOfDescription(), CRuleBase::kSingleton);
        QVERIFY(editor->Modified());
        QVERIFY(form_->ActionFileSave->isEnabled());
        QVERIFY(form_->spbFileSave->isEnabled());
        QVERIFY(form_->FileSaveAsItem->isEnabled());
    }

    // Opening a shipped example and looking at its pages asks nothing: no message, no dialog.
    void everyExampleOpensWithoutAQuestion() {
        QStringList asked;
        for (int i = 0; i < 3; ++i)
            prompts_->Dialogs.push_back([&asked](QDialog& dialog) {
                asked << dialog.metaObject()->className();
                return int(QDialog::Rejected);
            });
        TDlgAddVar variableDialog;
        InstallVariableDialog(variableDialog);
        const QStringList examples = QDir(TAVO_EXAMPLES).entryList({"*.rb"}, QDir::Files);
        QVERIFY(examples.size() >= 5);
        for (const QString& example : examples) {
            TFormInfUnit* editor = form_->OpenFileByName(Copy(example));
            QVERIFY2(editor, qPrintable(example));
            for (int page = 0; page < editor->PageControl->count(); ++page) {
                editor->PageControl->setCurrentIndex(page);
                QCoreApplication::processEvents();
            }
            QVERIFY2(asked.isEmpty(), qPrintable(example + ": " + asked.join(", ")));
            QVERIFY2(prompts_->Messages.empty(),
                     qPrintable(example + ": " + prompts_->Captions().join(", ")));
        }
    }

    // Tiling shares the area, but no window is made smaller than it can be drawn.
    void tilingKeepsEveryWindowAtLeastItsSmallestSize() {
        form_->resize(900, 650);
        for (int i = 0; i < 3; ++i)
            QVERIFY(form_->OpenFileByName(Copy(i == 0 ? "controller.rb" : "heater.rb")));
        QCoreApplication::processEvents();
        for (QAction* tile : {form_->WindowTileVertical1, form_->WindowTileHorizontal1}) {
            tile->trigger();
            for (QMdiSubWindow* child : form_->MdiArea->subWindowList()) {
                QVERIFY(child->width() >= child->minimumSizeHint().width());
                QVERIFY(child->height() >= child->minimumSizeHint().height());
            }
        }
        form_->FileClose1->trigger();
        form_->FileClose1->trigger();
        form_->WindowTileVertical1->trigger();
        QCOMPARE(form_->MdiArea->subWindowList().front()->geometry(),
                 form_->MdiArea->viewport()->rect());
    }

    void openModifySaveAndClose() {
        TFormInfUnit* editor = form_->OpenFileByName(Copy("controller.rb"));
        QVERIFY(editor);
        QCOMPARE(editor->windowTitle(), folder_.filePath("controller.rb"));
        QVERIFY(!editor->Modified());
        QVERIFY(!form_->ActionFileSave->isEnabled());
        QVERIFY(form_->FileSaveAsItem->isEnabled());
        editor->MemoDescription->setPlainText("Softer braking");
        QVERIFY(form_->ActionFileSave->isEnabled());
        form_->ActionFileSave->trigger();
        QVERIFY(!editor->Modified());
        QVERIFY(!form_->spbFileSave->isEnabled());
        QFile saved(folder_.filePath("controller.rb"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QVERIFY(saved.readAll().contains("Softer braking"));
        auto menus = [this] {
            QStringList titles;
            for (const QAction* menu : form_->menuBar()->actions())
                titles << menu->text();
            return titles;
        };
        QTRY_VERIFY(menus().contains("Rules info"));
        form_->FileClose1->trigger();
        QVERIFY(ChildTitles().isEmpty());
        QTRY_VERIFY(!menus().contains("Rules info"));
        QVERIFY(!form_->FileSaveAsItem->isEnabled());
        QVERIFY(prompts_->Messages.empty());
    }

    void missingAndUnreadableFiles() {
        const QString broken = folder_.filePath("broken.rb");
        QFile file(broken);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("not a rule base\n");
        file.close();
        QVERIFY(!form_->OpenFileByName(broken));
        QVERIFY(!form_->OpenFileByName(folder_.filePath("gone.rb")));
        QCOMPARE(prompts_->Captions(), QStringList({"Syntax error", "IO Error"}));
        QCOMPARE(prompts_->Messages[0].Icon, toolkit::MsgIcon::None);
        QCOMPARE(prompts_->Messages[1].Text, "File not found: " + folder_.filePath("gone.rb"));
        QVERIFY(ChildTitles().isEmpty());
        QCOMPARE(Captions(form_->RecentlyOpenedItem), QStringList({"broken.rb"}));
    }

    void readerWarningsShowWhenTheFileOpens() {
        QFile example(QString(TAVO_EXAMPLES) + "/controller.rb");
        QVERIFY(example.open(QIODevice::ReadOnly));
        const QString miscounted = folder_.filePath("miscounted.rb");
        QFile file(miscounted);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(example.readAll().replace("NumberOfRules=25", "NumberOfRules=26"));
        file.close();
        QVERIFY(form_->OpenFileByName(miscounted));
        QCOMPARE(prompts_->Captions(), QStringList({"Warning"}));
        QVERIFY(prompts_->Messages[0].Text.startsWith(
            "warning: bad value of NumberOfRules=26, new value NumberOfRules=25"));
    }

    void reopenMovesToTheFrontAndReportsStaleEntries() {
        const QString first = Copy("controller.rb");
        const QString second = Copy("singleton.rb");
        form_->OpenFileByName(first);
        form_->OpenFileByName(second);
        QCOMPARE(Captions(form_->RecentlyOpenedItem),
                 QStringList({"singleton.rb", "controller.rb"}));
        QFile::remove(second);
        form_->RecentlyOpenedItem->actions()[1]->trigger();
        QCOMPARE(Captions(form_->RecentlyOpenedItem),
                 QStringList({"controller.rb", "singleton.rb"}));
        form_->RecentlyOpenedItem->actions()[1]->trigger();
        QCOMPARE(prompts_->Captions(), QStringList({"IO Error"}));
        QVERIFY(form_->RecentlyOpenedItem->isEnabled());
    }

    void commandLineOpensExistingFilesOnce() {
        form_ = std::make_unique<TMainForm>();
        form_->CommandLine = {"Tavodesk", folder_.filePath("missing.rb"), Copy("triangles.rb")};
        form_->show();
        QTRY_COMPARE(ChildTitles(), QStringList({folder_.filePath("triangles.rb")}));
        form_->FormActivate();
        QCOMPARE(ChildTitles().size(), 1);
        QVERIFY(prompts_->Messages.empty());
    }

    void termToolbarsHoldTheWordsAndFollowTheirViewItems() {
        QCOMPARE(Words(form_->ToolbarBasicTerms), QStringList({"small", "medium", "big"}));
        QCOMPARE(Words(form_->ToolbarSignedBasicTerms),
                 QStringList({"zero", "+small", "+medium", "+big", "+zero", "-small", "-medium",
                              "-big", "-zero"}));
        QCOMPARE(Words(form_->ToolbarModifiers),
                 QStringList({"extremely", "significantly", "very", "rather", "more or less",
                              "roughly", "quite roughly", "very roughly"}));
        QCOMPARE(Words(form_->ToolbarConnectives), QStringList({"and", "or"}));
        QCOMPARE(form_->ToolbarUserTerms->OrderedControlCount(), 2);
        auto* label = qobject_cast<QLabel*>(form_->ToolbarSignedBasicTerms->GetOrderedControls(0));
        QVERIFY(label && label->font().bold());
        QCOMPARE(label->text(), QString(" Signed\n Basic\n expressions: "));
        const std::pair<QAction*, TToolbarKit*> byTag[] = {
            {form_->mnModifiers, form_->ToolbarModifiers},
            {form_->mnBasicTerms, form_->ToolbarBasicTerms},
            {form_->mnConnectives, form_->ToolbarConnectives},
            {form_->mnSignedBasicTerms, form_->ToolbarSignedBasicTerms},
            {form_->mnUserTerms, form_->ToolbarUserTerms}};
        for (const auto& [item, toolbar] : byTag) {
            QVERIFY(!toolbar->Visible());
            item->trigger();
            QVERIFY(item->isChecked());
            QVERIFY(toolbar->Visible());
            QVERIFY(toolbar->Docked());
        }
        form_->mnBasicTerms->trigger();
        QVERIFY(!form_->ToolbarBasicTerms->Visible());
        QVERIFY(form_->ToolbarModifiers->Visible());
    }

    void wordButtonsReachTheActiveEditorOnItsRulesPage() {
        TFormInfUnit* editor = form_->OpenFileByName(Copy("controller.rb"));
        TStringGrid& grid = *editor->StringGridRules;
        auto click = [&](TToolbarKit* toolbar, const QString& word, Qt::MouseButton button) {
            for (int i = 0; i < toolbar->OrderedControlCount(); ++i) {
                auto* b = qobject_cast<TToolbarButtonKit*>(toolbar->GetOrderedControls(i));
                if (b && b->Caption() == word) {
                    toolbar->SetVisible(true);
                    QTest::mouseClick(b, button, {}, b->rect().center());
                }
            }
        };
        grid.SetCells(1, 1, "");
        click(form_->ToolbarBasicTerms, "big", Qt::LeftButton);
        QCOMPARE(grid.Cells(1, 1), QString());
        editor->ShowRulesPage();
        grid.FocusCell(1, 1);
        // The person empties the cell.
        QTest::keyClick(&grid, Qt::Key_Delete);
        grid.SetEditorMode(false);
        click(form_->ToolbarBasicTerms, "big", Qt::LeftButton);
        QCOMPARE(grid.Cells(1, 1), QString("bi"));
        click(form_->ToolbarModifiers, "very roughly", Qt::LeftButton);
        QCOMPARE(grid.Cells(1, 1), QString("vr bi"));
        click(form_->ToolbarBasicTerms, "small", Qt::RightButton);
        QCOMPARE(grid.Cells(1, 1), QString("vr sm"));
        QCOMPARE(grid.Col(), 2);
        QVERIFY(editor->Modified());
    }

    // This did overflow the stack: the refused click left the focus on the grid, which sent
    // the Control and Alt presses to the open cell editor and got them back.
    void shortcutsAfterACellThatFailsItsCheck() {
        TFormInfUnit* editor = form_->OpenFileByName(Copy("controller.rb"));
        editor->ShowRulesPage();
        TStringGrid& grid = *editor->StringGridRules;
        QVERIFY(grid.FocusCell(2, 3));
        grid.SetEditorMode(true);
        QTest::keyClicks(grid.InplaceEditor(), "foo");
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(1, 1).center());
        QCOMPARE(QPoint(grid.Col(), grid.Row()), QPoint(2, 3));
        QCOMPARE(QApplication::focusWidget(), grid.InplaceEditor());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QApplication::activePopupWidget()->close();
        QCOMPARE(grid.Cells(2, 3), QString("foo"));
        QCOMPARE(editor->LabelErrorMessage->text(), QString("parse error"));
    }

    void closePromptNoKeepsEverything() {
        form_->OpenFileByName(Copy("controller.rb"));
        prompts_->Answers = {ModalResult::No};
        QVERIFY(!form_->close());
        QCOMPARE(ChildTitles().size(), 1);
        QCOMPARE(prompts_->Messages[0].Caption, QString("Confirmation"));
        QCOMPARE(prompts_->Messages[0].Buttons, toolkit::mbYesNo);
    }

    void closePromptStopsAtACancelledEditorSave() {
        form_->OpenFileByName(Copy("controller.rb"));
        TFormInfUnit* changed = form_->OpenFileByName(Copy("singleton.rb"));
        form_->OpenFileByName(Copy("triangles.rb"));
        changed->MemoDescription->setPlainText("Unsaved");
        form_->MdiArea->setActiveSubWindow(nullptr);
        // Yes to closing; unchanged editors close until Cancel in the changed one's prompt.
        prompts_->Answers = {ModalResult::Yes, ModalResult::Cancel};
        QVERIFY(!form_->close());
        QVERIFY(ChildTitles().contains(folder_.filePath("singleton.rb")));
        QVERIFY(!ChildTitles().contains(folder_.filePath("triangles.rb")));
        QCOMPARE(prompts_->Messages.size(), size_t(2));
        QVERIFY(form_->isVisible());
        prompts_->Answers = {ModalResult::Yes, ModalResult::No};
        QVERIFY(form_->close());
        QVERIFY(ChildTitles().isEmpty());
    }

    void placementIsRestoredByCaption() {
        form_->setGeometry(30, 40, 700, 500);
        prompts_->Answers = {ModalResult::Yes};
        QVERIFY(form_->close());
        form_ = std::make_unique<TMainForm>();
        QCOMPARE(form_->geometry(), QRect(30, 40, 700, 500));
    }

    void screenshotsOfEveryPage() {
        form_->resize(1000, 720);
        for (QAction* item : {form_->mnBasicTerms, form_->mnModifiers, form_->mnSignedBasicTerms,
                              form_->mnUserTerms})
            item->trigger();
        // Nothing here writes: the picture shows the example's own name.
        TFormInfUnit* editor = form_->OpenFileByName(QString(TAVO_EXAMPLES) + "/controller.rb");
        editor->parentWidget()->showMaximized();
        for (int page = 0; page < editor->PageControl->count(); ++page) {
            editor->PageControl->setCurrentIndex(page);
            QCoreApplication::processEvents();
            const QPixmap shot = form_->grab();
            QVERIFY(!shot.isNull());
            QVERIFY(shot.save(QString(TAVO_ARTIFACT_DIR) + "/tavodesk-page" +
                              QString::number(page) + ".png"));
        }
        // The picture of the README (scripts/screenshot): the rules page in a framed child.
        editor->parentWidget()->showNormal();
        editor->parentWidget()->setGeometry(12, 10, 820, 500);
        editor->ShowRulesPage();
        editor->StringGridRules->FocusCell(2, 3);
        QCoreApplication::processEvents();
        QVERIFY(form_->grab().save(QString(TAVO_ARTIFACT_DIR) + "/tavodesk.png"));

        const QString about = QString(TAVO_ARTIFACT_DIR) + "/tavodesk-about.png";
        const QString newBase = QString(TAVO_ARTIFACT_DIR) + "/tavodesk-newbase.png";
        prompts_->Dialogs = {[&](QDialog& dialog) {
                                 dialog.grab().save(about);
                                 return int(QDialog::Accepted);
                             },
                             [&](QDialog& dialog) {
                                 dialog.adjustSize();
                                 dialog.grab().save(newBase);
                                 return int(QDialog::Rejected);
                             }};
        QFile::remove(about);
        QFile::remove(newBase);
        form_->HelpAbout1->trigger();
        form_->FileNew1->trigger();
        QVERIFY(QFile::exists(about));
        QVERIFY(QFile::exists(newBase));
    }
};

QTEST_MAIN(TMainFormTest)
#include "TMainFormTest.moc"
