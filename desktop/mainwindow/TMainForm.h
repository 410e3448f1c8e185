#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <vector>

#include "desktop/editor/EditorHost.h"
#include "desktop/toolkit/UserPrompts.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;
class QToolButton;
class TAboutBox;
class DockingFrame;
class TDialogNewBaseProperties;
class TDockKit;
class TFormInfUnit;
class TToolbarButtonKit;
class TToolbarKit;

// The MDI frame: menus, actions, speed buttons, the docks with the term toolbars, the Reopen
// menu and the close prompt. It makes editor windows for File New and File Open and forwards
// the edit commands to the active one; it keeps no model data of its own.
class TMainForm : public QMainWindow, public EditorHost {
    Q_OBJECT

  public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The forms that live for the whole run; made on first use when nobody set them.
    TAboutBox* AboutBox = nullptr;
    TDialogNewBaseProperties* DialogNewBaseProperties = nullptr;
    // The program's arguments, the program itself first (QCoreApplication::arguments()).
    QStringList CommandLine;
    // Rows copied in the user-expressions editor.
    QStringList CopiedRows;

    // The active MDI child's editor, or null.
    TFormInfUnit* ActiveEditor() const;
    QMdiSubWindow* ActiveChild() const;

    void FileNew1Execute();
    void FileOpen1Execute();
    // Null when the file was missing or could not be read. A file that an editor holds
    // already is not read again: that editor comes forward.
    TFormInfUnit* OpenFileByName(const QString& fileName) override;
    // The editor that holds the file, or null.
    TFormInfUnit* EditorOf(const QString& fileName) const;
    void AddRecentFile(const QString& fileName) override;
    void RebuildReopenMenu();
    void ReopenItemClick(int tag);
    void HelpContentsItemClick();
    void HelpAbout1Execute();
    void Timer1Timer();
    void FormActivate();
    // What a click and a right-button release on a word button do; used also by the
    // user-expression buttons that editors add to ToolbarUserTerms.
    void ConnectWordButton(TToolbarButtonKit* button);
    void WordClick(const QString& caption);
    void WordMouseUp(const QString& caption);
    // Tag 0 modifiers, 1 basic terms, 2 connectives, 3 signed basic terms, 4 user terms.
    void ViewItemClick(QAction* item);

    // EditorHost
    QMdiArea* MdiClient() const override { return MdiArea; }
    void UpdateSaveState() override;
    void EditorClosing(TFormInfUnit& editor) override;
    void UserExpressionsChanged(TFormInfUnit& editor) override;
    void EnableClipboardActions() override;
    // One word button per name after the "User Terms" toolbar's label and separator.
    void ShowUserExpressionButtons(const QStringList& names);

    QMenu* File1;
    QMenu* Edit1;
    QMenu* mnView;
    QMenu* Window1;
    QMenu* Help1;
    QMenu* RecentlyOpenedItem;

    QAction* FileNew1;
    QAction* FileOpen1;
    QAction* FileClose1;
    QAction* ActionFileSave;
    QAction* FileSaveAsItem;
    QAction* FileExit1;
    QAction* mnUndo;
    QAction* mnRedo;
    QAction* EditCut1;
    QAction* EditCopy1;
    QAction* EditPaste1;
    QAction* EditDeleteEmpty;
    QAction* mnDelDuplicit;
    QAction* DeleteRedundant;
    QAction* mnMergeInconsistent;
    QAction* mnMergeRules;
    QAction* EditDuplicate;
    QAction* EditInvert;
    QAction* mnModifiers;
    QAction* mnBasicTerms;
    QAction* mnConnectives;
    QAction* mnSignedBasicTerms;
    QAction* mnUserTerms;
    QAction* WindowCascade1;
    QAction* WindowTileHorizontal1;
    QAction* WindowTileVertical1;
    QAction* WindowMinimizeAll1;
    QAction* WindowArrangeAll1;
    QAction* HelpContentsItem;
    QAction* HelpAbout1;

    QToolBar* ToolBar2;
    QToolButton* spbFileNew;
    QToolButton* spbFileOpen;
    QToolButton* spbFileSave;
    QToolButton* spbCascade;
    QToolButton* spbTileHorizontally;
    QToolButton* spbTileVertically;
    QLabel* lbMemory;
    QTimer* Timer1;

    toolkit::TFileDialog OpenDialog;

    // The docks around the MDI area.
    ::DockingFrame* DockingFrame;
    QMdiArea* MdiArea;
    TDockKit* DockKit1;
    TDockKit* DockKit2;
    TDockKit* DockKit3;
    TDockKit* DockKit4;
    TToolbarKit* ToolbarBasicTerms;
    TToolbarKit* ToolbarSignedBasicTerms;
    TToolbarKit* ToolbarModifiers;
    TToolbarKit* ToolbarConnectives;
    TToolbarKit* ToolbarUserTerms;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildMenus();
    void BuildSpeedButtons();
    void BuildDocks();
    void FormCreate();
    // The close prompt and the closing of every child; false refuses the close.
    bool FormClose();
    void onMdiAreaSubWindowActivated(QMdiSubWindow* window);
    // The term toolbar that a View item with this Tag shows, or null.
    TToolbarKit* ToolbarByTag(int tag) const;
    // File Close applies only while a window is open.
    void UpdateWindowCommands();
    // The open windows under the Window menu's commands, numbered; choosing one restores it.
    void RebuildWindowList();
    void CascadeChildren();
    void TileChildren(bool horizontally);
    // Lines the minimised windows up along the bottom of the area and answers the part above
    // them, which the other windows share.
    QRect ArrangeMinimisedChildren();
    QList<QMdiSubWindow*> ShownChildrenActiveLast() const;
    void PlaceChildren(const QList<QMdiSubWindow*>& shown, const std::vector<QRect>& rects);
    void ForwardToEditor(void (*command)(TFormInfUnit&), bool needsGridFocus);
    void SendClipboardCommand(const char* method);
    void SetSaveEnabled(bool enabled);

    std::uint32_t newFileCounter_ = 0;
    bool firstActivation_ = false;
    // The active editor's own menu, shown in the menu bar while it is active.
    QPointer<QMenu> mergedMenu_;
    QStringList shownUserExpressions_;
};
