#include "desktop/userterms/TUserTerms.h"

#include <QAction>
#include <QFrame>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
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
#include "desktop/toolkit/UserPrompts.h"
#include "desktop/userterms/UserTermPaintBox.h"
#include "desktop/userterms/UserTermsDelegate.h"
#include "desktop/userterms/UserTermsModel.h"
#include "desktop/userterms/UserTermsView.h"
#include "toolbars/TToolbarButtonKit.h"

using namespace userterm;

namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void WrongInput(const QString& text) {
    toolkit::MessageDlg(text, "Wrong input", toolkit::MsgIcon::Warning, toolkit::mbOK);
}

void ShowConversionError(const QString& message) {
    toolkit::MessageDlg(message, "Error", toolkit::MsgIcon::Error, toolkit::mbOK);
}

void SetUpGrid(QTableView& grid, QAbstractItemModel& model) {
    // Where Times New Roman is missing, a condensed serif keeps the headers inside the columns.
    QFont font;
    font.setFamilies({"Times New Roman", "Liberation Serif", "DejaVu Serif Condensed"});
    font.setPixelSize(13);
    grid.setFont(font);
    grid.setModel(&model);
    grid.setGeometry(8, 8, 649, 209);
    QHeaderView& columns = *grid.horizontalHeader();
    columns.setDefaultSectionSize(68);
    // A parameter column whose header the font makes wider than the default width grows to
    // show it; the use mark needs only its letter.
    const QFontMetrics metrics(font);
    for (int col = 0; col < model.columnCount(); ++col) {
        const int header =
            metrics.horizontalAdvance(model.headerData(col, Qt::Horizontal).toString());
        if (UserTermsModel::IsParameterColumn(col))
            columns.resizeSection(col, std::max(68, header + 12));
    }
    columns.resizeSection(UserTermsModel::ModelColumn(kUsedCol),
                          metrics.horizontalAdvance("U") + 12);
    grid.verticalHeader()->setMinimumSectionSize(metrics.height() + 4);
    grid.verticalHeader()->setDefaultSectionSize(metrics.height() + 4);
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
    // Enter belongs to the grid's cell editor; no button takes it over.
    button->setAutoDefault(false);
    button->setGeometry(x, y, width, 25);
    return button;
}

}  // namespace

TUserTerms::TUserTerms(QWidget* parent)
    : QDialog(parent),
      model_(new UserTermsModel(true, this)),
      standardModel_(new UserTermsModel(false, this)) {
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

    EditUserTerms = new UserTermsView(UserExpPage);
    EditUserTerms->setObjectName("EditUserTerms");
    EditUserTerms->setItemDelegate(new UserTermsDelegate(EditUserTerms));
    SetUpGrid(*EditUserTerms, *model_);
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

    EditStdTerms = new QTableView(StdExpPage);
    EditStdTerms->setObjectName("EditStdTerms");
    // The language's own expressions are shown, not edited.
    EditStdTerms->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SetUpGrid(*EditStdTerms, *standardModel_);
    EditStdTerms->verticalHeader()->hide();
    EditStdTerms->setColumnHidden(UserTermsModel::ModelColumn(kUsedCol), true);
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
    EditUserTerms->AllowMove = [this](const QModelIndex& to) {
        return EditUserTermsSelectCell(UserTermsModel::GridColumn(to.column()), to.row() + 1);
    };
    // Ctrl+C and Ctrl+V copy rows while no cell editor is open; an open one copies its text.
    for (const auto& [keys, slot] : {std::pair{QKeySequence::Copy, &TUserTerms::CopyRows},
                                     std::pair{QKeySequence::Paste, &TUserTerms::PasteRows}}) {
        auto* action = new QAction(EditUserTerms);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        EditUserTerms->addAction(action);
        connect(action, &QAction::triggered, this, slot);
    }
    connect(model_, &QAbstractItemModel::dataChanged, this, &TUserTerms::onUserTermsChanged);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &TUserTerms::onUserTermsChanged);
    connect(EditUserTerms->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TUserTerms::onUserTermsChanged);
    connect(EditStdTerms->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &TUserTerms::StdSetPaintBoxPaint);
    connect(FuzzySetPaintBox, &UserTermPaintBox::resized, this, &TUserTerms::FuzzySetPaintBoxPaint);
    connect(StdSetPaintBox, &UserTermPaintBox::resized, this, &TUserTerms::StdSetPaintBoxPaint);
    connect(FuzzySetPaintBox, &UserTermPaintBox::mouseMoved, this,
            &TUserTerms::FuzzySetPaintBoxMouseMove);
    connect(FuzzySetPaintBox, &UserTermPaintBox::mouseReleased, this,
            &TUserTerms::FuzzySetPaintBoxMouseUp);
    FormCreate();
}

TUserTerms::~TUserTerms() = default;

void TUserTerms::FormCreate() {
    // The controls keep their designed places: the form neither grows empty nor cuts them off.
    setFixedSize(669, 522);
    btnAddGaussian->setVisible(true);
    mnChangeToGaussian->setVisible(true);
}

void TUserTerms::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TUserTerms::FormActivate() {
    // No cell is current until the person picks one.
    EditUserTerms->selectionModel()->clearCurrentIndex();
    EditUserTerms->clearSelection();
    FuzzySetPaintBoxPaint();
    StdSetPaintBoxPaint();
}

int TUserTerms::CurrentIndex() const {
    const QModelIndex current = EditUserTerms->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int TUserTerms::CurrentCol() const {
    const QModelIndex current = EditUserTerms->currentIndex();
    return current.isValid() ? UserTermsModel::GridColumn(current.column()) : 0;
}

int TUserTerms::CurrentRow() const {
    return CurrentIndex() + 1;
}

bool TUserTerms::GoToCell(int col, int row) {
    return EditUserTerms->GoTo(model_->index(row - 1, UserTermsModel::ModelColumn(col)));
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
    UserTermRows rows;
    rows.Load(*owner_.Settings);
    model_->Reset(std::move(rows));
    FillStandardGrid();
    UpdateUsedFlags();
    const int result = toolkit::ShowModal(*this);
    standardSets_.clear();
    if (result == QDialog::Accepted)
        WriteBack();
}

void TUserTerms::FillStandardGrid() {
    standardSets_.clear();
    const auto* linguistic = dynamic_cast<const CLinguisticSettings*>(owner_.Settings);
    const auto table = linguistic ? linguistic->TermTable() : std::span<const CLingTerm>();
    const bool symmetric = lo_ == -hi_;

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
    UserTermRows rows;
    for (std::size_t i = 0; i < names.size(); ++i) {
        TermRow row;
        row.name = names[i];
        if (const auto* set = dynamic_cast<const CFuzzyParamSet*>(standardSets_[i].get())) {
            row.type = ToQString(set->GetTypeName());
            std::vector<double> values(static_cast<std::size_t>(set->ParamCount()));
            set->GetParams(values);
            for (std::size_t p = 0; p < values.size() && p < 6; ++p)
                SetNumber(row, kFirstParamCol + static_cast<int>(p), values[p]);
        }
        rows.Insert(rows.Count(), std::move(row));
    }
    standardModel_->Reset(std::move(rows));
}

void TUserTerms::UpdateUsedFlags() {
    const UserTermRows& rows = model_->Rows();
    for (int index = 0; index < rows.Count(); ++index) {
        // The rules know a loaded term by the names it was loaded with until OK renames it.
        bool used = false;
        for (const QString& name : rows.NamesInRules(index))
            used = used ||
                   (owner_.IsExpressionUsed && owner_.IsExpressionUsed(name, owner_.VariableIndex));
        model_->SetUsed(index, used);
    }
}

void TUserTerms::onUserTermsChanged() {
    if (CheckCell(CurrentCol(), CurrentRow(), false))
        FuzzySetPaintBoxPaint();
}

void TUserTerms::AddRows(std::vector<TermRow> rows) {
    const int count = static_cast<int>(rows.size());
    model_->Insert(model_->Count(), std::move(rows));
    // The row is in place before it is entered, so that its editable cells follow its shape.
    const int col = CurrentCol() >= kNameCol && CurrentCol() < kUsedCol ? CurrentCol() : kNameCol;
    if (count > 0)
        GoToCell(col, model_->Count());
}

void TUserTerms::AddShape(UserTermShape shape) {
    TermRow added;
    added.name = "expression" + QString::number(model_->Count() + 1);
    WriteShape(added, shape, DefaultParams(shape, lo_, hi_), true);
    std::vector<TermRow> rows;
    rows.push_back(std::move(added));
    AddRows(std::move(rows));
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
        if (model_->Rows().HasName(name(k))) {
            WrongInput("One or more of expressions already exists.");
            return;
        }
    }
    std::vector<TermRow> rows(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k) {
        TermRow& row = rows[static_cast<std::size_t>(k)];
        row.name = name(k);
        WriteShape(row, UserTermShape::kTriang, UniformTriangle(n, k, lo_, hi_), false);
    }
    AddRows(std::move(rows));
    FuzzySetPaintBoxPaint();
    UpdateUsedFlags();
}

void TUserTerms::btnDeleteTermClick() {
    // Straight after opening no row is current yet, and nothing is deleted.
    const int row = CurrentIndex();
    if (row < 0)
        return;
    if (model_->Row(row).used) {
        toolkit::MessageDlg("Cannot delete expression used in description.", "Error",
                            toolkit::MsgIcon::Warning, toolkit::mbOK);
        return;
    }
    model_->Remove(row);
    UpdateUsedFlags();
    FuzzySetPaintBoxPaint();
}

void TUserTerms::pmChangeTypePopup() {
    const int row = CurrentIndex();
    const auto shape = row >= 0 ? RowShape(model_->Row(row)) : std::nullopt;
    mnChangeToQuadratic->setEnabled(row >= 0 && shape != UserTermShape::kQuadratic);
    mnChangeToTrapezoid->setEnabled(row >= 0 && shape != UserTermShape::kTrapezoid);
    mnChangeToTriangular->setEnabled(row >= 0 && shape != UserTermShape::kTriang);
    mnChangeToGaussian->setEnabled(row >= 0 && shape != UserTermShape::kGaussian);
}

void TUserTerms::ChangeShape(void (*change)(TermRow&, double, double)) {
    EditUserTerms->CommitEditor();
    const int row = CurrentIndex();
    if (row < 0)
        return;
    TermRow changed = model_->Row(row);
    try {
        change(changed, lo_, hi_);
    } catch (const toolkit::EConvertError& error) {
        ShowConversionError(error.what());
        return;
    }
    model_->Replace(row, std::move(changed));
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
    if (col <= 0 || col > kUsedCol || row < 1 || row > model_->Count())
        return true;
    const TermRow& checked = model_->Row(row - 1);
    if (col == kNameCol) {
        CFEParser parser(nullptr);
        bool clash = parser.Parse(checked.name.toStdString()) != nullptr;
        for (int other = 0; !clash && other < model_->Count(); ++other)
            clash = other != row - 1 && model_->Row(other).name == checked.name;
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
    if (col < kFirstParamCol || col > kLastParamCol)
        return true;
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

bool TUserTerms::EditUserTermsSelectCell(int col, int row) {
    if (row == 0 || col == 0 || col == kUsedCol)
        return false;
    return CheckCell(CurrentCol(), CurrentRow(), true);
}

void TUserTerms::CopyRows() {
    if (!owner_.CopiedRows || CurrentIndex() < 0)
        return;
    EditUserTerms->CommitEditor();
    int top = CurrentIndex();
    int bottom = top;
    for (const QModelIndex& selected : EditUserTerms->selectionModel()->selectedIndexes()) {
        top = std::min(top, selected.row());
        bottom = std::max(bottom, selected.row());
    }
    owner_.CopiedRows->clear();
    for (int row = top; row <= bottom; ++row)
        owner_.CopiedRows->append(CopyLine(model_->Row(row)));
}

void TUserTerms::PasteRows() {
    if (!owner_.CopiedRows || owner_.CopiedRows->isEmpty())
        return;
    std::vector<TermRow> pasted;
    for (const QString& line : *owner_.CopiedRows) {
        TermRow row = PasteLine(line);
        const QString base = row.name;
        const auto taken = [&](const QString& name) {
            return model_->Rows().HasName(name) ||
                   std::any_of(pasted.begin(), pasted.end(),
                               [&](const TermRow& other) { return other.name == name; });
        };
        for (int counter = 1; taken(row.name); ++counter)
            row.name = base + "_" + QString::number(counter);
        pasted.push_back(std::move(row));
    }
    model_->Insert(CurrentIndex() + 1, std::move(pasted));
    FuzzySetPaintBoxPaint();
}

bool TUserTerms::AllRowsBuild() {
    for (int index = 0; index < model_->Count(); ++index) {
        if (const auto col = MissingParameter(model_->Row(index))) {
            EditUserTerms->setCurrentIndex(model_->index(index, UserTermsModel::ModelColumn(*col)));
            ShowConversionError(NotANumber(model_->Row(index).Param(*col)));
            return false;
        }
    }
    return true;
}

void TUserTerms::btnOkTermsClick() {
    EditUserTerms->CommitEditor();
    if (CheckCell(CurrentCol(), CurrentRow(), true) && AllRowsBuild())
        accept();
}

void TUserTerms::btnCancelTermsClick() {
    reject();
}

void TUserTerms::WriteBack() {
    // The rules are renamed while the terms still have the names the rules were written with.
    const auto renames = model_->Rows().Renames();
    if (!renames.empty() && owner_.RenameInRules)
        owner_.RenameInRules(renames);
    owner_.Settings->MutableTerms().clear();
    for (auto& term : model_->Rows().Terms(lo_, hi_))
        owner_.Settings->AddTerm(std::move(term));
    if (owner_.MarkModified)
        owner_.MarkModified();
}

void TUserTerms::FuzzySetPaintBoxPaint() {
    // Nothing is drawn before a row is current; a row without its numbers is left out.
    std::vector<std::unique_ptr<CFuzzyParamSet>> sets;
    std::vector<const CFuzzySet*> others;
    std::unique_ptr<CFuzzyParamSet> current;
    for (int index = 0; CurrentIndex() >= 0 && hi_ > lo_ && index < model_->Count(); ++index) {
        auto set = BuildSet(model_->Row(index), lo_, hi_);
        if (index == CurrentIndex()) {
            current = std::move(set);
        } else if (set) {
            others.push_back(set.get());
            sets.push_back(std::move(set));
        }
    }
    PlotBuilder builder({FuzzySetPaintBox->width(), FuzzySetPaintBox->height()},
                        FuzzySetPaintBox->fontMetrics(), palette().color(QPalette::Button));
    builder.AddSets(others, current.get(), lo_, hi_, true);
    FuzzySetPaintBox->SetScene(builder.Take());
}

void TUserTerms::StdSetPaintBoxPaint() {
    const int current = EditStdTerms->currentIndex().row();
    std::vector<const CFuzzySet*> others;
    const CFuzzyParamSet* currentSet = nullptr;
    for (int row = 0; current >= 0 && hi_ > lo_ && row < int(standardSets_.size()); ++row) {
        const CFuzzySet* set = standardSets_[static_cast<std::size_t>(row)].get();
        if (row == current)
            currentSet = dynamic_cast<const CFuzzyParamSet*>(set);
        else if (set)
            others.push_back(set);
    }
    PlotBuilder builder({StdSetPaintBox->width(), StdSetPaintBox->height()},
                        StdSetPaintBox->fontMetrics(), palette().color(QPalette::Button));
    builder.AddSets(others, currentSet, lo_, hi_, false);
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
    EditUserTerms->CommitEditor();
    const int row = CurrentIndex();
    if (row < 0 || hi_ <= lo_)
        return;
    TermRow dragged = model_->Row(row);
    const auto shape = RowShape(dragged);
    if (!shape)
        return;
    // The numbers the row stands for; a cell whose text is no number keeps its last one.
    std::array<double, 6> params{};
    for (int col = kFirstParamCol; col <= kLastParamCol; ++col) {
        const bool spread = *shape == UserTermShape::kGaussian && (col == 4 || col == 7);
        const auto& value = dragged.Param(col).value;
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
        TermRow moved = dragged;
        SetNumber(moved, col, newValue);
        if (!CheckParameter(moved, col, lo_, hi_))
            dragged = std::move(moved);
    };
    if (!(shift & Qt::ShiftModifier)) {
        setChecked(kFirstParamCol + index, value);
    } else {
        for (int col = kFirstParamCol; col <= kLastParamCol; ++col) {
            if (const auto old = dragged.Param(col).value)
                setChecked(col, ClampToRange(*old + offset));
        }
    }
    model_->Replace(row, std::move(dragged));
    FuzzySetPaintBoxPaint();
}
