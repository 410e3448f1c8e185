#pragma once

#include <QObject>
#include <QPointer>
#include <QVariant>

class QAction;
class TToolbarButtonKit;

// Keeps a button in step with its action: caption, enabled, hint and visible follow the action;
// Checked reaches the button's Down, and the action's dynamic properties "HelpContext" and
// "ImageIndex" its HelpContext and ImageIndex, each only while the button still showed the
// action's previous value (it counts as linked then).
class TToolbarButtonKitActionLink : public QObject {
    Q_OBJECT

  public:
    TToolbarButtonKitActionLink(TToolbarButtonKit* Button, QAction* Action);

    QAction* Action() const { return action_; }
    // Runs the action for a click of the button.
    void Execute();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onActionChanged();

    TToolbarButtonKit* button_;
    QPointer<QAction> action_;
    bool checked_ = false;
    QVariant helpContext_;
    QVariant imageIndex_;
};
