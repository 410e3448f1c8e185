#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;

// Asks for the kind of a new rule base; made once and kept, so it remembers the last choice.
class TDialogNewBaseProperties : public QDialog {
    Q_OBJECT

  public:
    explicit TDialogNewBaseProperties(QWidget* parent = nullptr);

    void FormCreate();
    // 0 (linguistic) or 2 (Takagi-Sugeno singleton) by the selected item; -1 without one.
    int GetKind() const;

    QComboBox* cbTypeOfUnit;
    QPushButton* btOK;
    QPushButton* btCancel;
};
