#pragma once

#include <QString>
#include <QWidget>

// The gap between two groups of toolbar controls, drawn as an etched line unless Blank. A
// toolbar may wrap its lines at a separator; the separator then has no length and the toolbar
// draws the line across instead.
class TToolbarSepKit : public QWidget {
    Q_OBJECT

  public:
    // Parent must be a toolbar (EInvalidOperation).
    explicit TToolbarSepKit(QWidget* Parent);

    void SetParent(QWidget* AParent);

    bool Blank() const { return blank_; }
    void SetBlank(bool Value);
    // Length in a horizontal line and in a vertical one; at least 1.
    int SizeHorz() const { return sizeHorz_; }
    void SetSizeHorz(int Value);
    int SizeVert() const { return sizeVert_; }
    void SetSizeVert(int Value);
    QString Version() const;
    void SetVersion(const QString&) {}

    // Set by the toolbar's layout: the separator sits in a vertical line.
    void SetVertical(bool Vertical);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void ArrangeParent();

    bool blank_ = false;
    int sizeHorz_ = 6;
    int sizeVert_ = 6;
    bool vertical_ = false;
};
