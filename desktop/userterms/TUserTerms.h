#pragma once

#include <QDialog>
#include <QString>

#include <memory>
#include <vector>

#include "desktop/userterms/UserTermCells.h"
#include "desktop/userterms/UserTermsOwner.h"

class CFuzzySet;
class QAction;
class QFrame;
class QMenu;
class QPushButton;
class QTableView;
class QTabWidget;
class TToolbarButtonKit;
class UserTermPaintBox;
class UserTermsModel;
class UserTermsView;

// The modal form in which the user edits the user expressions of one linguistic variable on a
// copy in a grid; only OK writes them back, all at once. A second page shows the variable's
// standard evaluative expressions with their sets. Both pages draw the sets, and on the first
// the parameter points can be dragged. Cells are addressed as the grid's columns and rows:
// column 1 the name, 2 the type, 3 to 8 the parameters, 9 the use mark; row 1 the first
// expression, row 0 (with column 0) when no cell is current.
class TUserTerms : public QDialog {
    Q_OBJECT

  public:
    explicit TUserTerms(QWidget* parent = nullptr);
    ~TUserTerms() override;

    // Loads the owner's variable, runs modally and, on OK, writes the expressions back.
    void Execute(const UserTermsOwner& owner);

    // The expressions being edited, one row each; the grid shows them.
    const UserTermsModel& Model() const { return *model_; }
    // The cell validation; with messages false it only answers.
    bool CheckCell(int col, int row, bool withMessages);
    double ClampToRange(double x) const;
    int CurrentCol() const;
    int CurrentRow() const;
    // Makes the cell current, as a click would; false when the current cell refuses to be left.
    bool GoToCell(int col, int row);

  public slots:
    void CopyRows();
    void PasteRows();
    void DragPoint(int x, int y, Qt::KeyboardModifiers shift);
    void FormActivate();
    void btnAddTermClick();
    void btnAddTrapezClick();
    void btnAddTriangClick();
    void btnAddGaussianClick();
    void btnAddPilaClick();
    void btnDeleteTermClick();
    void btnOkTermsClick();
    void btnCancelTermsClick();
    // Whether the current cell may be left for (col, row); says why not.
    bool EditUserTermsSelectCell(int col, int row);
    void pmChangeTypePopup();
    void mnChangeToQuadraticClick();
    void mnChangeToTrapezoidClick();
    void mnChangeToTriangularClick();
    void FuzzySetPaintBoxPaint();
    void StdSetPaintBoxPaint();
    void FuzzySetPaintBoxMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x,
                                   int y);
    void FuzzySetPaintBoxMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

  public:
    QTabWidget* ExpressionPages;
    QWidget* UserExpPage;
    QWidget* StdExpPage;
    UserTermsView* EditUserTerms;
    QPushButton* btnAddTerm;
    QPushButton* btnAddTrapez;
    QPushButton* btnAddTriang;
    QPushButton* btnAddPila;
    QPushButton* btnAddGaussian;
    TToolbarButtonKit* btChangeType;
    QPushButton* btnDeleteTerm;
    QPushButton* btnOkTerms;
    QPushButton* btnCancelTerms;
    QFrame* FuzzySetPanel;
    UserTermPaintBox* FuzzySetPaintBox;
    QTableView* EditStdTerms;
    QFrame* StdSetPanel;
    UserTermPaintBox* StdSetPaintBox;
    QPushButton* Button1;
    QPushButton* Button2;
    QMenu* pmChangeType;
    QAction* mnChangeToQuadratic;
    QAction* mnChangeToTrapezoid;
    QAction* mnChangeToTriangular;
    QAction* mnChangeToGaussian;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void FormCreate();
    // The model row of the current cell, or -1.
    int CurrentIndex() const;
    void FillStandardGrid();
    void UpdateUsedFlags();
    // The edit that the person made to the user grid, or the cell they moved to: the plot
    // follows when the current cell passes its check.
    void onUserTermsChanged();
    // Appends rows and makes the last one current; column 9 is left to the caller.
    void AddRows(std::vector<userterm::TermRow> rows);
    void AddShape(UserTermShape shape);
    void ChangeShape(void (*change)(userterm::TermRow&, double, double));
    // False, with the failing cell made current and the error shown, when a row cannot become
    // a set.
    bool AllRowsBuild();
    void WriteBack();

    UserTermsOwner owner_;
    double lo_ = 0.0;
    double hi_ = 1.0;
    UserTermsModel* model_;
    UserTermsModel* standardModel_;
    std::vector<std::unique_ptr<CFuzzySet>> standardSets_;
};
