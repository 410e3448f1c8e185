#pragma once

#include <QLineEdit>
#include <QString>

// A flat edit box for toolbars: its own 3-pixel frame lights up (sunken) while the mouse is over
// it or it has the focus. Its height follows its font.
class TEditKit : public QLineEdit {
    Q_OBJECT

  public:
    explicit TEditKit(QWidget* Parent = nullptr);

    QString Version() const;
    void SetVersion(const QString&) {}
    bool Hot() const { return hot_; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void UpdateHot();
    void AdjustHeight();
    void UpdateColors();

    bool hot_ = false;
};
