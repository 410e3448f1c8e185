#include "desktop/userterms/TUserTerms.h"

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QPushButton>
#include <QStringList>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cfloat>
#include <cmath>

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

void ShowConversionError(const toolkit::EConvertError& error) {
    toolkit::MessageDlg(error.what(), "Error", toolkit::MsgIcon::Error, toolkit::mbOK);
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
    currentName_.clear();
    if (EditUserTerms->RowCount() > 1)
        currentName_ = EditUserTerms->Cells(kNameCol, 1);
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
    count_ = static_cast<int>(owner_.Settings->Terms().size());
    FillUserGrid();
    FillStandardGrid();
    UpdateUsedFlags();
    const int result = toolkit::ShowModal(*this);
    standardSets_.clear();
    if (result == QDialog::Accepted)
        WriteBack();
}

userterm::RowCells TUserTerms::ReadRow(int row) const {
    RowCells cells;
    for (int col = 0; col < kColCount; ++col)
        cells[static_cast<std::size_t>(col)] = EditUserTerms->Cells(col, row);
    return cells;
}

void TUserTerms::WriteRow(int row, const userterm::RowCells& cells) {
    for (int col = kNameCol; col < kColCount; ++col)
        EditUserTerms->SetCells(col, row, cells[static_cast<std::size_t>(col)]);
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
    grid.SetRowCount(count_ + 1);
    grid.SetColCount(kColCount);
    for (int row = 1; row <= count_; ++row) {
        for (int col = 0; col < kColCount; ++col)
            grid.SetCells(col, row, {});
        grid.SetObjects(kNameCol, row, 0);
    }
    placeholder_ = false;
    SizeNumberColumn(grid, count_);
    grid.SetColWidths(kUsedCol, grid.TextWidth("U") + 6);
    RenumberRows();
    for (int col = 0; col < kColCount; ++col)
        grid.SetCells(col, 0, kHeaders[col]);
    FitHeaders(grid);
    shortForms_.clear();
    const auto& terms = owner_.Settings->Terms();
    for (int i = 0; i < count_; ++i) {
        RowCells cells;
        const auto& names = terms[static_cast<std::size_t>(i)]->Names();
        cells[kNameCol] = QString::fromStdString(names.front());
        shortForms_.emplace_back(names.begin() + 1, names.end());
        grid.SetObjects(kNameCol, i + 1, static_cast<std::intptr_t>(shortForms_.size()));
        const CFuzzySet& set = terms[static_cast<std::size_t>(i)]->Element();
        cells[kTypeCol] = ToQString(set.GetTypeName());
        const auto shape = FindShape(set.GetTypeName());
        const auto* params = dynamic_cast<const CFuzzyParamSet*>(&set);
        if (shape && params) {
            std::vector<double> values(static_cast<std::size_t>(params->ParamCount()));
            params->GetParams(values);
            WriteShape(cells, *shape, values, false);
        }
        WriteRow(i + 1, cells);
    }
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
        for (int row = 1; row < EditUserTerms->RowCount(); ++row) {
            const bool used =
                owner_.IsExpressionUsed &&
                owner_.IsExpressionUsed(EditUserTerms->Cells(kNameCol, row), owner_.VariableIndex);
            EditUserTerms->SetCells(kUsedCol, row, used ? "U" : "N");
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
    EditUserTerms->SetObjects(kNameCol, 1, 0);
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
    RowCells cells;
    cells[kNameCol] = name;
    WriteShape(cells, shape, params, fullPrecision);
    WriteRow(row, cells);
    SizeNumberColumn(*EditUserTerms, count_);
    RenumberRows();
    // The name is in place before the row is entered, so that entering it is no rename.
    const int col = CurrentCol() >= kNameCol && CurrentCol() < kUsedCol ? CurrentCol() : kNameCol;
    EditUserTerms->FocusCell(col, row);
}

void TUserTerms::AddShape(UserTermShape shape) {
    const std::vector<double> params = DefaultParams(shape, lo_, hi_);
    AddRow("expression" + QString::number(EditUserTerms->RowCount() - (placeholder_ ? 1 : 0)),
           shape, params, true);
    EditUserTerms->SetCells(kUsedCol, EditUserTerms->RowCount() - 1, "N");
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

bool TUserTerms::HasName(const QString& name) const {
    for (int row = 1; row < EditUserTerms->RowCount(); ++row)
        if (!(placeholder_ && row == 1) && EditUserTerms->Cells(kNameCol, row) == name)
            return true;
    return false;
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
        ShowConversionError(error);
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
        if (HasName(name(k))) {
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
    if (placeholder_)
        return;
    const int row = EditUserTerms->Row();
    if (EditUserTerms->Cells(kUsedCol, row) == "U") {
        toolkit::MessageDlg("Cannot delete expression used in description.", "Error",
                            toolkit::MsgIcon::Warning, toolkit::mbOK);
        return;
    }
    if (EditUserTerms->RowCount() > 1) {
        EditUserTerms->DeleteRows(row, 1);
        RenumberRows();
        --count_;
        SizeNumberColumn(*EditUserTerms, count_);
    }
    currentName_ = EditUserTerms->Cells(kNameCol, EditUserTerms->Row());
    UpdateUsedFlags();
    FuzzySetPaintBoxPaint();
}

void TUserTerms::pmChangeTypePopup() {
    const auto shape = RowShape(ReadRow(EditUserTerms->Row()));
    const bool dataRow = !placeholder_ && EditUserTerms->Row() >= 1;
    mnChangeToQuadratic->setEnabled(dataRow && shape != UserTermShape::kQuadratic);
    mnChangeToTrapezoid->setEnabled(dataRow && shape != UserTermShape::kTrapezoid);
    mnChangeToTriangular->setEnabled(dataRow && shape != UserTermShape::kTriang);
    mnChangeToGaussian->setEnabled(dataRow && shape != UserTermShape::kGaussian);
}

void TUserTerms::ChangeShape(void (*change)(userterm::RowCells&, double, double)) {
    if (placeholder_)
        return;
    const int row = EditUserTerms->Row();
    RowCells cells = ReadRow(row);
    try {
        change(cells, lo_, hi_);
    } catch (const toolkit::EConvertError& error) {
        ShowConversionError(error);
        return;
    }
    WriteRow(row, cells);
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
    if (col <= 0 || col >= EditUserTerms->ColCount() || row <= 0)
        return true;
    if (col == kNameCol) {
        const QString name = EditUserTerms->Cells(kNameCol, row);
        CFEParser parser(nullptr);
        bool clash = parser.Parse(name.toStdString()) != nullptr;
        for (int other = 1; !clash && other < EditUserTerms->RowCount(); ++other)
            clash = other != row && EditUserTerms->Cells(kNameCol, other) == name;
        if (clash) {
            if (withMessages)
                WrongInput("Expression already exists");
            return false;
        }
        return !name.trimmed().isEmpty();
    }
    try {
        const auto problem = CheckParameter(ReadRow(row), col, lo_, hi_);
        if (!problem)
            return true;
        if (withMessages)
            toolkit::MessageDlg(*problem, "Information", toolkit::MsgIcon::Information,
                                toolkit::mbOK);
    } catch (const toolkit::EConvertError& error) {
        if (withMessages)
            ShowConversionError(error);
    }
    return false;
}

bool TUserTerms::EditUserTermsSelectCell(int col, int row) {
    if (row == 0 || col == 0 || col == kUsedCol)
        return false;
    if (!CheckCell(CurrentCol(), CurrentRow(), true))
        return false;
    const auto shape = RowShape(ReadRow(row));
    tabStops_.assign(kColCount, false);
    if (shape)
        for (int stop : TabStops(*shape))
            tabStops_[static_cast<std::size_t>(stop)] = true;
    const bool renaming = !placeholder_ && CurrentCol() == kNameCol && CurrentRow() >= 1;
    const QString newName = EditUserTerms->Cells(kNameCol, CurrentRow());
    // An empty old name is no expression: renaming it would fill every empty rule cell.
    if (renaming && newName != currentName_ && !currentName_.isEmpty() && owner_.RenameInRules)
        owner_.RenameInRules(currentName_.toStdString(), newName.toStdString());
    parked_ = false;
    SetEditing(tabStops_[static_cast<std::size_t>(col)]);
    if (col == kNameCol && row >= 1)
        currentName_ = EditUserTerms->Cells(kNameCol, row);
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
    owner_.CopiedRows->clear();
    const TGridRect selection = EditUserTerms->Selection();
    for (int row = selection.Top; row <= selection.Bottom; ++row)
        owner_.CopiedRows->append(CopyLine(ReadRow(row)));
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
        RowCells cells = PasteLine((*owner_.CopiedRows)[i]);
        const QString base = cells[kNameCol];
        QString name = base;
        for (int counter = 1; HasName(name); ++counter)
            name = base + "_" + QString::number(counter);
        cells[kNameCol] = name;
        cells[kUsedCol] = "N";
        WriteRow(start + i, cells);
    }
    RenumberRows();
    count_ += m;
    SizeNumberColumn(*EditUserTerms, count_);
    FuzzySetPaintBoxPaint();
}

bool TUserTerms::AllRowsBuild() {
    for (int row = 1; row < EditUserTerms->RowCount(); ++row) {
        try {
            BuildSet(ReadRow(row), lo_, hi_);
        } catch (const toolkit::EConvertError& error) {
            EditUserTerms->SetSelection({kNameCol, row, kNameCol, row});
            ShowConversionError(error);
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
    if (owner_.MarkModified)
        owner_.MarkModified();
    auto& terms = owner_.Settings->MutableTerms();
    terms.clear();
    for (int row = 1; row < EditUserTerms->RowCount(); ++row) {
        const RowCells cells = ReadRow(row);
        std::unique_ptr<CFuzzySet> set = BuildSet(cells, lo_, hi_);
        if (!set)
            continue;
        // Rules may name an expression by a short form from the file; the short forms stay
        // with the loaded row through renames and moves, and pasted rows have none.
        std::vector<std::string> names{cells[kNameCol].toStdString()};
        const std::intptr_t loaded = EditUserTerms->Objects(kNameCol, row);
        if (loaded > 0) {
            const auto& kept = shortForms_[static_cast<std::size_t>(loaded - 1)];
            names.insert(names.end(), kept.begin(), kept.end());
        }
        owner_.Settings->AddTerm(std::make_unique<CNamedTerm>(std::move(names), std::move(set)));
    }
}

void TUserTerms::FuzzySetPaintBoxPaint() {
    const PlotGeometry geometry{FuzzySetPaintBox->width(), FuzzySetPaintBox->height()};
    PlotBuilder builder(geometry, FuzzySetPaintBox->fontMetrics(),
                        palette().color(QPalette::Button));
    const int current = CurrentRow();
    if (current == 0 || EditUserTerms->RowCount() < 2 || hi_ <= lo_) {
        FuzzySetPaintBox->SetScene(builder.Take());
        return;
    }
    // A row whose numbers do not read is left out of the drawing.
    const auto buildSet = [this](int row) -> std::unique_ptr<CFuzzyParamSet> {
        try {
            return BuildSet(ReadRow(row), lo_, hi_);
        } catch (const toolkit::EConvertError&) {
            return nullptr;
        }
    };
    for (int row = 1; row < EditUserTerms->RowCount(); ++row) {
        if (row == current)
            continue;
        if (const auto set = buildSet(row))
            builder.AddCurve(*set, Qt::blue, 1);
    }
    const auto set = buildSet(current);
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
    if (row < 1 || placeholder_ || hi_ <= lo_)
        return;
    RowCells cells = ReadRow(row);
    const auto shape = RowShape(cells);
    if (!shape)
        return;
    std::array<double, 6> params{};
    try {
        for (int col = kFirstParamCol; col <= kLastParamCol; ++col) {
            const bool spread = *shape == UserTermShape::kGaussian && (col == 4 || col == 7);
            const QString& text = cells[static_cast<std::size_t>(col)];
            params[static_cast<std::size_t>(col - kFirstParamCol)] =
                text.isEmpty() || spread ? DBL_MAX : toolkit::StrToFloat(text);
        }
    } catch (const toolkit::EConvertError&) {
        return;
    }
    const PlotGeometry geometry{FuzzySetPaintBox->width(), FuzzySetPaintBox->height()};
    const double value = geometry.ValueAt(x, lo_, hi_);
    const int index = NearestPoint(params, lo_, hi_, geometry, x, y);
    const int chosen = kFirstParamCol + index;
    if (params[static_cast<std::size_t>(index)] == DBL_MAX)
        return;
    const double offset = value - params[static_cast<std::size_t>(index)];
    const auto setChecked = [&](int col, double newValue) {
        const QString old = EditUserTerms->Cells(col, row);
        EditUserTerms->SetCells(col, row, Format3(newValue));
        if (!CheckCell(col, row, false))
            EditUserTerms->SetCells(col, row, old);
    };
    if (!(shift & Qt::ShiftModifier)) {
        setChecked(chosen, value);
    } else {
        for (int col = kFirstParamCol; col <= kLastParamCol; ++col) {
            const QString old = EditUserTerms->Cells(col, row);
            if (old.isEmpty())
                continue;
            setChecked(col, ClampToRange(toolkit::StrToFloat(old) + offset));
        }
    }
    FuzzySetPaintBoxPaint();
}
