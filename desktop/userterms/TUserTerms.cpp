#include "desktop/userterms/TUserTerms.h"

#include <QAction>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "core/io/RuleBaseWriter.h"
#include "core/lang/CFEParser.h"
#include "core/lang/CLingTerm.h"
#include "core/lang/CLinguisticSettings.h"
#include "core/math/NumericUtils.h"
#include "core/sets/CFuzzyParamSet.h"
#include "core/sets/CFuzzyQuadraticSet.h"
#include "core/text/ESyntax.h"
#include "desktop/toolkit/Conversions.h"
#include "desktop/toolkit/TStringGrid.h"
#include "desktop/toolkit/UserPrompts.h"
#include "desktop/userterms/UserTermPaintBox.h"
#include "toolbars/TToolbarButtonKit.h"

using namespace userterm;

namespace {

const char* const kHeaders[kColCount] = {
    "",           "Name",        "Type",         "LeftSupp",  "LeftEquilib",
    "LeftKernel", "RightKernel", "RightEquilib", "RightSupp", "U"};

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void WrongInput(const QString& text) {
    toolkit::MessageDlg(text, "Wrong input", toolkit::MsgIcon::Warning, toolkit::mbOK);
}

void ShowConversionError(const QString& message) {
    toolkit::MessageDlg(message, "Error", toolkit::MsgIcon::Error, toolkit::mbOK);
}

// A parameter column whose header the font makes wider than the default width grows to show it.
void FitHeaders(TStringGrid& grid) {
    for (int col = kFirstParamCol; col <= kLastParamCol; ++col)
        grid.SetColWidths(col, std::max(grid.DefaultColWidth(), grid.TextWidth(kHeaders[col]) + 6));
}

TStringGrid* MakeGrid(QWidget* parent) {
    auto* grid = new TStringGrid(parent);
    // Where Times New Roman is missing, a condensed serif keeps the headers inside the columns.
    QFont font;
    font.setFamilies({"Times New Roman", "Liberation Serif", "DejaVu Serif Condensed"});
    font.setPixelSize(13);
    grid->setFont(font);
    grid->SetDefaultColWidth(68);
    grid->SetColCount(kColCount);
    grid->SetRowCount(2);
    grid->SetFixedCols(1);
    grid->SetFixedRows(1);
    grid->SetOptions(goColSizing | goEditing | goTabs | goThumbTracking);
    grid->setGeometry(8, 8, 649, 209);
    return grid;
}

QFrame* MakePanel(QWidget* parent, UserTermPaintBox*& box, int y, int boxHeight) {
    auto* panel = new QFrame(parent);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setLineWidth(2);
    panel->setGeometry(8, y, 611, boxHeight + 4);
    box = new UserTermPaintBox(panel);
    box->setGeometry(2, 2, 607, boxHeight);
    return panel;
}

QPushButton* MakeButton(const QString& caption, QWidget* parent, int x, int y, int width) {
    auto* button = new QPushButton(caption, parent);
    // Enter belongs to the grid's in-cell editor; no button takes it over.
    button->setAutoDefault(false);
    button->setGeometry(x, y, width, 25);
    return button;
}

}  // namespace

TUserTerms::TUserTerms(QWidget* parent) : QDialog(parent) {
    setWindowTitle("User expressions");
    setObjectName("UserTerms");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ExpressionPages = new QTabWidget(this);
    layout->addWidget(ExpressionPages);
    UserExpPage = new QWidget;
    StdExpPage = new QWidget;
    ExpressionPages->addTab(UserExpPage, "User");
    ExpressionPages->addTab(StdExpPage, "Standard");

    EditUserTerms = MakeGrid(UserExpPage);
    btnAddTerm = MakeButton("Add &Quadratic", UserExpPage, 8, 224, 94);
    btnAddTrapez = MakeButton("Add &Trapezoid", UserExpPage, 106, 224, 94);
    btnAddTriang = MakeButton("Add T&riangular", UserExpPage, 204, 224, 94);
    btnAddPila = MakeButton("Add &Uniform", UserExpPage, 302, 224, 94);
    btnAddGaussian = MakeButton("Add &Gaussian", UserExpPage, 400, 224, 94);
    btnAddGaussian->hide();

    pmChangeType = new QMenu(this);
    mnChangeToQuadratic = pmChangeType->addAction("to &Quadratic");
    mnChangeToTrapezoid = pmChangeType->addAction("to &Trapezoid");
    mnChangeToTriangular = pmChangeType->addAction("to Trian&gular");
    mnChangeToGaussian = pmChangeType->addAction("to Gaussian");
    mnChangeToGaussian->setVisible(false);

    btChangeType = new TToolbarButtonKit(UserExpPage);
    btChangeType->SetCaption("Change Type");
    btChangeType->SetFlat(false);
    btChangeType->SetDropdownMenu(pmChangeType);
    btChangeType->SetDropdownAlways(true);
    btChangeType->setGeometry(507, 224, 110, 25);

    FuzzySetPanel = MakePanel(UserExpPage, FuzzySetPaintBox, 256, 143);
    btnDeleteTerm = MakeButton("&Delete", UserExpPage, 8, 412, 94);
    btnOkTerms = MakeButton("OK", UserExpPage, 430, 412, 90);
    btnCancelTerms = MakeButton("Cancel", UserExpPage, 527, 412, 90);

    EditStdTerms = MakeGrid(StdExpPage);
    // The language's own expressions are shown, not edited.
    EditStdTerms->SetOptions(EditStdTerms->Options() & ~goEditing);
    StdSetPanel = MakePanel(StdExpPage, StdSetPaintBox, 224, 151);
    Button2 = MakeButton("OK", StdExpPage, 430, 388, 90);
    Button1 = MakeButton("Cancel", StdExpPage, 527, 388, 90);

    connect(btnAddTerm, &QPushButton::clicked, this, &TUserTerms::btnAddTermClick);
    connect(btnAddTrapez, &QPushButton::clicked, this, &TUserTerms::btnAddTrapezClick);
    connect(btnAddTriang, &QPushButton::clicked, this, &TUserTerms::btnAddTriangClick);
    connect(btnAddPila, &QPushButton::clicked, this, &TUserTerms::btnAddPilaClick);
    connect(btnAddGaussian, &QPushButton::clicked, this, &TUserTerms::btnAddGaussianClick);
    connect(btnDeleteTerm, &QPushButton::clicked, this, &TUserTerms::btnDeleteTermClick);
    connect(btnOkTerms, &QPushButton::clicked, this, &TUserTerms::btnOkTermsClick);
    connect(btnCancelTerms, &QPushButton::clicked, this, &TUserTerms::btnCancelTermsClick);
    connect(Button2, &QPushButton::clicked, this, &TUserTerms::btnOkTermsClick);
    connect(Button1, &QPushButton::clicked, this, &TUserTerms::btnCancelTermsClick);
    connect(pmChangeType, &QMenu::aboutToShow, this, &TUserTerms::pmChangeTypePopup);
    connect(mnChangeToQuadratic, &QAction::triggered, this, &TUserTerms::mnChangeToQuadraticClick);
    connect(mnChangeToTrapezoid, &QAction::triggered, this, &TUserTerms::mnChangeToTrapezoidClick);
    connect(mnChangeToTriangular, &QAction::triggered, this,
            &TUserTerms::mnChangeToTriangularClick);

    EditUserTerms->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(EditUserTerms, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { pmChangeType->popup(EditUserTerms->mapToGlobal(at)); });
    EditUserTerms->OnSelectCell = [this](int col, int row) {
        return EditUserTermsSelectCell(col, row);
    };
    EditUserTerms->OnSetEditText = [this](int col, int row, const QString&) {
        TakeCellText(col, row);
        MarkEditor(col, row);
    };
    // A cell whose text is no number is framed in red; the row goes on with its last number.
    EditUserTerms->OnDrawCell = [this](int col, int row, const QRect& rect, TGridDrawState,
                                       QPainter& painter) {
        if (!HoldsNoNumber(col, row))
            return;
        painter.setPen(QPen(Qt::red, 2));
        painter.drawRect(rect.adjusted(1, 1, -1, -1));
    };
    EditUserTerms->OnKeyDown = [this](int key, Qt::KeyboardModifiers modifiers) {
        return EditUserTermsKeyDown(key, modifiers);
    };
    EditUserTerms->OnKeyUp = [this](int key, Qt::KeyboardModifiers modifiers) {
        EditUserTermsKeyUp(key, modifiers);
    };
    EditUserTerms->OnMouseDown = [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
        EditUserTermsMouseDown(x, y);
    };
    EditUserTerms->OnMouseUp = [this](Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        EditUserTermsMouseUp();
    };
    EditStdTerms->OnSelectCell = [this](int col, int row) {
        return EditStdTermsSelectCell(col, row);
    };
    EditStdTerms->OnKeyUp = [this](int, Qt::KeyboardModifiers) { EditStdTermsKeyUp(); };
    EditStdTerms->OnMouseUp = [this](Qt::MouseButton, Qt::KeyboardModifiers, int, int) {
        EditStdTermsMouseUp();
    };
    FuzzySetPaintBox->OnResize = [this] { FuzzySetPaintBoxPaint(); };
    StdSetPaintBox->OnResize = [this] { StdSetPaintBoxPaint(); };
    FuzzySetPaintBox->OnMouseMove = [this](Qt::MouseButtons buttons, Qt::KeyboardModifiers shift,
                                           int x, int y) {
        FuzzySetPaintBoxMouseMove(buttons, shift, x, y);
    };
    FuzzySetPaintBox->OnMouseUp = [this](Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                                         int y) { FuzzySetPaintBoxMouseUp(button, shift, x, y); };
    FormCreate();
}

TUserTerms::~TUserTerms() = default;

void TUserTerms::FormCreate() {
    // The controls keep their designed places: the form neither grows empty nor cuts them off.
    setFixedSize(669, 522);
    btnAddGaussian->setVisible(true);
    mnChangeToGaussian->setVisible(true);
    EditUserTerms->SetColWidths(0, EditUserTerms->TextWidth("00"));
    EditStdTerms->SetColWidths(0, EditStdTerms->TextWidth("00"));
}

void TUserTerms::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TUserTerms::FormActivate() {
    // The grid cannot make a fixed cell current; the form parks its own cursor there instead.
    parked_ = true;
    EditUserTerms->SetSelection({1, 1, 1, 1});
    SetEditing(false);
    FuzzySetPaintBoxPaint();
    StdSetPaintBoxPaint();
}

int TUserTerms::CurrentCol() const {
    return parked_ ? 0 : EditUserTerms->Col();
}

int TUserTerms::CurrentRow() const {
    return parked_ ? 0 : EditUserTerms->Row();
}

double TUserTerms::ClampToRange(double x) const {
    return Clamp(lo_, x, hi_);
}

void TUserTerms::Execute(const UserTermsOwner& owner) {
    if (!owner.Settings)
        return;
    owner_ = owner;
    lo_ = owner_.Settings->GetLowerBound();
    hi_ = owner_.Settings->GetUpperBound();
    FillUserGrid();
    FillStandardGrid();
    UpdateUsedFlags();
    const int result = toolkit::ShowModal(*this);
    standardSets_.clear();
    if (result == QDialog::Accepted)
        WriteBack();
}

TermRow* TUserTerms::RowAt(int row) {
    if (placeholder_ || row < 1 || row > rows_.Count())
        return nullptr;
    return &rows_[row - 1];
}

const TermRow* TUserTerms::RowAt(int row) const {
    return const_cast<TUserTerms*>(this)->RowAt(row);
}

void TUserTerms::ShowRow(int row) {
    const TermRow& shown = rows_[row - 1];
    EditUserTerms->SetCells(kNameCol, row, shown.name);
    EditUserTerms->SetCells(kTypeCol, row, shown.type);
    for (int col = kFirstParamCol; col <= kLastParamCol; ++col)
        EditUserTerms->SetCells(col, row, shown.Param(col).text);
    EditUserTerms->SetCells(kUsedCol, row, shown.used ? "U" : "N");
}

void TUserTerms::TakeCellText(int col, int row) {
    TermRow* taken = RowAt(row);
    if (!taken || col < kNameCol || col > kLastParamCol)
        return;
    const QString text = EditUserTerms->Cells(col, row);
    if (col == kNameCol)
        taken->name = text;
    else if (col == kTypeCol)
        taken->type = text;
    else if (taken->Param(col).text != text)
        SetParamText(*taken, col, text);
}

bool TUserTerms::HoldsNoNumber(int col, int row) const {
    const TermRow* shown = RowAt(row);
    return shown && col >= kFirstParamCol && col <= kLastParamCol && !shown->Param(col).readable;
}

void TUserTerms::MarkEditor(int col, int row) {
    QLineEdit* editor = EditUserTerms->InplaceEditor();
    if (!editor)
        return;
    const bool bad = HoldsNoNumber(col, row);
    QPalette colours = editor->palette();
    colours.setColor(QPalette::Text, bad ? QColor(Qt::red) : palette().color(QPalette::Text));
    editor->setPalette(colours);
}

void TUserTerms::SizeNumberColumn(TStringGrid& grid, int count) {
    if (count <= 0)
        return;
    const int digits = static_cast<int>(std::floor(std::log10(count))) + 1;
    grid.SetColWidths(0, grid.TextWidth("0") * digits + 6 + grid.TextWidth("."));
}

void TUserTerms::RenumberRows() {
    for (int row = 1; row < EditUserTerms->RowCount(); ++row)
        EditUserTerms->SetCells(kNumberCol, row, QString::number(row) + ".");
}

void TUserTerms::FillUserGrid() {
    TStringGrid& grid = *EditUserTerms;
    rows_.Load(*owner_.Settings);
    count_ = rows_.Count();
    grid.SetRowCount(count_ + 1);
    grid.SetColCount(kColCount);
    for (int row = 1; row <= count_; ++row) {
        for (int col = 0; col < kColCount; ++col)
            grid.SetCells(col, row, {});
    }
    placeholder_ = false;
    SizeNumberColumn(grid, count_);
    grid.SetColWidths(kUsedCol, grid.TextWidth("U") + 6);
    RenumberRows();
    for (int col = 0; col < kColCount; ++col)
        grid.SetCells(col, 0, kHeaders[col]);
    FitHeaders(grid);
    for (int row = 1; row <= count_; ++row)
        ShowRow(row);
}

void TUserTerms::FillStandardGrid() {
    TStringGrid& grid = *EditStdTerms;
    standardSets_.clear();
    const auto* linguistic = dynamic_cast<const CLinguisticSettings*>(owner_.Settings);
    const auto table = linguistic ? linguistic->TermTable() : std::span<const CLingTerm>();
    const int n = static_cast<int>(table.size());
    const bool symmetric = lo_ == -hi_;
    const int rows = symmetric ? 2 * n + 2 : n;
    grid.SetRowCount(rows + 1);
    grid.SetColCount(kColCount);
    SizeNumberColumn(grid, rows);
    grid.SetColWidths(kUsedCol, grid.TextWidth("U") + 6);
    for (int col = 0; col < kColCount; ++col)
        grid.SetCells(col, 0, col >= kNameCol && col <= kLastParamCol ? kHeaders[col] : "");
    FitHeaders(grid);

    std::vector<QString> names;
    const auto nameOf = [](const CLingTerm& term) {
        QString name;
        if (term.hedge >= 0)
            name = ToQString(kHedges[static_cast<std::size_t>(term.hedge)].shortForm) + " ";
        return name + ToQString(kAtomicTerms[static_cast<std::size_t>(term.kind)].shortForm);
    };
    const auto termSet = [&](int kind, int hedge) -> std::unique_ptr<CFuzzySet> {
        try {
            return linguistic->MakeTermSet(kind, hedge);
        } catch (const ESyntax&) {
            return nullptr;
        }
    };
    if (!symmetric) {
        for (const CLingTerm& term : table) {
            names.push_back(nameOf(term));
            standardSets_.push_back(termSet(term.kind, term.hedge));
        }
    } else {
        for (const CLingTerm& term : table) {
            names.push_back("+" + nameOf(term));
            standardSets_.push_back(termSet(term.kind + 4, term.hedge));
        }
        for (const CLingTerm& term : table) {
            names.push_back("-" + nameOf(term));
            standardSets_.push_back(termSet(term.kind + 8, term.hedge));
        }
        for (const auto& [name, spread] :
             {std::pair<QString, double>{"ze", 0.05}, {"ro ze", 0.1}}) {
            auto set = CreateShapeSet(UserTermShape::kQuadratic, lo_, hi_);
            const double params[] = {-spread * hi_,    -spread / 2 * hi_, 0, 0,
                                     spread / 2 * hi_, spread * hi_};
            set->SetParams(params);
            names.push_back(name);
            standardSets_.push_back(std::move(set));
        }
    }
    for (int i = 0; i < rows; ++i) {
        const int row = i + 1;
        for (int col = 0; col < kColCount; ++col)
            grid.SetCells(col, row, {});
        grid.SetCells(kNameCol, row, names[static_cast<std::size_t>(i)]);
        const auto* set =
            dynamic_cast<const CFuzzyParamSet*>(standardSets_[static_cast<std::size_t>(i)].get());
        if (!set)
            continue;
        grid.SetCells(kTypeCol, row, ToQString(set->GetTypeName()));
        std::vector<double> values(static_cast<std::size_t>(set->ParamCount()));
        set->GetParams(values);
        for (std::size_t p = 0; p < values.size() && p < 6; ++p)
            grid.SetCells(kFirstParamCol + static_cast<int>(p), row, Format3(values[p]));
    }
}

void TUserTerms::UpdateUsedFlags() {
    if (!placeholder_) {
        for (int index = 0; index < rows_.Count(); ++index) {
            // The rules know a loaded term by the names it was loaded with until OK renames it.
            bool used = false;
            for (const QString& name : rows_.NamesInRules(index))
                used = used || (owner_.IsExpressionUsed &&
                                owner_.IsExpressionUsed(name, owner_.VariableIndex));
            rows_[index].used = used;
            EditUserTerms->SetCells(kUsedCol, index + 1, used ? "U" : "N");
        }
    }
    EnsurePlaceholderRow();
}

void TUserTerms::EnsurePlaceholderRow() {
    if (EditUserTerms->RowCount() >= 2)
        return;
    EditUserTerms->SetRowCount(2);
    for (int col = 0; col < kColCount; ++col)
        EditUserTerms->SetCells(col, 1, {});
    EditUserTerms->SetFixedRows(1);
    EditUserTerms->SetSelection({EditUserTerms->Col(), 1, EditUserTerms->Col(), 1});
    SetEditing(false);
    placeholder_ = true;
}

void TUserTerms::MakeRoomForRow() {
    if (placeholder_) {
        placeholder_ = false;
        SetEditing(true);
    } else {
        EditUserTerms->SetRowCount(EditUserTerms->RowCount() + 1);
    }
}

void TUserTerms::SetEditing(bool on) {
    const TGridOptions options = EditUserTerms->Options();
    EditUserTerms->SetOptions(on && !placeholder_ ? options | goEditing : options & ~goEditing);
}

void TUserTerms::AddRow(const QString& name, UserTermShape shape, std::span<const double> params,
                        bool fullPrecision) {
    MakeRoomForRow();
    ++count_;
    const int row = EditUserTerms->RowCount() - 1;
    TermRow added;
    added.name = name;
    WriteShape(added, shape, params, fullPrecision);
    rows_.Insert(rows_.Count(), std::move(added));
    ShowRow(row);
    SizeNumberColumn(*EditUserTerms, count_);
    RenumberRows();
    // The row is in place before it is entered, so that its tab stops follow its shape.
    const int col = CurrentCol() >= kNameCol && CurrentCol() < kUsedCol ? CurrentCol() : kNameCol;
    EditUserTerms->FocusCell(col, row);
}

void TUserTerms::AddShape(UserTermShape shape) {
    const std::vector<double> params = DefaultParams(shape, lo_, hi_);
    AddRow("expression" + QString::number(EditUserTerms->RowCount() - (placeholder_ ? 1 : 0)),
           shape, params, true);
    FuzzySetPaintBoxPaint();
}

void TUserTerms::btnAddTermClick() {
    AddShape(UserTermShape::kQuadratic);
}

void TUserTerms::btnAddTrapezClick() {
    AddShape(UserTermShape::kTrapezoid);
}

void TUserTerms::btnAddTriangClick() {
    AddShape(UserTermShape::kTriang);
}

void TUserTerms::btnAddGaussianClick() {
    AddShape(UserTermShape::kGaussian);
}

void TUserTerms::btnAddPilaClick() {
    QString text = "7";
    if (!toolkit::InputQuery("Properties of standard",
                             "Enter number of expressions (2 - 21):", text))
        return;
    double number = 0;
    try {
        number = toolkit::StrToFloat(text);
    } catch (const toolkit::EConvertError& error) {
        ShowConversionError(error.what());
        return;
    }
    if (!(std::fabs(number) < 1e9)) {
        WrongInput("Number of expressions out of range");
        return;
    }
    const int n = static_cast<int>(std::trunc(number));
    if (lo_ < 0 && 0 < hi_ && n % 2 == 0) {
        WrongInput("Number of expressions for symetrical variable must be odd value");
        return;
    }
    if (n < 2 || n > 21) {
        WrongInput("Number of expressions out of range");
        return;
    }
    const auto name = [n](int k) { return QString("p%1_%2").arg(n).arg(k); };
    for (int k = 0; k < n; ++k) {
        if (rows_.HasName(name(k))) {
            WrongInput("One or more of expressions already exists.");
            return;
        }
    }
    for (int k = 0; k < n; ++k)
        AddRow(name(k), UserTermShape::kTriang, UniformTriangle(n, k, lo_, hi_), false);
    FuzzySetPaintBoxPaint();
    UpdateUsedFlags();
}

void TUserTerms::btnDeleteTermClick() {
    // Straight after opening no row is current yet, and nothing is deleted.
    const int row = CurrentRow();
    if (!RowAt(row))
        return;
    if (rows_[row - 1].used) {
        toolkit::MessageDlg("Cannot delete expression used in description.", "Error",
                            toolkit::MsgIcon::Warning, toolkit::mbOK);
        return;
    }
    EditUserTerms->DeleteRows(row, 1);
    rows_.Remove(row - 1);
    RenumberRows();
    --count_;
    SizeNumberColumn(*EditUserTerms, count_);
    UpdateUsedFlags();
    FuzzySetPaintBoxPaint();
}

void TUserTerms::pmChangeTypePopup() {
    const TermRow* row = RowAt(CurrentRow());
    const auto shape = row ? RowShape(*row) : std::nullopt;
    mnChangeToQuadratic->setEnabled(row && shape != UserTermShape::kQuadratic);
    mnChangeToTrapezoid->setEnabled(row && shape != UserTermShape::kTrapezoid);
    mnChangeToTriangular->setEnabled(row && shape != UserTermShape::kTriang);
    mnChangeToGaussian->setEnabled(row && shape != UserTermShape::kGaussian);
}

void TUserTerms::ChangeShape(void (*change)(TermRow&, double, double)) {
    const int row = CurrentRow();
    TermRow* changed = RowAt(row);
    if (!changed)
        return;
    TakeCellText(CurrentCol(), row);
    try {
        change(*changed, lo_, hi_);
    } catch (const toolkit::EConvertError& error) {
        ShowConversionError(error.what());
        return;
    }
    ShowRow(row);
    FuzzySetPaintBoxPaint();
}

void TUserTerms::mnChangeToQuadraticClick() {
    ChangeShape(&ChangeToQuadratic);
}

void TUserTerms::mnChangeToTrapezoidClick() {
    ChangeShape(&ChangeToTrapezoid);
}

void TUserTerms::mnChangeToTriangularClick() {
    ChangeShape(&ChangeToTriangular);
}

bool TUserTerms::CheckCell(int col, int row, bool withMessages) {
    if (col <= 0 || col >= EditUserTerms->ColCount() || !RowAt(row))
        return true;
    TakeCellText(col, row);
    const TermRow& checked = rows_[row - 1];
    if (col == kNameCol) {
        CFEParser parser(nullptr);
        bool clash = parser.Parse(checked.name.toStdString()) != nullptr;
        for (int other = 0; !clash && other < rows_.Count(); ++other)
            clash = other != row - 1 && rows_[other].name == checked.name;
        if (clash) {
            if (withMessages)
                WrongInput("Expression already exists");
            return false;
        }
        if (!FileHoldsName(checked.name.toStdString())) {
            if (withMessages)
                WrongInput("Expression name \"" + checked.name +
                           "\" cannot be kept in a rulebase file: use letters, digits and signs "
                           "without a comma, and no blank at its start or end.");
            return false;
        }
        return true;
    }
    const auto problem = CheckParameter(checked, col, lo_, hi_);
    if (!problem)
        return true;
    if (withMessages) {
        const ParamCell& cell = checked.Param(col);
        if (!cell.readable || !cell.value)
            ShowConversionError(*problem);
        else
            toolkit::MessageDlg(*problem, "Information", toolkit::MsgIcon::Information,
                                toolkit::mbOK);
    }
    return false;
}

void TUserTerms::EnterCell(int col, int row) {
    const TermRow* entered = RowAt(row);
    const auto shape = entered ? RowShape(*entered) : std::nullopt;
    tabStops_.assign(kColCount, false);
    if (shape)
        for (int stop : TabStops(*shape))
            tabStops_[static_cast<std::size_t>(stop)] = true;
    parked_ = false;
    SetEditing(tabStops_[static_cast<std::size_t>(col)]);
}

bool TUserTerms::EditUserTermsSelectCell(int col, int row) {
    if (row == 0 || col == 0 || col == kUsedCol)
        return false;
    if (!CheckCell(CurrentCol(), CurrentRow(), true))
        return false;
    EnterCell(col, row);
    MarkEditor(col, row);
    return true;
}

void TUserTerms::MoveToTabStop(bool backwards) {
    if (tabStops_.empty() || placeholder_)
        return;
    const int start = EditUserTerms->Col();
    int col = start;
    int row = EditUserTerms->Row();
    const int first = EditUserTerms->FixedCols();
    const int last = EditUserTerms->ColCount() - 1;
    for (;;) {
        col += backwards ? -1 : 1;
        if (col < first || col > last) {
            col = backwards ? last : first;
            row += backwards ? -1 : 1;
            if (row < EditUserTerms->FixedRows())
                row = EditUserTerms->RowCount() - 1;
            if (row >= EditUserTerms->RowCount())
                row = EditUserTerms->FixedRows();
        }
        if (col == start)
            return;
        if (tabStops_[static_cast<std::size_t>(col)]) {
            EditUserTerms->FocusCell(col, row);
            return;
        }
    }
}

bool TUserTerms::EditUserTermsKeyDown(int key, Qt::KeyboardModifiers modifiers) {
    if (key != Qt::Key_Tab)
        return false;
    MoveToTabStop(modifiers & Qt::ShiftModifier);
    return true;
}

void TUserTerms::EditUserTermsKeyUp(int key, Qt::KeyboardModifiers modifiers) {
    if ((modifiers & Qt::ControlModifier) && !EditUserTerms->EditorMode()) {
        if (key == Qt::Key_C)
            CopyRows();
        else if (key == Qt::Key_V)
            PasteRows();
        return;
    }
    if (!EditUserTerms->EditorMode() || key == Qt::Key_Return || key == Qt::Key_Enter)
        EditUserTermsMouseUp();
}

void TUserTerms::EditUserTermsMouseDown(int x, int y) {
    int col = -1;
    int row = -1;
    EditUserTerms->MouseToCell(x, y, col, row);
    EditUserTerms->SetOptions(EditUserTerms->Options() & ~goRowSelect);
    // A click on the cell the grid shows as current enters it without a move.
    if (parked_ && col == EditUserTerms->Col() && row == EditUserTerms->Row())
        EditUserTermsSelectCell(col, row);
}

void TUserTerms::EditUserTermsMouseUp() {
    if (CheckCell(CurrentCol(), CurrentRow(), false))
        FuzzySetPaintBoxPaint();
}

bool TUserTerms::EditStdTermsSelectCell(int, int) {
    return true;
}

void TUserTerms::EditStdTermsKeyUp() {
    StdSetPaintBoxPaint();
}

void TUserTerms::EditStdTermsMouseUp() {
    StdSetPaintBoxPaint();
}

void TUserTerms::CopyRows() {
    if (!owner_.CopiedRows || placeholder_)
        return;
    TakeCellText(CurrentCol(), CurrentRow());
    owner_.CopiedRows->clear();
    const TGridRect selection = EditUserTerms->Selection();
    for (int row = selection.Top; row <= selection.Bottom; ++row) {
        if (const TermRow* copied = RowAt(row))
            owner_.CopiedRows->append(CopyLine(*copied));
    }
}

void TUserTerms::PasteRows() {
    if (!owner_.CopiedRows || owner_.CopiedRows->isEmpty())
        return;
    const int m = static_cast<int>(owner_.CopiedRows->size());
    int start = 0;
    if (placeholder_) {
        start = 1;
        EditUserTerms->SetRowCount(EditUserTerms->RowCount() + m - 1);
        placeholder_ = false;
        SetEditing(true);
    } else {
        start = EditUserTerms->Row() + 1;
        EditUserTerms->InsertRows(start, m);
    }
    for (int i = 0; i < m; ++i) {
        TermRow pasted = PasteLine((*owner_.CopiedRows)[i]);
        const QString base = pasted.name;
        for (int counter = 1; rows_.HasName(pasted.name); ++counter)
            pasted.name = base + "_" + QString::number(counter);
        rows_.Insert(start - 1 + i, std::move(pasted));
        ShowRow(start + i);
    }
    RenumberRows();
    count_ += m;
    SizeNumberColumn(*EditUserTerms, count_);
    FuzzySetPaintBoxPaint();
}

bool TUserTerms::AllRowsBuild() {
    for (int index = 0; index < rows_.Count(); ++index) {
        if (const auto col = MissingParameter(rows_[index])) {
            const int row = index + 1;
            EditUserTerms->SetSelection({*col, row, *col, row});
            EnterCell(*col, row);
            MarkEditor(*col, row);
            ShowConversionError(NotANumber(rows_[index].Param(*col)));
            return false;
        }
    }
    return true;
}

void TUserTerms::btnOkTermsClick() {
    if (EditUserTermsSelectCell(kNameCol, 1) && AllRowsBuild())
        accept();
}

void TUserTerms::btnCancelTermsClick() {
    reject();
}

void TUserTerms::WriteBack() {
    // The rules are renamed while the terms still have the names the rules were written with.
    const auto renames = rows_.Renames();
    if (!renames.empty() && owner_.RenameInRules)
        owner_.RenameInRules(renames);
    owner_.Settings->MutableTerms().clear();
    for (auto& term : rows_.Terms(lo_, hi_))
        owner_.Settings->AddTerm(std::move(term));
    if (owner_.MarkModified)
        owner_.MarkModified();
}

void TUserTerms::FuzzySetPaintBoxPaint() {
    const PlotGeometry geometry{FuzzySetPaintBox->width(), FuzzySetPaintBox->height()};
    PlotBuilder builder(geometry, FuzzySetPaintBox->fontMetrics(),
                        palette().color(QPalette::Button));
    const int current = CurrentRow();
    if (current == 0 || placeholder_ || hi_ <= lo_) {
        FuzzySetPaintBox->SetScene(builder.Take());
        return;
    }
    // A row without its numbers is left out of the drawing.
    for (int index = 0; index < rows_.Count(); ++index) {
        if (index == current - 1)
            continue;
        if (const auto set = BuildSet(rows_[index], lo_, hi_))
            builder.AddCurve(*set, Qt::blue, 1);
    }
    const auto set = RowAt(current) ? BuildSet(rows_[current - 1], lo_, hi_) : nullptr;
    if (!set) {
        FuzzySetPaintBox->SetScene(builder.Take());
        return;
    }
    std::vector<double> params(static_cast<std::size_t>(set->ParamCount()));
    set->GetParams(params);
    builder.AddMarkers(MarkersOf(set->GetTypeName(), params), lo_, hi_);
    builder.AddAxis();
    builder.AddGrid(lo_, hi_);
    builder.AddCurve(*set, Qt::red, 2);
    builder.AddBoundLabels(lo_, hi_);
    FuzzySetPaintBox->SetScene(builder.Take());
}

void TUserTerms::StdSetPaintBoxPaint() {
    const PlotGeometry geometry{StdSetPaintBox->width(), StdSetPaintBox->height()};
    PlotBuilder builder(geometry, StdSetPaintBox->fontMetrics(), palette().color(QPalette::Button));
    const int current = EditStdTerms->Row();
    const int rows = static_cast<int>(standardSets_.size());
    if (current < 1 || current > rows || EditStdTerms->RowCount() < 2 || hi_ <= lo_) {
        StdSetPaintBox->SetScene(builder.Take());
        return;
    }
    for (int row = 1; row <= rows; ++row) {
        const CFuzzySet* set = standardSets_[static_cast<std::size_t>(row - 1)].get();
        if (row != current && set)
            builder.AddCurve(*set, Qt::blue, 1);
    }
    const auto* set = dynamic_cast<const CFuzzyParamSet*>(
        standardSets_[static_cast<std::size_t>(current - 1)].get());
    if (!set) {
        StdSetPaintBox->SetScene(builder.Take());
        return;
    }
    std::vector<double> params(static_cast<std::size_t>(set->ParamCount()));
    set->GetParams(params);
    builder.AddMarkers(MarkersOf(set->GetTypeName(), params), set->GetLowerBound(),
                       set->GetUpperBound());
    builder.AddGrid(lo_, hi_);
    builder.AddAxis();
    builder.AddCurve(*set, Qt::red, 2);
    StdSetPaintBox->SetScene(builder.Take());
}

void TUserTerms::FuzzySetPaintBoxMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift,
                                           int x, int y) {
    if (CurrentRow() >= 1 && (buttons & Qt::LeftButton))
        DragPoint(x, y, shift);
}

void TUserTerms::FuzzySetPaintBoxMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x,
                                         int y) {
    if (CurrentRow() >= 1 && button == Qt::LeftButton)
        DragPoint(x, y, shift);
}

void TUserTerms::DragPoint(int x, int y, Qt::KeyboardModifiers shift) {
    const int row = CurrentRow();
    TermRow* dragged = RowAt(row);
    if (!dragged || hi_ <= lo_)
        return;
    const auto shape = RowShape(*dragged);
    if (!shape)
        return;
    // The numbers the row stands for; a cell whose text is no number keeps its last one.
    std::array<double, 6> params{};
    for (int col = kFirstParamCol; col <= kLastParamCol; ++col) {
        const bool spread = *shape == UserTermShape::kGaussian && (col == 4 || col == 7);
        const auto& value = dragged->Param(col).value;
        params[static_cast<std::size_t>(col - kFirstParamCol)] =
            !value || spread ? DBL_MAX : *value;
    }
    const PlotGeometry geometry{FuzzySetPaintBox->width(), FuzzySetPaintBox->height()};
    const double value = geometry.ValueAt(x, lo_, hi_);
    const int index = NearestPoint(params, lo_, hi_, geometry, x, y);
    if (params[static_cast<std::size_t>(index)] == DBL_MAX)
        return;
    const double offset = value - params[static_cast<std::size_t>(index)];
    // A cell that would fail its check keeps what it had.
    const auto setChecked = [&](int col, double newValue) {
        TermRow moved = *dragged;
        SetNumber(moved, col, newValue);
        if (!CheckParameter(moved, col, lo_, hi_))
            *dragged = std::move(moved);
    };
    if (!(shift & Qt::ShiftModifier)) {
        setChecked(kFirstParamCol + index, value);
    } else {
        for (int col = kFirstParamCol; col <= kLastParamCol; ++col) {
            if (const auto old = dragged->Param(col).value)
                setChecked(col, ClampToRange(*old + offset));
        }
    }
    ShowRow(row);
    MarkEditor(CurrentCol(), row);
    FuzzySetPaintBoxPaint();
}
