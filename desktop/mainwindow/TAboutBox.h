#pragma once

#include <QDialog>

// The program's name, purpose and version.
class TAboutBox : public QDialog {
    Q_OBJECT

  public:
    explicit TAboutBox(QWidget* parent = nullptr);
};
