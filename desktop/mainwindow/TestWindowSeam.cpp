#include "desktop/mainwindow/TestWindowSeam.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSignalBlocker>

#include "desktop/WindowAttributes.h"
#include "desktop/editor/EditorHost.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/testwindow/TMDIChild.h"
#include "desktop/testwindow/TestWindowOwner.h"
#include "desktop/toolkit/MdiPlacement.h"

namespace {

constexpr const char* kLinkName = "testWindowLink";

// Lives as a child of its editor, so as long as any test window the editor opened.
class EditorLink : public QObject, public TestWindowOwner {
  public:
    explicit EditorLink(TFormInfUnit& editor) : QObject(&editor), editor_(editor) {
        setObjectName(QString::fromLatin1(kLinkName));
    }

    void SetEditingEnabled(bool enabled) override { editor_.SetEditingEnabled(enabled); }
    // The editor's own handlers would run the change again; only its controls follow.
    void SetInferenceMethodIndex(int index) override {
        const QSignalBlocker blocker(editor_.ComboBoxInfType);
        editor_.ComboBoxInfType->setCurrentIndex(index);
    }
    void SetDefuzzificationMethodIndex(int index) override {
        const QSignalBlocker blocker(editor_.ComboBoxDefType);
        editor_.ComboBoxDefType->setCurrentIndex(index);
    }
    void SetFuzzyFilterChecked(bool checked) override {
        const QSignalBlocker blocker(editor_.cbUseFTFilter);
        editor_.cbUseFTFilter->setChecked(checked);
    }
    void UpdateSaveState() override {
        if (editor_.Host())
            editor_.Host()->UpdateSaveState();
    }

  private:
    TFormInfUnit& editor_;
};

EditorLink& LinkOf(TFormInfUnit& editor) {
    if (auto* found =
            editor.findChild<QObject*>(QString::fromLatin1(kLinkName), Qt::FindDirectChildrenOnly))
        return *static_cast<EditorLink*>(found);
    return *new EditorLink(editor);
}

}  // namespace

void OpenTestWindow(TFormInfUnit& editor) {
    // A rule base not saved yet has no file name; its editor's caption stands in.
    const QString name = editor.HasFileName() ? editor.FileName() : editor.windowTitle();
    auto* window = new TMDIChild(editor.RuleBase(), name, &LinkOf(editor));
    // The rule base goes with the editor, and is gone by the time the editor says so: the
    // window must not touch it again, and goes too.
    QObject::connect(&editor, &QObject::destroyed, window, [window] { window->ForgetRuleBase(); });
    QMdiArea* area = editor.Host() ? editor.Host()->MdiClient() : nullptr;
    if (area) {
        const QSize designed = window->size();
        QMdiSubWindow* frame = area->addSubWindow(window);
        // Closed first, so that it stores its placement as when the user closes it.
        QObject::connect(&editor, &QObject::destroyed, frame, [frame] {
            frame->close();
            delete frame;
        });
        // An MDI child is activated through its frame; the window itself hears nothing.
        QObject::connect(frame, &QMdiSubWindow::windowStateChanged, window,
                         [window](Qt::WindowStates before, Qt::WindowStates now) {
                             if (!(before & Qt::WindowActive) && (now & Qt::WindowActive))
                                 window->FormActivate();
                         });
        frame->show();
        // Beside a maximised sibling the area shows the child maximised; its normal bounds are
        // set while it is normal, and then it fills the area again.
        const bool besideMaximized = frame->isMaximized();
        if (besideMaximized)
            frame->showNormal();
        // The area places a new child where it overlaps least and cuts off what sticks out; the
        // test window keeps its designed size, as far as the area has room, moved in to fit.
        frame->resize(designed + frame->size() - window->size());
        toolkit::KeepInsideArea(*frame);
        // The window read its placement before it had a frame; the frame is what was stored.
        LoadWindowAttributes(*window);
        if (besideMaximized)
            frame->showMaximized();
    } else {
        window->setParent(&editor, Qt::Window);
        window->show();
    }
}

void InstallTestWindow(EditorSeams& seams) {
    seams.OpenTestWindow = OpenTestWindow;
}
