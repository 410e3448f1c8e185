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
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include "core/rulebase/CRuleBase.h"
#include "desktop/WindowAttributes.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/mainwindow/TDialogNewBaseProperties.h"
#include "desktop/mainwindow/TMainForm.h"
#include "desktop/mainwindow/TestWindowSeam.h"
#include "desktop/mainwindow/VariableDialogSeams.h"
#include "desktop/rules/RulesTableView.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/testwindow/TMDIChild.h"
#include "desktop/variables/TDlgAddVar.h"
#include "platform/registry/Registry.h"
#include "tests/desktop/support/RulesTestModels.h"
#include "tests/desktop/support/ScriptedPrompts.h"
#include "tests/desktop/support/TemporaryRegistry.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"
#include "toolbars/ToolWindowFrame.h"

#include <memory>

using platform::registry::Registry;
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

// The user-expression buttons, as the toolbar holds them now.
QStringList UserWords(TToolbarKit* toolbar) {
    QStringList words;
    for (const auto* button : toolbar->findChildren<TToolbarButtonKit*>(Qt::FindDirectChildrenOnly))
        words << button->Caption();
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

    QMdiSubWindow* FrameOf(QWidget* form) const {
        return qobject_cast<QMdiSubWindow*>(form->parentWidget());
    }

    TMDIChild* PressTest(TFormInfUnit* editor) {
        qputenv("XDG_RUNTIME_DIR", folder_.path().toLocal8Bit());
        InstallTestWindow(InstalledEditorSeams());
        QTest::mouseClick(editor->ButtonTest, Qt::LeftButton);
        return qobject_cast<TMDIChild*>(form_->ActiveChild()->widget());
    }

    // On the editor's rules page, the person types over a cell's text in its editor (F2).
    TRulesPage& TypeIntoCell(TFormInfUnit* editor, int column, int row, const QString& text) {
        editor->ShowRulesPage();
        TRulesPage& page = editor->RulesPage();
        page.SelectCell(column, row);
        QTest::keyClick(&page.Grid(), Qt::Key_F2);
        page.CellEditor()->selectAll();
        QTest::keyClicks(page.CellEditor(), text);
        return page;
    }

    // The Window menu's entries for the open windows, as the menu shows them.
    QStringList WindowList() {
        emit form_->Window1->aboutToShow();
        const QList<QAction*> items = form_->Window1->actions();
        QStringList entries;
        for (qsizetype i = items.indexOf(form_->WindowArrangeAll1) + 2; i < items.size(); ++i)
            entries << items[i]->text();
        return entries;
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

    // An even discretization on a symmetric context fails the checks, so the dialog opens while
    // the file is read; what the person corrects there is a change to save.
    void aVariableCorrectedWhileOpeningIsAChange() {
        QFile file(Copy("symmetric.rb"));
        QVERIFY(file.open(QIODevice::ReadWrite));
        const QByteArray text = file.readAll().replace("discretization=101", "discretization=100");
        file.seek(0);
        file.write(text);
        file.close();
        TDlgAddVar variableDialog;
        InstallVariableDialog(variableDialog);
        variableDialog.ModalLoop = [&] {
            variableDialog.edDiscret->setText("101");
            variableDialog.OKBtnClick();
            return variableDialog.result();
        };
        TFormInfUnit* editor = form_->OpenFileByName(file.fileName());
        QVERIFY(editor && editor->Modified());
        QVERIFY(form_->ActionFileSave->isEnabled());
        form_->ActionFileSave->trigger();
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("discretization=101"));
    }

    // Tiling five windows left two of them as slivers behind the others, and Cascade covered
    // the minimised windows. No window is made smaller than it can be drawn, every title bar
    // stays in sight, and so do the minimised windows.
    void tileAndCascadeLeaveEveryTitleAndTheMinimisedWindowsInReach() {
        form_->resize(900, 650);
        for (const char* name :
             {"controller.rb", "heater.rb", "singleton.rb", "triangles.rb", "symmetric.rb"})
            QVERIFY(form_->OpenFileByName(Copy(name)));
        QMdiSubWindow* minimised = form_->MdiArea->subWindowList().front();
        minimised->showMinimized();
        QCoreApplication::processEvents();
        QWidget* viewport = form_->MdiArea->viewport();
        const auto windowAt = [viewport](QPoint point) {
            QWidget* widget = viewport->childAt(point);
            while (widget && !qobject_cast<QMdiSubWindow*>(widget))
                widget = widget->parentWidget();
            return widget;
        };
        for (QAction* arrange :
             {form_->WindowTileVertical1, form_->WindowTileHorizontal1, form_->WindowCascade1}) {
            arrange->trigger();
            QCoreApplication::processEvents();
            const QString name = arrange->text();
            for (QMdiSubWindow* child : form_->MdiArea->subWindowList()) {
                const QRect bounds = child->geometry();
                if (child == minimised) {
                    QVERIFY2(viewport->rect().contains(bounds), qPrintable(name));
                    QCOMPARE(windowAt(bounds.center()), child);
                    continue;
                }
                QVERIFY(child->width() >= child->minimumSizeHint().width());
                QVERIFY(child->height() >= child->minimumSizeHint().height());
                const QPoint title(bounds.center().x(), bounds.top() + child->widget()->y() / 2);
                QVERIFY2(windowAt(title) == child,
                         qPrintable(name + ": " + child->widget()->windowTitle()));
            }
            form_->grab().save(QString(TAVO_ARTIFACT_DIR) + "/tavodesk-" + arrange->objectName() +
                               ".png");
        }
        for (int i = 0; i < 4; ++i)
            form_->FileClose1->trigger();
        form_->WindowTileVertical1->trigger();
        QCOMPARE(form_->MdiArea->subWindowList().size(), 1);
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
        QCOMPARE(prompts_->Messages[0].Text, "bad file type: " + broken);
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

    // Reopen of a file that an editor holds gave a second editor: the two saved over each other.
    void openingAnOpenFileBringsItsEditorForward() {
        const QString first = Copy("controller.rb");
        TFormInfUnit* editor = form_->OpenFileByName(first);
        editor->MemoDescription->setPlainText("Changed, not saved");
        form_->OpenFileByName(Copy("singleton.rb"));
        FrameOf(editor)->showMinimized();
        form_->RecentlyOpenedItem->actions()[1]->trigger();
        QCOMPARE(ChildTitles(), QStringList({first, folder_.filePath("singleton.rb")}));
        QCOMPARE(form_->ActiveEditor(), editor);
        QVERIFY(!FrameOf(editor)->isMinimized());
        QCOMPARE(editor->MemoDescription->toPlainText(), QString("Changed, not saved"));
        QCOMPARE(Captions(form_->RecentlyOpenedItem),
                 QStringList({"controller.rb", "singleton.rb"}));
        // Another spelling of the same file.
        QCOMPARE(form_->OpenFileByName(folder_.path() + "/./controller.rb"), editor);
        QCOMPARE(ChildTitles().size(), 2);
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

    void closeBoxOfAFloatingToolbarClearsItsViewItem() {
        TToolbarKit* toolbar = form_->ToolbarBasicTerms;
        form_->mnBasicTerms->trigger();
        toolbar->SetParent(form_.get());
        QCoreApplication::processEvents();
        const QRect closeBox = ComputeToolWindowFrame({}, toolbar->size()).CloseButtonRect;
        QTest::mouseClick(toolbar, Qt::LeftButton, {}, closeBox.center());
        QVERIFY(!toolbar->Visible());
        QVERIFY(!form_->mnBasicTerms->isChecked());
        // One click shows it again.
        form_->mnBasicTerms->trigger();
        QVERIFY(toolbar->Visible());
        QVERIFY(form_->mnBasicTerms->isChecked());
    }

    void wordButtonsReachTheActiveEditorOnItsRulesPage() {
        TFormInfUnit* editor = form_->OpenFileByName(Copy("controller.rb"));
        TRulesPage& page = editor->RulesPage();
        auto click = [&](TToolbarKit* toolbar, const QString& word, Qt::MouseButton button) {
            for (int i = 0; i < toolbar->OrderedControlCount(); ++i) {
                auto* b = qobject_cast<TToolbarButtonKit*>(toolbar->GetOrderedControls(i));
                if (b && b->Caption() == word) {
                    toolbar->SetVisible(true);
                    QTest::mouseClick(b, button, {}, b->rect().center());
                }
            }
        };
        click(form_->ToolbarBasicTerms, "big", Qt::LeftButton);
        QCOMPARE(page.CellText(1, 1), QString("ve sm"));
        QVERIFY(!page.CellEditor());
        editor->ShowRulesPage();
        QVERIFY(page.SelectCell(1, 1));
        // The person empties the cell.
        QTest::keyClick(&page.Grid(), Qt::Key_Delete);
        click(form_->ToolbarBasicTerms, "big", Qt::LeftButton);
        QCOMPARE(page.CellText(1, 1), QString("bi"));
        click(form_->ToolbarModifiers, "very roughly", Qt::LeftButton);
        QCOMPARE(page.CellText(1, 1), QString("vr bi"));
        click(form_->ToolbarBasicTerms, "small", Qt::RightButton);
        QCOMPARE(page.CellText(1, 1), QString("vr sm"));
        QCOMPARE(page.CurrentCell(), QPoint(2, 1));
        QCOMPARE(editor->RuleBase().GetAntExpression(0, 0), std::string("vr sm"));
        QVERIFY(editor->Modified());
    }

    // This did overflow the stack: the refused click left the focus on the grid, which sent
    // the Control and Alt presses to the open cell editor and got them back.
    void shortcutsAfterACellThatFailsItsCheck() {
        TRulesPage& page = TypeIntoCell(form_->OpenFileByName(Copy("controller.rb")), 2, 3, "foo");
        rules_test::Click(page, 1, 1);
        QCOMPARE(page.CurrentCell(), QPoint(2, 3));
        QCOMPARE(QApplication::focusWidget(), page.CellEditor());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(QApplication::activePopupWidget());
        QApplication::activePopupWidget()->close();
        QCOMPARE(page.CellText(2, 3), QString("foo"));
        QCOMPARE(page.CellCheck().message, QString("atomic term expected"));
    }

    // Test computed with the rule as it was before the edit until the cell was left: the grid
    // read "ve bi" while the test window showed and used "bi".
    void testAfterEnterComputesWithTheNewText() {
        TFormInfUnit* editor = form_->OpenFileByName(Copy("controller.rb"));
        TRulesPage& page = TypeIntoCell(editor, 3, 3, "ve bi");
        QTest::keyClick(page.CellEditor(), Qt::Key_Return);
        TMDIChild* window = PressTest(editor);
        QVERIFY(window);
        QVERIFY(window->MemoRuleBase->toPlainText().contains(R"("ve sm" "me" | "ve bi")"));
        QCOMPARE(editor->RuleBase().GetSucExpression(0, 2), std::string("ve bi"));
    }

    // Ctrl+S saved the open editor's text and left the editor open; Escape then put back the
    // cell's older text, so the grid no longer showed what the file held.
    void ctrlSWithAnOpenEditorThenEscapeLeavesTheGridAsSaved() {
        const QString fileName = Copy("controller.rb");
        TFormInfUnit* editor = form_->OpenFileByName(fileName);
        TRulesPage& page = TypeIntoCell(editor, 1, 2, "Ro sm");
        page.CellEditor()->selectAll();
        QTest::keyClicks(page.CellEditor(), "ro sm");
        QVERIFY(form_->ActionFileSave->isEnabled());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(page.CellText(1, 2), QString("ro sm"));
        const TFormInfUnit saved(nullptr, fileName);
        for (int row = 1; row <= page.RuleRowCount(); ++row) {
            for (int column = 1; column <= 3; ++column) {
                const int v = column <= 2 ? column - 1 : -1;
                const std::string text = v >= 0 ? saved.RuleBase().GetAntExpression(v, row - 1)
                                                : saved.RuleBase().GetSucExpression(0, row - 1);
                QCOMPARE(page.CellText(column, row).toStdString(), text);
            }
        }
        QVERIFY(!editor->Modified());

        // Ctrl+U and Ctrl+R in an open editor are the menu's Undo and Redo.
        TypeIntoCell(editor, 1, 3, "ex sm");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(page.CellText(1, 3), QString("ve sm"));
        QVERIFY(!page.CellEditor());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_R, Qt::ControlModifier);
        QCOMPARE(page.CellText(1, 3), QString("ex sm"));
    }

    // The "User Terms" toolbar kept the words of the editor it last heard from, and a word that
    // the cell could not take marked the rule base modified all the same.
    void userTermsFollowTheActiveEditor() {
        TFormInfUnit* terms = form_->OpenFileByName(Copy("user_terms.rb"));
        terms->ShowRulesPage();
        QVERIFY(terms->RulesPage().SelectCell(1, 1));
        TFormInfUnit* plain = form_->OpenFileByName(Copy("controller.rb"));
        plain->ShowRulesPage();
        QVERIFY(plain->RulesPage().SelectCell(1, 1));
        QCOMPARE(UserWords(form_->ToolbarUserTerms), QStringList());
        form_->MdiArea->setActiveSubWindow(FrameOf(terms));
        QCOMPARE(UserWords(form_->ToolbarUserTerms),
                 QStringList({"freezing", "mild", "hot", "comfortable"}));
        QVERIFY(terms->RulesPage().SelectCell(2, 1));
        QCOMPARE(UserWords(form_->ToolbarUserTerms),
                 QStringList({"small", "medium", "big", "muggy"}));
        terms->PageControl->setCurrentWidget(terms->TabSheetGeneral);
        QCOMPARE(UserWords(form_->ToolbarUserTerms), QStringList());
        terms->ShowRulesPage();
        QCOMPARE(UserWords(form_->ToolbarUserTerms),
                 QStringList({"small", "medium", "big", "muggy"}));
        form_->MdiArea->setActiveSubWindow(FrameOf(plain));
        QCOMPARE(UserWords(form_->ToolbarUserTerms), QStringList());

        // Another rule base's word changes nothing, and marks nothing.
        plain->SetModified(false);
        form_->WordClick("mild");
        QCOMPARE(plain->RulesPage().CellText(1, 1), QString("ve sm"));
        QVERIFY(!plain->Modified());
        form_->WordClick("or");
        QVERIFY(!plain->Modified());
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

    // This did crash: an editor's frame took its test window's frame along, and the main
    // window then deleted that one a second time; and a minimised test window that a maximised
    // editor took along restored itself while the editor's frame was half gone.
    void teardownWithATestWindowOpen() {
        for (bool minimised : {true, false}) {
            if (!form_) {
                form_ = std::make_unique<TMainForm>();
                form_->show();
            }
            TFormInfUnit* editor = form_->OpenFileByName(Copy("controller.rb"));
            QPointer<TMDIChild> window = PressTest(editor);
            QVERIFY(window);
            if (minimised) {
                FrameOf(window)->showMinimized();
                FrameOf(editor)->showMaximized();
            }
            form_.reset();
            QVERIFY(window.isNull());
        }
    }

    void aTestWindowOpenAtExitStoresItsPlacement() {
        TFormInfUnit* editor = form_->OpenFileByName(Copy("controller.rb"));
        TMDIChild* window = PressTest(editor);
        FrameOf(window)->setGeometry(30, 20, 600, 400);
        const std::string caption = window->windowTitle().toStdString();
        // The editor goes first and takes its test window with it.
        form_->MdiArea->setActiveSubWindow(FrameOf(editor));
        prompts_->Answers = {ModalResult::Yes};
        QVERIFY(form_->close());
        const auto stored = Registry().ReadValue(platform::registry::Root::CurrentUser,
                                                 kWindowAttributesKey, caption);
        QVERIFY(stored);
        QCOMPARE(DecodeWindowPlacement(stored->bytes), (WindowPlacement{30, 20, 600, 400}));
    }

    void saveAsGoesWithTheLastEditorThoughItsTestWindowIsOpen() {
        TFormInfUnit* editor = form_->OpenFileByName(Copy("controller.rb"));
        QVERIFY(PressTest(editor));
        FrameOf(editor)->close();
        QTRY_VERIFY(ChildTitles().isEmpty());
        QVERIFY(!form_->FileSaveAsItem->isEnabled());
    }

    void fileCloseOnlyWithAWindowOpen() {
        QVERIFY(!form_->FileClose1->isEnabled());
        form_->OpenFileByName(Copy("controller.rb"));
        QVERIFY(form_->FileClose1->isEnabled());
        form_->FileClose1->trigger();
        QTRY_VERIFY(!form_->FileClose1->isEnabled());
    }

    void helpContentsNamesTheMissingFile() {
        form_->HelpContentsItem->trigger();
        QCOMPARE(prompts_->Captions(), QStringList({"IO Error"}));
        QCOMPARE(prompts_->Messages[0].Text,
                 "The help file TAVOHelp.pdf was not found in " +
                     QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + ".");
        QVERIFY(prompts_->OpenedUrls.empty());
    }

    // Help > Contents only said that the file was missing, also when it was there.
    void helpContentsOpensTheFileBesideTheProgram() {
        const QString help = QDir(QCoreApplication::applicationDirPath()).filePath("TAVOHelp.pdf");
        QFile file(help);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const auto removeHelp = qScopeGuard([&] { QFile::remove(help); });
        form_->HelpContentsItem->trigger();
        QCOMPARE(prompts_->OpenedUrls, std::vector<QUrl>{QUrl::fromLocalFile(help)});
        QVERIFY(prompts_->Messages.empty());

        prompts_->ViewerStarts = false;
        form_->HelpContentsItem->trigger();
        QCOMPARE(prompts_->Captions(), QStringList({"IO Error"}));
        QCOMPARE(prompts_->Messages[0].Text,
                 "No program could open the help file " + QDir::toNativeSeparators(help) + ".");
    }

    // New windows, and windows whose stored placement lies mostly outside, open wholly inside
    // the area; a window dragged out shows scroll bars.
    void windowsOpenWithinReach() {
        form_->resize(900, 640);
        QCoreApplication::processEvents();
        const QRect area = form_->MdiArea->viewport()->rect();
        const QString stored = Copy("heater.rb");
        const QSize storedSize(640, area.height() - 10);
        Registry().WriteBinary(
            platform::registry::Root::CurrentUser, kWindowAttributesKey, stored.toStdString(),
            EncodeWindowPlacement({area.width() - 100, area.height() - 50, storedSize.width(),
                                   storedSize.height(), false}));
        QList<TFormInfUnit*> editors;
        for (const char* name : {"controller.rb", "singleton.rb", "triangles.rb"})
            editors << form_->OpenFileByName(Copy(name));
        editors << form_->OpenFileByName(stored);
        for (TFormInfUnit* editor : editors)
            QVERIFY2(area.contains(FrameOf(editor)->geometry()), qPrintable(editor->FileName()));
        QCOMPARE(FrameOf(editors.back())->size(), storedSize);
        QVERIFY(!form_->MdiArea->horizontalScrollBar()->isVisible());
        FrameOf(editors.front())->move(area.width() - 100, 10);
        QTRY_VERIFY(form_->MdiArea->horizontalScrollBar()->isVisible());
    }

    void cascadeLeavesEveryTitleBarInSight() {
        for (const char* name : {"controller.rb", "singleton.rb", "triangles.rb"})
            form_->OpenFileByName(Copy(name));
        QMdiSubWindow* first = form_->MdiArea->subWindowList().front();
        form_->MdiArea->setActiveSubWindow(first);
        form_->WindowCascade1->trigger();
        const QList<QMdiSubWindow*> stack = form_->MdiArea->subWindowList(QMdiArea::StackingOrder);
        QCOMPARE(stack.back(), first);
        QCOMPARE(form_->ActiveChild(), first);
        // Each window sits below the title bar of every window under it.
        for (int i = 1; i < stack.size(); ++i)
            QVERIFY(stack[i]->y() >= stack[i - 1]->y() + stack[i - 1]->widget()->y());
    }

    void minimisedWindowsAreToldApartAndComeBackFromTheWindowMenu() {
        const QString first = Copy("controller.rb");
        form_->OpenFileByName(first);
        TFormInfUnit* editor = form_->OpenFileByName(Copy("singleton.rb"));
        QMdiSubWindow* frame = FrameOf(editor);
        frame->showMinimized();
        QCOMPARE(frame->windowTitle(), QString("singleton.rb"));
        QCOMPARE(WindowList(), QStringList({"&1 " + first, "&2 " + editor->FileName()}));
        form_->Window1->actions().back()->trigger();
        QVERIFY(!frame->isMinimized());
        QCOMPARE(form_->ActiveChild(), frame);
        QCOMPARE(frame->windowTitle(), editor->FileName());
    }

    // This did crash: the Window menu's entry of a window closed since the menu was built
    // restored a window that was gone.
    void aWindowMenuEntryOfAClosedWindowDoesNothing() {
        form_->OpenFileByName(Copy("controller.rb"));
        TFormInfUnit* second = form_->OpenFileByName(Copy("singleton.rb"));
        QCOMPARE(WindowList().size(), 2);
        QAction* entry = form_->Window1->actions().back();
        const QPointer<QMdiSubWindow> frame = FrameOf(second);
        frame->close();
        QTRY_VERIFY(frame.isNull());
        entry->trigger();
        QCOMPARE(ChildTitles().size(), 1);
    }

    void windowMenuGivesEachWindowItsOwnKey() {
        prompts_->Dialogs.assign(11, [](QDialog&) { return int(QDialog::Accepted); });
        for (int i = 0; i < 11; ++i)
            form_->FileNew1->trigger();
        const QStringList entries = WindowList();
        QCOMPARE(entries.size(), 11);
        QCOMPARE(entries[8], QString("&9 NoName8.rb"));
        QCOMPARE(entries[9], QString("1&0 NoName9.rb"));
        QCOMPARE(entries[10], QString("11 NoName10.rb"));
    }

    // Exit stopped at an editor's bad cell without saying why.
    void exitSaysWhatHoldsAnEditor() {
        TypeIntoCell(form_->OpenFileByName(Copy("controller.rb")), 3, 2, "xx");
        prompts_->Answers = {ModalResult::Yes};
        QVERIFY(!form_->close());
        QCOMPARE(prompts_->Messages.size(), size_t(2));
        QCOMPARE(prompts_->Messages[1].Text,
                 QString("Cannot close controller.rb: bad expression in rule 2, variable braking: "
                         "atomic term expected. Escape in the cell gives it back its last valid "
                         "text"));
        QCOMPARE(ChildTitles().size(), 1);
    }

    void placementIsRestoredByCaption() {
        form_->setGeometry(30, 40, 700, 500);
        prompts_->Answers = {ModalResult::Yes};
        QVERIFY(form_->close());
        form_ = std::make_unique<TMainForm>();
        QCOMPARE(form_->geometry(), QRect(30, 40, 700, 500));
    }

    // After an exit with the window in a corner, the next start showed 95 by 50 pixels of it.
    void aWindowLeftInACornerComesBackWhole() {
        const QRect screen = form_->screen()->availableGeometry();
        form_->setGeometry(screen.right() - 95, screen.bottom() - 50, 700, 500);
        prompts_->Answers = {ModalResult::Yes};
        QVERIFY(form_->close());
        form_ = std::make_unique<TMainForm>();
        form_->show();
        QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
        QVERIFY(screen.contains(form_->frameGeometry()));
        QCOMPARE(form_->size(), QSize(700, 500));
    }

    void screenshotsOfEveryPage() {
        form_->resize(1000, 720);
        for (QAction* item : {form_->mnBasicTerms, form_->mnModifiers, form_->mnSignedBasicTerms,
                              form_->mnUserTerms})
            item->trigger();
        // A copy in a folder of a fixed name: the caption shows no path of the machine that drew
        // it, and the same one at every drawing.
        const QString shown = QDir::temp().filePath("Tavo");
        QDir().mkpath(shown);
        const QString copy = shown + "/controller.rb";
        QFile::remove(copy);
        QVERIFY(QFile::copy(Copy("controller.rb"), copy));
        TFormInfUnit* editor = form_->OpenFileByName(copy);
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
        editor->RulesPage().SelectCell(2, 3);
        QCoreApplication::processEvents();
        QVERIFY(form_->grab().save(QString(TAVO_ARTIFACT_DIR) + "/tavodesk.png"));
        QFile::remove(copy);
        QDir().rmdir(shown);

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
