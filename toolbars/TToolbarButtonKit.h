#pragma once

#include "toolbars/Tbkctls.h"

#include <QBitmap>
#include <QColor>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

class QAction;
class QMenu;
class TCustomImageList;

// A flat toolbar button: its border shows only under the mouse or while pushed; it shows a glyph
// and a caption, can be a toggle in an exclusive group, can repeat while held, and can open a
// dropdown menu from the whole button or from a separate arrow part (DropdownCombo).
class TToolbarButtonKit : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool Down READ Down WRITE SetDown NOTIFY downChanged)

  public:
    explicit TToolbarButtonKit(QWidget* Parent = nullptr);
    ~TToolbarButtonKit() override;

    bool AllowAllUp() const;
    void SetAllowAllUp(bool Value);
    tbk::TAlignment Alignment() const;
    void SetAlignment(tbk::TAlignment Value);
    bool Cancel() const;
    void SetCancel(bool Value);
    bool Default() const;
    void SetDefault(bool Value);
    tbk::TButtonDisplayMode DisplayMode() const;
    void SetDisplayMode(tbk::TButtonDisplayMode Value);
    bool Down() const;
    // Refused in group 0; raising the down button of a group needs AllowAllUp.
    void SetDown(bool Value);
    bool DropdownAlways() const;
    void SetDropdownAlways(bool Value);
    bool DropdownArrow() const;
    void SetDropdownArrow(bool Value);
    int DropdownArrowWidth() const;
    // At least 7.
    void SetDropdownArrowWidth(int Value);
    bool DropdownCombo() const;
    void SetDropdownCombo(bool Value);
    QMenu* DropdownMenu() const;
    // Not owned; forgotten when it is destroyed.
    void SetDropdownMenu(QMenu* Value);
    bool Flat() const;
    void SetFlat(bool Value);
    QPixmap Glyph() const;
    void SetGlyph(const QPixmap& Value);
    QBitmap GlyphMask() const;
    void SetGlyphMask(const QBitmap& Value);
    int GroupIndex() const;
    void SetGroupIndex(int Value);
    int HelpContext() const;
    void SetHelpContext(int Value);
    bool HighlightWhenDown() const;
    void SetHighlightWhenDown(bool Value);
    int ImageIndex() const;
    void SetImageIndex(int Value);
    TCustomImageList* Images() const;
    // Not owned; forgotten when it is destroyed.
    void SetImages(TCustomImageList* Value);
    tbk::TButtonLayout Layout() const;
    void SetLayout(tbk::TButtonLayout Value);
    // -1 centres glyph and caption; values below -1 are ignored.
    int Margin() const;
    void SetMargin(int Value);
    int ModalResult() const;
    void SetModalResult(int Value);
    bool NoBorder() const;
    void SetNoBorder(bool Value);
    int NumGlyphs() const;
    void SetNumGlyphs(int Value);
    bool OldDisabledStyle() const;
    void SetOldDisabledStyle(bool Value);
    bool Opaque() const;
    void SetOpaque(bool Value);
    bool Repeating() const;
    void SetRepeating(bool Value);
    int RepeatDelay() const;
    void SetRepeatDelay(int Value);
    int RepeatInterval() const;
    void SetRepeatInterval(int Value);
    bool ShowBorderWhenInactive() const;
    void SetShowBorderWhenInactive(bool Value);
    int Spacing() const;
    void SetSpacing(int Value);
    bool WordWrap() const;
    void SetWordWrap(bool Value);
    QString Caption() const;
    void SetCaption(const QString& Value);
    QColor Color() const;
    void SetColor(const QColor& Value);
    QAction* Action() const;
    // Links the button to the action (caption, enabled, hint, visible, checked as Down); a
    // click triggers it. Not owned.
    void SetAction(QAction* Value);
    QString Version() const;
    void SetVersion(const QString&) {}

    tbk::TButtonStateKit State() const;
    bool MouseInControl() const;
    bool DropdownMenuShowing() const;

    // Before the menu opens; both flags may be changed.
    using TDropdownEvent =
        std::function<void(TToolbarButtonKit* Sender, bool& ShowMenu, bool& RemoveClicks)>;
    void SetOnDropdown(TDropdownEvent Handler);

    // Clicks the button as the mouse would (toggling in a group, opening a dropdown).
    void Click();
    // Inside the button; the arrow part of a combo does not count.
    bool PointInButton(int X, int Y) const;
    void MouseEntered();
    void MouseLeft();
    void UpdateExclusive();
    void Redraw(bool Force);

  signals:
    void clicked();
    void doubleClicked();
    void mouseEntered();
    void mouseExited();
    void downChanged(bool Down);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    friend class TToolbarButtonKitActionLink;
    friend void ButtonLeaveCheck();

    struct Private;
    std::unique_ptr<Private> d;

    void onRepeatTimerTimeout();
    void onDropdownMenuAboutToHide();
    void onImagesChanged();
    void onShortcutActivated();

    void PlainClick();
    void ShowDropdown();
    void FinishDropdown();
    // The glyph image of the present state, prepared before painting.
    void UpdateGlyphImage();
    void UpdateShortcuts();
    void UpdateLayout();
    void SetState(tbk::TButtonStateKit State);
    tbk::TButtonStateKit RestingState() const;
    void RemoveButtonMouseTimer();
    bool UsesDropdown() const;
};
