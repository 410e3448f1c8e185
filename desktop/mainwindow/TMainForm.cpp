#include "desktop/mainwindow/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <exception>
#include <vector>

#include "core/rulebase/CRuleBase.h"
#include "core/text/ESyntax.h"
#include "desktop/SpeedButtonGlyphs.h"
#include "desktop/WindowAttributes.h"
#include "desktop/data/TDataPage.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/mainwindow/MdiArrangement.h"
#include "desktop/mainwindow/RecentFiles.h"
#include "desktop/mainwindow/TAboutBox.h"
#include "desktop/mainwindow/TDialogNewBaseProperties.h"
#include "desktop/mainwindow/TermToolbars.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/toolkit/HeapStatus.h"
#include "desktop/userterms/TUserTerms.h"
#include "desktop/userterms/UserTermsView.h"
#include "toolbars/DockingFrame.h"
#include "toolbars/TDockKit.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"

using toolkit::MessageDlg;
using toolkit::MsgIcon;

namespace {

constexpr const char* kProductTitle = "TAVO for Win32";
constexpr const char* kHelpFile = "TAVOHelp.pdf";

QAction* Item(QMenu* menu, const QString& caption, const QString& name,
              const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

// The reader's remarks in one box; a file with many unread lines names the first ones.
void ShowReadWarnings(const QStringList& warnings) {
    constexpr qsizetype kShown = 10;
    if (warnings.isEmpty())
        return;
    QStringList lines = warnings.mid(0, kShown);
    if (warnings.size() > kShown)
        lines << QString("... and %1 more").arg(warnings.size() - kShown);
    MessageDlg(lines.join('\n'), "Warning", MsgIcon::Warning, toolkit::mbOK);
}

// Minimised windows are narrow: their title bars show the file name rather than the start of
// its folder, and the whole caption again once restored.
void ShowFileNameWhenMinimized(QMdiSubWindow& frame) {
    if (!frame.widget())
        return;
    const QString caption = frame.widget()->windowTitle();
    frame.setWindowTitle(frame.isMinimized() ? QFileInfo(caption).fileName() : caption);
}

// Beside the program as built, or in the documentation folder of an installation.
QString HelpFileOf(const QDir& programFolder) {
    const QStringList candidates{
        programFolder.filePath(kHelpFile),
        QDir::cleanPath(programFolder.filePath(TAVO_INSTALLED_HELP_DIR "/") + kHelpFile)};
    for (const QString& candidate : candidates) {
        if (QFileInfo::exists(candidate))
            return candidate;
    }
    return {};
}

// The reader's message; one that is about the whole file names it, as "File not found: " does.
QString ReadFailureText(const ESyntax& error, const QString& fileName) {
    const QString message = QString::fromStdString(error.Message());
    return message == "bad file type" ? message + ": " + fileName : message;
}

// One file under two names (a link, "..", another spelling of the folder) is still one file.
bool SameFile(const QString& one, const QString& other) {
    const QString first = QFileInfo(one).canonicalFilePath();
    if (!first.isEmpty())
        return first == QFileInfo(other).canonicalFilePath();
    return QDir::cleanPath(QFileInfo(one).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(other).absoluteFilePath());
}

void ShowError(const std::exception& error) {
    MessageDlg(QString::fromUtf8(error.what()), kProductTitle, MsgIcon::Error, toolkit::mbOK);
}

}  // namespace

TMainForm::TMainForm(QWidget* parent) : QMainWindow(parent) {
    setObjectName("MainForm");
    setWindowTitle(kProductTitle);
    setWindowIcon(ApplicationGlyph());
    CommandLine = QCoreApplication::arguments();
    BuildMenus();
    BuildSpeedButtons();
    BuildDocks();
    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TMainForm::Timer1Timer);
    OpenDialog.Filter = "All files (*.*)|*.*|Rulebase (*.rb)|*.rb";
    OpenDialog.FilterIndex = 2;
    OpenDialog.FileMustExist = true;
    resize(960, 680);
    FormCreate();
}

TMainForm::~TMainForm() {
    // Editors call back into the main window while they go.
    disconnect(MdiArea, nullptr, this, nullptr);
    // Test windows go first: one that its editor takes along while the editor's frame is torn
    // down would restore itself among frames that are half gone. Guarded all the same.
    QList<QMdiSubWindow*> children = MdiArea->subWindowList();
    std::stable_partition(children.begin(), children.end(), [](QMdiSubWindow* child) {
        return !qobject_cast<TFormInfUnit*>(child->widget());
    });
    const std::vector<QPointer<QMdiSubWindow>> guarded(children.begin(), children.end());
    for (const QPointer<QMdiSubWindow>& child : guarded)
        delete child.data();
}

void TMainForm::BuildMenus() {
    File1 = menuBar()->addMenu("&File");
    File1->setObjectName("File1");
    connect(File1, &QMenu::aboutToShow, this, &TMainForm::UpdateWindowCommands);
    FileNew1 = Item(File1, "&New", "FileNew1", QKeySequence("Ctrl+N"));
    FileOpen1 = Item(File1, "&Open", "FileOpen1", QKeySequence("Ctrl+O"));
    FileClose1 = Item(File1, "&Close", "FileClose1");
    ActionFileSave = Item(File1, "&Save", "ActionFileSave", QKeySequence("Ctrl+S"));
    FileSaveAsItem = Item(File1, "Save &As...", "FileSaveAsItem");
    ActionFileSave->setEnabled(false);
    FileSaveAsItem->setEnabled(false);
    File1->addSeparator();
    RecentlyOpenedItem = File1->addMenu("Reopen");
    RecentlyOpenedItem->setObjectName("RecentlyOpenedItem");
    File1->addSeparator();
    FileExit1 = Item(File1, "E&xit", "FileExit1");

    Edit1 = menuBar()->addMenu("&Edit");
    Edit1->setObjectName("Edit1");
    mnUndo = Item(Edit1, "Undo", "mnUndo", QKeySequence("Ctrl+U"));
    mnRedo = Item(Edit1, "Redo", "mnRedo", QKeySequence("Ctrl+R"));
    Edit1->addSeparator();
    EditCut1 = Item(Edit1, "Cu&t", "EditCut1", QKeySequence("Ctrl+X"));
    EditCopy1 = Item(Edit1, "&Copy", "EditCopy1", QKeySequence("Ctrl+C"));
    EditPaste1 = Item(Edit1, "&Paste", "EditPaste1", QKeySequence("Ctrl+V"));
    Edit1->addSeparator();
    EditDeleteEmpty = Item(Edit1, "Delete &Empty", "EditDeleteEmpty", QKeySequence("Ctrl+E"));
    mnDelDuplicit = Item(Edit1, "Delete D&uplicit", "mnDelDuplicit");
    DeleteRedundant = Item(Edit1, "Delete &Redundant", "DeleteRedundant");
    mnMergeInconsistent = Item(Edit1, "Merge Inconsistent", "mnMergeInconsistent");
    mnMergeRules = Item(Edit1, "Merge Rules", "mnMergeRules");
    mnMergeRules->setVisible(false);
    Edit1->addSeparator();
    EditDuplicate = Item(Edit1, "&Duplicate", "EditDuplicate", QKeySequence("Ctrl+D"));
    EditInvert = Item(Edit1, "&Invert sign (+/-)", "EditInvert", QKeySequence("Ctrl+I"));

    mnView = menuBar()->addMenu("&View");
    mnView->setObjectName("mnView");
    mnModifiers = Item(mnView, "&Modifiers", "mnModifiers");
    mnBasicTerms = Item(mnView, "&Basic expressions", "mnBasicTerms");
    mnConnectives = Item(mnView, "&Connectives", "mnConnectives");
    mnSignedBasicTerms = Item(mnView, "&Signed basic expressions", "mnSignedBasicTerms");
    mnUserTerms = Item(mnView, "&User expressions", "mnUserTerms");
    mnConnectives->setVisible(false);
    for (QAction* item :
         {mnModifiers, mnBasicTerms, mnConnectives, mnSignedBasicTerms, mnUserTerms}) {
        item->setCheckable(true);
        connect(item, &QAction::triggered, this, [this, item] { ViewItemClick(item); });
    }

    Window1 = menuBar()->addMenu("&Window");
    Window1->setObjectName("Window1");
    WindowCascade1 = Item(Window1, "&Cascade", "WindowCascade1");
    WindowTileHorizontal1 = Item(Window1, "Tile &Horizontally", "WindowTileHorizontal1");
    WindowTileVertical1 = Item(Window1, "Tile &Vertically", "WindowTileVertical1");
    WindowMinimizeAll1 = Item(Window1, "&Minimize All", "WindowMinimizeAll1");
    WindowArrangeAll1 = Item(Window1, "&Arrange All", "WindowArrangeAll1");
    connect(Window1, &QMenu::aboutToShow, this, &TMainForm::RebuildWindowList);

    Help1 = menuBar()->addMenu("&Help");
    Help1->setObjectName("Help1");
    HelpContentsItem = Item(Help1, "Contents...", "HelpContentsItem");
    HelpAbout1 = Item(Help1, "&About...", "HelpAbout1");

    connect(FileNew1, &QAction::triggered, this, &TMainForm::FileNew1Execute);
    connect(FileOpen1, &QAction::triggered, this, &TMainForm::FileOpen1Execute);
    FileClose1->setEnabled(false);
    connect(FileClose1, &QAction::triggered, this, [this] {
        if (QMdiSubWindow* child = ActiveChild())
            child->close();
    });
    connect(ActionFileSave, &QAction::triggered, this, [this] {
        if (TFormInfUnit* editor = ActiveEditor()) {
            editor->Save();
            UpdateSaveState();
        }
    });
    connect(FileSaveAsItem, &QAction::triggered, this, [this] {
        if (TFormInfUnit* editor = ActiveEditor()) {
            editor->SaveRuleBaseAs();
            UpdateSaveState();
        }
    });
    connect(FileExit1, &QAction::triggered, this, &QWidget::close);

    connect(mnUndo, &QAction::triggered, this, [this] {
        ForwardToEditor([](TFormInfUnit& e) { e.RulesPage().UndoRuleEdit(); }, false);
    });
    connect(mnRedo, &QAction::triggered, this, [this] {
        ForwardToEditor([](TFormInfUnit& e) { e.RulesPage().RedoRuleEdit(); }, false);
    });
    connect(EditCut1, &QAction::triggered, this, [this] {
        TFormInfUnit* editor = ActiveEditor();
        if (editor && editor->RulesPage().GridFocused())
            editor->RulesPage().CutRules();
        else
            SendClipboardCommand("cut");
    });
    connect(EditCopy1, &QAction::triggered, this, [this] {
        if (auto* terms = qobject_cast<TUserTerms*>(QApplication::activeWindow())) {
            if (terms->EditUserTerms->hasFocus())
                terms->CopyRows();
            else if (QWidget* focused = terms->focusWidget())
                QMetaObject::invokeMethod(focused, "copy");
            return;
        }
        TFormInfUnit* editor = ActiveEditor();
        if (editor && editor->RulesPage().GridFocused())
            editor->RulesPage().CopyRules();
        else
            SendClipboardCommand("copy");
    });
    connect(EditPaste1, &QAction::triggered, this, [this] {
        TFormInfUnit* editor = ActiveEditor();
        if (editor && editor->RulesPage().GridFocused())
            editor->RulesPage().PasteRules();
        else
            SendClipboardCommand("paste");
    });
    connect(EditDeleteEmpty, &QAction::triggered, this, [this] {
        ForwardToEditor([](TFormInfUnit& e) { e.RulesPage().DeleteEmptyRules(); }, true);
    });
    connect(mnDelDuplicit, &QAction::triggered, this, [this] {
        TFormInfUnit* editor = ActiveEditor();
        if (editor && editor->ShowsRulesPage())
            editor->RulesPage().DeleteDuplicateRules();
    });
    connect(DeleteRedundant, &QAction::triggered, this, [this] {
        ForwardToEditor([](TFormInfUnit& e) { e.RulesPage().DeleteRedundantRules(); }, false);
    });
    connect(mnMergeInconsistent, &QAction::triggered, this, [this] {
        ForwardToEditor([](TFormInfUnit& e) { e.RulesPage().MergeInconsistentRules(); }, false);
    });
    connect(mnMergeRules, &QAction::triggered, this,
            [this] { ForwardToEditor([](TFormInfUnit& e) { e.DataPage().MergeRules(); }, false); });
    connect(EditDuplicate, &QAction::triggered, this, [this] {
        ForwardToEditor([](TFormInfUnit& e) { e.RulesPage().DuplicateRules(); }, true);
    });
    connect(EditInvert, &QAction::triggered, this,
            [this] { ForwardToEditor([](TFormInfUnit& e) { e.RulesPage().InvertSign(); }, true); });

    connect(WindowCascade1, &QAction::triggered, this, &TMainForm::CascadeChildren);
    connect(WindowTileHorizontal1, &QAction::triggered, this, [this] { TileChildren(true); });
    connect(WindowTileVertical1, &QAction::triggered, this, [this] { TileChildren(false); });
    connect(WindowMinimizeAll1, &QAction::triggered, this, [this] {
        for (QMdiSubWindow* child : MdiArea->subWindowList())
            child->showMinimized();
    });
    connect(WindowArrangeAll1, &QAction::triggered, this, &TMainForm::ArrangeMinimisedChildren);
    connect(HelpContentsItem, &QAction::triggered, this, &TMainForm::HelpContentsItemClick);
    connect(HelpAbout1, &QAction::triggered, this, &TMainForm::HelpAbout1Execute);
}

void TMainForm::BuildSpeedButtons() {
    ToolBar2 = addToolBar("Speed buttons");
    ToolBar2->setObjectName("ToolBar2");
    ToolBar2->setMovable(false);
    ToolBar2->setIconSize(QSize(16, 16));
    auto button = [this](const char* name, const QIcon& glyph, const QString& hint) {
        auto* speed = new QToolButton(ToolBar2);
        speed->setObjectName(name);
        speed->setIcon(glyph);
        speed->setToolTip(hint);
        speed->setAutoRaise(true);
        ToolBar2->addWidget(speed);
        return speed;
    };
    spbFileNew = button("spbFileNew", FileNewGlyph(), "New rule base");
    spbFileOpen = button("spbFileOpen", FileOpenGlyph(), "Open a rule base");
    spbFileSave = button("spbFileSave", FileSaveGlyph(), "Save the rule base");
    ToolBar2->addSeparator();
    spbCascade = button("spbCascade", CascadeGlyph(), "Cascade");
    spbTileHorizontally =
        button("spbTileHorizontally", TileHorizontallyGlyph(), "Tile horizontally");
    spbTileVertically = button("spbTileVertically", TileVerticallyGlyph(), "Tile vertically");
    spbFileSave->setEnabled(false);
    lbMemory = new QLabel(ToolBar2);
    lbMemory->setObjectName("lbMemory");
    lbMemory->setContentsMargins(12, 0, 0, 0);
    ToolBar2->addWidget(lbMemory);
    connect(spbFileNew, &QToolButton::clicked, FileNew1, &QAction::trigger);
    connect(spbFileOpen, &QToolButton::clicked, FileOpen1, &QAction::trigger);
    connect(spbFileSave, &QToolButton::clicked, ActionFileSave, &QAction::trigger);
    connect(spbCascade, &QToolButton::clicked, WindowCascade1, &QAction::trigger);
    connect(spbTileHorizontally, &QToolButton::clicked, WindowTileHorizontal1, &QAction::trigger);
    connect(spbTileVertically, &QToolButton::clicked, WindowTileVertical1, &QAction::trigger);
}

void TMainForm::BuildDocks() {
    DockingFrame = new ::DockingFrame(this);
    DockingFrame->setObjectName("DockingFrame");
    // The term toolbars dock in DockKit2, under the menus, where the words are wanted.
    DockKit1 = DockingFrame->DockLeft;
    DockKit2 = DockingFrame->DockTop;
    DockKit3 = DockingFrame->DockRight;
    DockKit4 = DockingFrame->DockBottom;
    MdiArea = new QMdiArea;
    MdiArea->setObjectName("MdiArea");
    // A child that lies partly outside the area stays in reach.
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->viewport()->installEventFilter(this);
    DockingFrame->setCentralWidget(MdiArea);
    setCentralWidget(DockingFrame);
    connect(MdiArea, &QMdiArea::subWindowActivated, this, &TMainForm::onMdiAreaSubWindowActivated);
}

void TMainForm::FormCreate() {
    LoadWindowAttributes(*this);
    mnModifiers->setData(0);
    mnBasicTerms->setData(1);
    mnConnectives->setData(2);
    mnSignedBasicTerms->setData(3);
    mnUserTerms->setData(4);
    TToolbarKit** toolbars[] = {&ToolbarBasicTerms, &ToolbarSignedBasicTerms, &ToolbarModifiers,
                                &ToolbarConnectives, &ToolbarUserTerms};
    // Where each bar docks when first shown: the short ones share the first row.
    const int dockRows[] = {0, 1, 0, 0, 1};
    int index = 0;
    for (const TermToolbarTable& table : TermToolbarTables()) {
        TToolbarKit* toolbar = BuildTermToolbar(*this, table);
        for (QObject* child : toolbar->children()) {
            if (auto* word = qobject_cast<TToolbarButtonKit*>(child))
                ConnectWordButton(word);
        }
        toolbar->SetDockRow(dockRows[index]);
        toolbar->SetDockPos(index);
        toolbar->SetParent(DockKit2);
        toolbar->ArrangeControls();
        *toolbars[index] = toolbar;
        ++index;
    }
    // The close box of a floating bar hides it too; its View item follows.
    for (QAction* item :
         {mnModifiers, mnBasicTerms, mnConnectives, mnSignedBasicTerms, mnUserTerms})
        connect(ToolbarByTag(item->data().toInt()), &TToolbarKit::visibleChanged, item,
                &QAction::setChecked);
    try {
        RebuildReopenMenu();
    } catch (const std::exception& error) {
        ShowError(error);
    }
    firstActivation_ = true;
}

void TMainForm::ConnectWordButton(TToolbarButtonKit* button) {
    connect(button, &TToolbarButtonKit::clicked, this,
            [this, button] { WordClick(button->Caption()); });
    button->installEventFilter(this);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // Polished once, when the frame is whole (it is added while still being made).
    if (watched == MdiArea->viewport() && event->type() == QEvent::ChildPolished) {
        QObject* child = static_cast<QChildEvent*>(event)->child();
        // The area may still report the state of a frame that is being destroyed, which is no
        // longer a frame then.
        if (auto* frame = qobject_cast<QMdiSubWindow*>(child))
            connect(frame, &QMdiSubWindow::windowStateChanged, this, [child] {
                if (auto* whole = qobject_cast<QMdiSubWindow*>(child))
                    ShowFileNameWhenMinimized(*whole);
            });
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* button = qobject_cast<TToolbarButtonKit*>(watched);
        if (button && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton)
            WordMouseUp(button->Caption());
    }
    return QMainWindow::eventFilter(watched, event);
}

void TMainForm::WordClick(const QString& caption) {
    if (TFormInfUnit* editor = ActiveEditor())
        editor->RulesPage().InsertWord(WordShortForm(caption));
}

void TMainForm::WordMouseUp(const QString& caption) {
    TFormInfUnit* editor = ActiveEditor();
    if (!editor)
        return;
    editor->RulesPage().InsertWord(WordShortForm(caption));
    if (editor->ShowsRulesPage())
        editor->RulesPage().MoveToNextCell();
}

TToolbarKit* TMainForm::ToolbarByTag(int tag) const {
    TToolbarKit* const byTag[] = {ToolbarModifiers, ToolbarBasicTerms, ToolbarConnectives,
                                  ToolbarSignedBasicTerms, ToolbarUserTerms};
    return tag >= 0 && tag < 5 ? byTag[tag] : nullptr;
}

void TMainForm::ViewItemClick(QAction* item) {
    if (TToolbarKit* toolbar = ToolbarByTag(item->data().toInt()))
        toolbar->SetVisible(item->isChecked());
}

QMdiSubWindow* TMainForm::ActiveChild() const {
    if (QMdiSubWindow* active = MdiArea->activeSubWindow())
        return active;
    if (QMdiSubWindow* current = MdiArea->currentSubWindow())
        return current;
    const QList<QMdiSubWindow*> children = MdiArea->subWindowList(QMdiArea::StackingOrder);
    return children.isEmpty() ? nullptr : children.last();
}

TFormInfUnit* TMainForm::ActiveEditor() const {
    QMdiSubWindow* child = ActiveChild();
    return child ? qobject_cast<TFormInfUnit*>(child->widget()) : nullptr;
}

void TMainForm::ForwardToEditor(void (*command)(TFormInfUnit&), bool needsGridFocus) {
    TFormInfUnit* editor = ActiveEditor();
    if (!editor || (needsGridFocus && !editor->RulesPage().GridFocused()))
        return;
    command(*editor);
}

void TMainForm::SendClipboardCommand(const char* method) {
    QMdiSubWindow* child = ActiveChild();
    QWidget* focused = child && child->widget() ? child->widget()->focusWidget() : nullptr;
    // Only editing controls know the clipboard commands.
    if (focused && focused->metaObject()->indexOfSlot((QByteArray(method) + "()").constData()) >= 0)
        QMetaObject::invokeMethod(focused, method);
}

void TMainForm::UpdateWindowCommands() {
    FileClose1->setEnabled(!MdiArea->subWindowList().isEmpty());
}

void TMainForm::RebuildWindowList() {
    const QList<QAction*> items = Window1->actions();
    for (qsizetype i = items.indexOf(WindowArrangeAll1) + 1; i < items.size(); ++i)
        delete items[i];
    const QList<QMdiSubWindow*> children = MdiArea->subWindowList();
    if (!children.isEmpty())
        Window1->addSeparator();
    int number = 0;
    for (QMdiSubWindow* child : children) {
        ++number;
        // One digit each: the tenth window answers to 0, the ones after it to no key.
        const QString label = number < 10    ? QString("&%1").arg(number)
                              : number == 10 ? QString("1&0")
                                             : QString::number(number);
        const QString title = child->widget() ? child->widget()->windowTitle() : QString();
        QAction* item = Window1->addAction(label + " " + QString(title).replace('&', "&&"));
        item->setCheckable(true);
        item->setChecked(child == ActiveChild());
        // An entry left over from a window that has gone does nothing.
        connect(item, &QAction::triggered, child, [this, child] {
            if (child->isMinimized())
                child->showNormal();
            MdiArea->setActiveSubWindow(child);
        });
    }
}

QRect TMainForm::ArrangeMinimisedChildren() {
    const QRect area = MdiArea->viewport()->rect();
    QList<QMdiSubWindow*> minimised;
    for (QMdiSubWindow* child : MdiArea->subWindowList()) {
        if (child->isMinimized())
            minimised << child;
    }
    if (minimised.isEmpty())
        return area;
    const QSize icon = minimised.first()->size();
    const auto rects = ArrangeIconRects(area, int(minimised.size()), icon);
    for (int i = 0; i < minimised.size(); ++i)
        minimised[i]->move(rects[i].topLeft());
    return AreaAboveIcons(area, int(minimised.size()), icon);
}

QList<QMdiSubWindow*> TMainForm::ShownChildrenActiveLast() const {
    QList<QMdiSubWindow*> shown;
    QMdiSubWindow* active = ActiveChild();
    for (QMdiSubWindow* child : MdiArea->subWindowList()) {
        if (child->isVisible() && !child->isMinimized() && child != active)
            shown << child;
    }
    if (active && active->isVisible() && !active->isMinimized())
        shown << active;
    return shown;
}

void TMainForm::PlaceChildren(const QList<QMdiSubWindow*>& shown, const std::vector<QRect>& rects) {
    // Each window goes above the ones before it, the active one last, so that where windows
    // overlap no title bar is hidden.
    for (int i = 0; i < shown.size(); ++i) {
        shown[i]->setGeometry(rects[i]);
        shown[i]->raise();
    }
    if (!shown.isEmpty())
        MdiArea->setActiveSubWindow(shown.back());
    // Windows too large for the area pass over the minimised ones, which then stay on top: the
    // area lines them up along its bottom again when scroll bars take room from it.
    for (QMdiSubWindow* child : MdiArea->subWindowList()) {
        if (child->isMinimized())
            child->raise();
    }
}

void TMainForm::TileChildren(bool horizontally) {
    // The minimised windows keep the bottom of the area, where they stay in reach.
    const QRect area = ArrangeMinimisedChildren();
    const QList<QMdiSubWindow*> shown = ShownChildrenActiveLast();
    if (shown.isEmpty())
        return;
    std::vector<QSize> smallest;
    for (QMdiSubWindow* child : shown) {
        child->showNormal();
        smallest.push_back(child->minimumSizeHint());
    }
    const int titleBar = std::max(shown.front()->widget() ? shown.front()->widget()->y() : 0, 1);
    PlaceChildren(shown, TileRects(area, smallest, horizontally, titleBar));
}

void TMainForm::CascadeChildren() {
    const QRect area = ArrangeMinimisedChildren();
    // The active window comes last, on top, where it hides no other window's title bar.
    const QList<QMdiSubWindow*> shown = ShownChildrenActiveLast();
    if (shown.isEmpty())
        return;
    QSize smallest;
    for (QMdiSubWindow* child : shown) {
        child->showNormal();
        smallest = smallest.expandedTo(child->minimumSizeHint());
    }
    // The step uncovers the frame's top edge and its title bar.
    const int step = shown.front()->widget() ? shown.front()->widget()->y() : 0;
    PlaceChildren(shown, CascadeRects(area, int(shown.size()), std::max(step, 1), smallest));
}

void TMainForm::SetSaveEnabled(bool enabled) {
    ActionFileSave->setEnabled(enabled);
    spbFileSave->setEnabled(enabled);
}

void TMainForm::FileNew1Execute() {
    if (!DialogNewBaseProperties)
        DialogNewBaseProperties = new TDialogNewBaseProperties(this);
    if (toolkit::ShowModal(*DialogNewBaseProperties) != QDialog::Accepted)
        return;
    const std::optional<TypeOfDescription> kind = DialogNewBaseProperties->GetKind();
    if (!kind)
        return;
    auto* editor = new TFormInfUnit(this, std::make_unique<CRuleBase>(*kind));
    editor->SetFileName("NoName" + QString::number(newFileCounter_++) + ".rb");
    editor->show();
    SetSaveEnabled(true);
    FileSaveAsItem->setEnabled(true);
}

void TMainForm::FileOpen1Execute() {
    if (TFormInfUnit* editor = ActiveEditor()) {
        OpenDialog.InitialDir = QFileInfo(editor->FileName()).absolutePath();
        OpenDialog.FileName = editor->FileName();
    }
    if (OpenDialog.Execute())
        OpenFileByName(OpenDialog.FileName);
}

TFormInfUnit* TMainForm::OpenFileByName(const QString& fileName) {
    const QFileInfo file(fileName);
    if (!file.exists()) {
        MessageDlg("File not found: " + fileName, "IO Error", MsgIcon::Warning, toolkit::mbOK);
        return nullptr;
    }
    // Relative names from the command line would not find their file from another folder.
    const QString fullName = file.absoluteFilePath();
    // A second editor on the file would save over the first one's changes without a word.
    if (TFormInfUnit* holder = EditorOf(fullName)) {
        auto* frame = qobject_cast<QMdiSubWindow*>(holder->parentWidget());
        if (frame && frame->isMinimized())
            frame->showNormal();
        MdiArea->setActiveSubWindow(frame);
        AddRecentFile(fullName);
        SetSaveEnabled(holder->Modified());
        return holder;
    }
    TFormInfUnit* editor = nullptr;
    try {
        // The editor starts unmodified unless a variable was corrected while it opened.
        editor = new TFormInfUnit(this, fullName);
        FileSaveAsItem->setEnabled(true);
        editor->show();
        ShowReadWarnings(editor->ReadWarnings());
    } catch (const ESyntax& error) {
        MessageDlg(ReadFailureText(error, fullName), "Syntax error", MsgIcon::None, toolkit::mbOK);
    } catch (const std::exception& error) {
        ShowError(error);
    }
    AddRecentFile(fullName);
    SetSaveEnabled(editor && editor->Modified());
    return editor;
}

TFormInfUnit* TMainForm::EditorOf(const QString& fileName) const {
    for (QMdiSubWindow* child : MdiArea->subWindowList()) {
        auto* editor = qobject_cast<TFormInfUnit*>(child->widget());
        if (editor && SameFile(editor->FileName(), fileName))
            return editor;
    }
    return nullptr;
}

void TMainForm::AddRecentFile(const QString& fileName) {
    try {
        ::AddRecentFile(fileName);
        RebuildReopenMenu();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}

void TMainForm::RebuildReopenMenu() {
    ::RebuildReopenMenu(*RecentlyOpenedItem, [this](int tag) { ReopenItemClick(tag); });
}

void TMainForm::ReopenItemClick(int tag) {
    QString name;
    try {
        name = RecentFileAt(tag);
    } catch (const std::exception& error) {
        ShowError(error);
        return;
    }
    OpenFileByName(name);
}

void TMainForm::HelpContentsItemClick() {
    const QDir folder(QCoreApplication::applicationDirPath());
    const QString help = HelpFileOf(folder);
    if (help.isEmpty()) {
        MessageDlg(QString("The help file %1 was not found in %2.")
                       .arg(kHelpFile, QDir::toNativeSeparators(folder.path())),
                   "IO Error", MsgIcon::Warning, toolkit::mbOK);
        return;
    }
    if (!toolkit::OpenUrl(QUrl::fromLocalFile(help)))
        MessageDlg("No program could open the help file " + QDir::toNativeSeparators(help) + ".",
                   "IO Error", MsgIcon::Warning, toolkit::mbOK);
}

void TMainForm::HelpAbout1Execute() {
    if (!AboutBox)
        AboutBox = new TAboutBox(this);
    toolkit::ShowModal(*AboutBox);
}

void TMainForm::Timer1Timer() {
    lbMemory->setText(QString::number(toolkit::HeapAllocatedBytes()));
}

void TMainForm::FormActivate() {
    if (!firstActivation_ || CommandLine.size() < 2)
        return;
    firstActivation_ = false;
    for (int i = 1; i < CommandLine.size(); ++i) {
        if (QFileInfo(CommandLine[i]).isFile())
            OpenFileByName(CommandLine[i]);
    }
}

void TMainForm::UpdateSaveState() {
    QMdiSubWindow* child = ActiveChild();
    if (!child)
        return;
    auto* editor = qobject_cast<TFormInfUnit*>(child->widget());
    SetSaveEnabled(editor && editor->Modified());
}

void TMainForm::UserExpressionsChanged(TFormInfUnit& editor) {
    if (&editor == ActiveEditor())
        ShowUserExpressionButtons(editor.UserExpressionNames());
}

void TMainForm::ShowUserExpressionButtons(const QStringList& names) {
    if (names == shownUserExpressions_)
        return;
    shownUserExpressions_ = names;
    // The toolbar learns of new buttons through events, so its order may not list them yet. A
    // right click on one of them moves to the next cell, which lands here while the button
    // still handles its release: it leaves the toolbar now and goes when the event is done.
    for (auto* button :
         ToolbarUserTerms->findChildren<TToolbarButtonKit*>(Qt::FindDirectChildrenOnly)) {
        button->hide();
        button->setParent(nullptr);
        button->deleteLater();
    }
    for (const QString& name : names)
        ConnectWordButton(AddWordButton(*ToolbarUserTerms, name));
}

void TMainForm::EnableClipboardActions() {
    for (QAction* action : {EditCut1, EditCopy1, EditPaste1})
        action->setEnabled(true);
}

void TMainForm::EditorClosing(TFormInfUnit& editor) {
    if (&editor == ActiveEditor())
        ShowUserExpressionButtons({});
    // A test window goes with its editor, so only other editors keep Save As.
    int others = 0;
    for (QMdiSubWindow* child : MdiArea->subWindowList()) {
        auto* other = qobject_cast<TFormInfUnit*>(child->widget());
        if (other && other != &editor)
            ++others;
    }
    if (others == 0) {
        SetSaveEnabled(false);
        FileSaveAsItem->setEnabled(false);
    }
    if (mergedMenu_ == editor.Rulesinfo1) {
        menuBar()->removeAction(mergedMenu_->menuAction());
        mergedMenu_ = nullptr;
    }
}

void TMainForm::onMdiAreaSubWindowActivated(QMdiSubWindow* window) {
    UpdateWindowCommands();
    auto* editor = window ? qobject_cast<TFormInfUnit*>(window->widget()) : nullptr;
    QMenu* wanted = editor ? editor->Rulesinfo1 : nullptr;
    if (wanted != mergedMenu_) {
        if (mergedMenu_)
            menuBar()->removeAction(mergedMenu_->menuAction());
        if (wanted)
            menuBar()->insertMenu(Window1->menuAction(), wanted);
        mergedMenu_ = wanted;
    }
    if (editor)
        editor->FormActivate();
    // The words of the active editor, also when the area has none active for a moment.
    const TFormInfUnit* active = ActiveEditor();
    ShowUserExpressionButtons(active ? active->UserExpressionNames() : QStringList());
}

bool TMainForm::FormClose() {
    if (MessageDlg("Do you really want to close TAVO?", "Confirmation", MsgIcon::Confirmation,
                   toolkit::mbYesNo) != toolkit::ModalResult::Yes)
        return false;
    while (QMdiSubWindow* child = ActiveChild()) {
        if (!child->close())
            return false;
        delete child;
    }
    CopiedRows.clear();
    try {
        SaveWindowAttributes(*this);
    } catch (const std::exception& error) {
        ShowError(error);
    }
    return true;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Without a window manager the window may never become active; the first show counts too.
    QTimer::singleShot(0, this, &TMainForm::FormActivate);
}
