#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "desktop/userterms/UserTermCells.h"
#include "desktop/userterms/UserTermRows.h"
#include "desktop/userterms/UserTermsOwner.h"

class CFuzzySet;
class QAction;
class QFrame;
class QMenu;
class QPushButton;

class QTabWidget;
class TStringGrid;
class TToolbarButtonKit;
class UserTermPaintBox;

// The modal form in which the user edits the user expressions of one linguistic variable on a
// copy in a grid; only OK writes them back, all at once. A second page shows the variable's
// standard evaluative expressions with their sets. Both pages draw the sets, and on the first
// the parameter points can be dragged.
class TUserTerms : public QDialog {
    Q_OBJECT

  public:
    explicit TUserTerms(QWidget* parent = nullptr);
    ~TUserTerms() override;

    // Loads the owner's variable, runs modally and, on OK, writes the expressions back.
    void Execute(const UserTermsOwner& owner);

    // The cell validation; with messages false it only answers.
    bool CheckCell(int col, int row, bool withMessages);
    double ClampToRange(double x) const;
    void CopyRows();
    void PasteRows();
    void DragPoint(int x, int y, Qt::KeyboardModifiers shift);

    // The cell the form counts as current: (0, 0) from activation until a cell is entered.
    int CurrentCol() const;
    int CurrentRow() const;
    bool HasPlaceholder() const { return placeholder_; }

    void FormCreate();
    void FormActivate();
    void btnAddTermClick();
    void btnAddTrapezClick();
    void btnAddTriangClick();
    void btnAddGaussianClick();
    void btnAddPilaClick();
    void btnDeleteTermClick();
    void btnOkTermsClick();
    void btnCancelTermsClick();
    bool EditUserTermsSelectCell(int col, int row);
    bool EditUserTermsKeyDown(int key, Qt::KeyboardModifiers modifiers);
    void EditUserTermsKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void EditUserTermsMouseDown(int x, int y);
    void EditUserTermsMouseUp();
    void pmChangeTypePopup();
    void mnChangeToQuadraticClick();
    void mnChangeToTrapezoidClick();
    void mnChangeToTriangularClick();
    bool EditStdTermsSelectCell(int col, int row);
    void EditStdTermsKeyUp();
    void EditStdTermsMouseUp();
    void FuzzySetPaintBoxPaint();
    void StdSetPaintBoxPaint();
    void FuzzySetPaintBoxMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, int x,
                                   int y);
    void FuzzySetPaintBoxMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

    QTabWidget* ExpressionPages;
    QWidget* UserExpPage;
    QWidget* StdExpPage;
    TStringGrid* EditUserTerms;
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
    TStringGrid* EditStdTerms;
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
    // The model row that grid row row shows; null for the header and the placeholder row.
    userterm::TermRow* RowAt(int row);
    const userterm::TermRow* RowAt(int row) const;
    // Writes the model row into grid row row.
    void ShowRow(int row);
    // What was typed into the grid's cell goes into the model row.
    void TakeCellText(int col, int row);
    bool HoldsNoNumber(int col, int row) const;
    // The in-cell editor over the cell shows a text that is no number in red.
    void MarkEditor(int col, int row);
    // Makes the cell the form's current one: tab stops and editing follow the row's shape.
    void EnterCell(int col, int row);
    void FillUserGrid();
    void FillStandardGrid();
    void UpdateUsedFlags();
    void EnsurePlaceholderRow();
    void MakeRoomForRow();
    void SizeNumberColumn(TStringGrid& grid, int count);
    void RenumberRows();
    // Appends a row of the shape and makes it current; column 9 is left to the caller.
    void AddRow(const QString& name, UserTermShape shape, std::span<const double> params,
                bool fullPrecision);
    void AddShape(UserTermShape shape);
    void ChangeShape(void (*change)(userterm::TermRow&, double, double));
    void SetEditing(bool on);
    void MoveToTabStop(bool backwards);
    // False, with the failing row made current and the error shown, when a row cannot become
    // a set.
    bool AllRowsBuild();
    void WriteBack();

    UserTermsOwner owner_;
    int count_ = 0;
    double lo_ = 0.0;
    double hi_ = 1.0;
    bool placeholder_ = false;
    // The expressions being edited; the grid shows them below its header row.
    UserTermRows rows_;
    std::vector<std::unique_ptr<CFuzzySet>> standardSets_;
    std::vector<bool> tabStops_;
    // No cell has been entered since activation: the form counts (0, 0) as current.
    bool parked_ = false;
};
