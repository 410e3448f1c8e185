#pragma once

#include <QDialog>

#include <optional>

#include "core/rulebase/TypeOfDescription.h"

class QComboBox;
class QPushButton;

// Asks for the kind of a new rule base; made once and kept, so it remembers the last choice.
class TDialogNewBaseProperties : public QDialog {
    Q_OBJECT

  public:
    explicit TDialogNewBaseProperties(QWidget* parent = nullptr);

    void FormCreate();
    // Linguistic or Takagi-Sugeno singleton by the selected item; nothing without one.
    std::optional<TypeOfDescription> GetKind() const;

    QComboBox* cbTypeOfUnit;
    QPushButton* btOK;
    QPushButton* btCancel;
};
