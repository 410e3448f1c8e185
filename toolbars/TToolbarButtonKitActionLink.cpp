#include "toolbars/TToolbarButtonKitActionLink.h"

#include "toolbars/TToolbarButtonKit.h"

#include <QAction>
#include <QEvent>

TToolbarButtonKitActionLink::TToolbarButtonKitActionLink(TToolbarButtonKit* Button, QAction* Action)
    : QObject(Button), button_(Button), action_(Action) {
    checked_ = Action->isChecked();
    helpContext_ = Action->property("HelpContext");
    imageIndex_ = Action->property("ImageIndex");
    button_->SetCaption(Action->text());
    button_->setEnabled(Action->isEnabled());
    button_->setToolTip(Action->toolTip());
    button_->setVisible(Action->isVisible());
    button_->SetDown(checked_);
    if (helpContext_.isValid())
        button_->SetHelpContext(helpContext_.toInt());
    if (imageIndex_.isValid())
        button_->SetImageIndex(imageIndex_.toInt());
    connect(Action, &QAction::changed, this, &TToolbarButtonKitActionLink::onActionChanged);
    // Dynamic properties change without QAction::changed.
    Action->installEventFilter(this);
}

bool TToolbarButtonKitActionLink::eventFilter(QObject* watched, QEvent* event) {
    if (watched == action_ && event->type() == QEvent::DynamicPropertyChange)
        onActionChanged();
    return QObject::eventFilter(watched, event);
}

void TToolbarButtonKitActionLink::Execute() {
    if (action_)
        action_->trigger();
}

void TToolbarButtonKitActionLink::onActionChanged() {
    if (!action_)
        return;
    button_->SetCaption(action_->text());
    button_->setEnabled(action_->isEnabled());
    button_->setToolTip(action_->toolTip());
    button_->setVisible(action_->isVisible());
    // A value the user changed on the button is no longer linked.
    if (action_->isChecked() != checked_) {
        if (button_->Down() == checked_)
            button_->SetDown(action_->isChecked());
        checked_ = action_->isChecked();
    }
    const QVariant helpContext = action_->property("HelpContext");
    if (helpContext != helpContext_) {
        if (!helpContext_.isValid() || button_->HelpContext() == helpContext_.toInt())
            button_->SetHelpContext(helpContext.toInt());
        helpContext_ = helpContext;
    }
    const QVariant imageIndex = action_->property("ImageIndex");
    if (imageIndex != imageIndex_) {
        if (!imageIndex_.isValid() || button_->ImageIndex() == imageIndex_.toInt())
            button_->SetImageIndex(imageIndex.isValid() ? imageIndex.toInt() : -1);
        imageIndex_ = imageIndex;
    }
}
