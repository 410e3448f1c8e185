#pragma once

#include <QPointer>
#include <QWidget>

// The borderless tool window that hosts a floating tool window: owned by the tool window's form,
// exactly as large as the tool window it holds, never activated by showing it.
class TFloatingWindowParent : public QWidget {
    Q_OBJECT

  public:
    // ParentForm owns the host; it may be null (no form, or the form has gone).
    explicit TFloatingWindowParent(QWidget* ParentForm);
    ~TFloatingWindowParent() override;

    QWidget* ParentForm() const { return parentForm_; }

    // The host shows only while it should be visible.
    void SetShouldBeVisible(bool ShouldBeVisible);
    bool ShouldBeVisible() const { return shouldBeVisible_; }

    // On top of every window rather than only of its form.
    void SetOnTopOfAllForms(bool OnTop);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    QPointer<QWidget> parentForm_;
    bool shouldBeVisible_ = false;
};
