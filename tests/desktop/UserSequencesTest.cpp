// A person at the keyboard and the mouse: seeded random sequences of events on every window of
// the program (the main window with its menus and shortcuts, the editor pages, the rules grid
// with its cell editor open, the variable dialog, the test window and the surface, the
// user-expressions editor, the data page and the F-transform settings), with every modal form
// and message box answered at random through the prompts. After each sequence every open rule
// base must read back the same from what the program's Save writes, the rules grid must show
// one row for each rule plus any incomplete rows, every data page must show its model's cells,
// and an import there must leave no cell of the earlier table beside a new row.
//
// Each sequence starts from a fresh main window, so a seed replays alone:
//   UserSequencesTest randomSequences:"seed 17"     one of the default seeds
//   TAVO_SEED=123456 UserSequencesTest              any seed
//   TAVO_SEQUENCES=2000 UserSequencesTest           more sequences
//   TAVO_FIRST_SEED=2401 TAVO_SEQUENCES=200 ...     others
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTabBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>
#include <random>

#include "core/io/RuleBaseReader.h"
#include "core/io/RuleBaseWriter.h"
#include "core/text/ESyntax.h"
#include "desktop/data/DataTableModel.h"
#include "desktop/data/TDataPage.h"
#include "desktop/editor/EditorSeams.h"
#include "desktop/editor/TFormInfUnit.h"
#include "desktop/mainwindow/TAboutBox.h"
#include "desktop/mainwindow/TDialogNewBaseProperties.h"
#include "desktop/mainwindow/TMainForm.h"
#include "desktop/mainwindow/TestWindowSeam.h"
#include "desktop/mainwindow/VariableDialogSeams.h"
#include "desktop/rules/TRulesPage.h"
#include "desktop/toolkit/TApplication.h"
#include "desktop/variables/TDlgAddVar.h"
#include "tests/desktop/support/ApplicationTestMain.h"
#include "tests/desktop/support/TemporaryRegistry.h"

using namespace toolkit;

namespace {

constexpr int kDefaultSequences = 200;
constexpr int kEventsPerSequence = 250;
// Modal forms opened from modal forms are played too, up to this depth.
constexpr int kModalDepth = 2;

const char* const kExamples[] = {"controller.rb", "user_terms.rb", "singleton.rb",
                                 "heater.rb",     "symmetric.rb",  "triangles.rb"};
// What a person types into cells and boxes: expressions, numbers, rows and garbage.
const char* const kTexts[] = {"sm",   "ve bi", "Ve Sm",  "about 3",  "+me",   "-ze", "ro sm or bi",
                              "12.5", "-3",    "1e3",    "0,5",      "foo",   "x1",  "2*x1 + 1",
                              "#",    ";",     "sm;bi;", "me;me;me", "ex sm", "",    "  "};
const Qt::Key kKeys[] = {Qt::Key_Tab,    Qt::Key_Backtab,   Qt::Key_Return,   Qt::Key_Escape,
                         Qt::Key_Delete, Qt::Key_Backspace, Qt::Key_Insert,   Qt::Key_Up,
                         Qt::Key_Down,   Qt::Key_Left,      Qt::Key_Right,    Qt::Key_Home,
                         Qt::Key_End,    Qt::Key_PageUp,    Qt::Key_PageDown, Qt::Key_Space,
                         Qt::Key_F1,     Qt::Key_F2,        Qt::Key_F3,       Qt::Key_F4,
                         Qt::Key_F5,     Qt::Key_F6,        Qt::Key_F7,       Qt::Key_F8,
                         Qt::Key_F9,     Qt::Key_F10,       Qt::Key_F11,      Qt::Key_F12,
                         Qt::Key_Shift,  Qt::Key_Control,   Qt::Key_Alt};
const char kCharacters[] = "abcdefghijklmnopqrstuvwxyz0123456789 +-.,;:()*/=<>_#";

// Plays the person: random events on the program's windows, random answers to its questions.
class RandomPerson : public UserPrompts {
  public:
    // Answers every question of the program while it lives.
    RandomPerson(unsigned seed, const QString& folder)
        : random_(seed), folder_(folder), previous_(SetUserPrompts(this)) {}
    ~RandomPerson() override { SetUserPrompts(previous_); }

    int Below(int n) { return n <= 1 ? 0 : std::uniform_int_distribution<int>(0, n - 1)(random_); }
    bool Chance(int percent) { return Below(100) < percent; }
    template <typename T, std::size_t N>
    const T& Pick(const T (&items)[N]) {
        return items[Below(int(N))];
    }

    // The file names the file dialogs answer: examples, data files and names that do not exist.
    QStringList OpenNames;
    // While set, the next save dialog is answered with this name and nothing else is random.
    QString ForcedSaveName;
    int EventsLeft = 0;
    QStringList Asked;

    ModalResult Message(const MessageRequest& request) override {
        Asked << request.Caption + ": " + request.Text;
        std::vector<ModalResult> offered;
        for (auto [button, result] : {std::pair{mbOK, ModalResult::Ok},
                                      {mbYes, ModalResult::Yes},
                                      {mbNo, ModalResult::No},
                                      {mbCancel, ModalResult::Cancel}}) {
            if (request.Buttons & button)
                offered.push_back(result);
        }
        if (offered.empty())
            return ModalResult::Ok;
        // The checks at the end of a sequence only save.
        if (!ForcedSaveName.isEmpty())
            return offered.front();
        return offered[Below(int(offered.size()))];
    }

    std::optional<QString> Input(const InputRequest&) override {
        if (Chance(30))
            return std::nullopt;
        return QString(Pick(kTexts));
    }

    std::optional<FileDialogAnswer> ChooseFile(const FileDialogRequest& request) override {
        if (!ForcedSaveName.isEmpty())
            return FileDialogAnswer{std::exchange(ForcedSaveName, {}), request.FilterIndex};
        if (Chance(25))
            return std::nullopt;
        QString name = request.Kind == FileDialogKind::Save || OpenNames.isEmpty()
                           ? QDir(folder_).filePath("saved" + QString::number(Below(3)))
                           : OpenNames[Below(int(OpenNames.size()))];
        return FileDialogAnswer{name, request.FilterIndex};
    }

    // A modal form gets a few events of its own, then Enter, Escape or its close box.
    int Modal(QDialog& dialog) override {
        if (depth_ >= kModalDepth || EventsLeft <= 0 || !ForcedSaveName.isEmpty())
            return QDialog::Rejected;
        ++depth_;
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        for (int i = Below(30); i >= 0 && dialog.isVisible() && EventsLeft > 0; --i)
            Act(dialog);
        if (dialog.isVisible() && Chance(60))
            KeyClick(FocusIn(dialog), Chance(70) ? Qt::Key_Return : Qt::Key_Escape);
        if (dialog.isVisible())
            dialog.reject();
        --depth_;
        return dialog.result();
    }

    // One event on the window, or on the popup that is open over it.
    void Act(QWidget& window) {
        --EventsLeft;
        QWidget* popup = QApplication::activePopupWidget();
        QWidget& target = popup ? *popup : window;
        using Event = void (RandomPerson::*)(QWidget&);
        static const std::pair<int, Event> kEvents[] = {
            {30, &RandomPerson::PressKey},    {10, &RandomPerson::TypeText},
            {18, &RandomPerson::Click},       {6, &RandomPerson::Drag},
            {8, &RandomPerson::RunCommand},   {12, &RandomPerson::ClickButton},
            {5, &RandomPerson::ChoosePage},   {8, &RandomPerson::OpenCellEditor},
            {3, &RandomPerson::ActivateChild}};
        int roll = Below(100);
        for (const auto& [weight, event] : kEvents) {
            if ((roll -= weight) < 0) {
                (this->*event)(target);
                break;
            }
        }
        QCoreApplication::processEvents();
    }

  private:
    // The widget may go with the press, as a window that a key or a click closes.
    template <typename Key>
    static void KeyClick(QWidget* widget, Key key, Qt::KeyboardModifiers modifiers = {}) {
        QPointer<QWidget> target = widget;
        QTest::keyPress(target, key, modifiers);
        if (target)
            QTest::keyRelease(target, key, modifiers);
    }

    static void MouseClick(QWidget* widget, Qt::MouseButton button, Qt::KeyboardModifiers modifiers,
                           QPoint at, bool twice = false) {
        QPointer<QWidget> target = widget;
        QTest::mousePress(target, button, modifiers, at);
        if (target)
            QTest::mouseRelease(target, button, modifiers, at);
        if (twice && target)
            QTest::mouseDClick(target, button, modifiers, at);
        if (twice && target)
            QTest::mouseRelease(target, button, modifiers, at);
    }

    // Keys go where a person's keys go: to the focused control of the window.
    static QWidget* FocusIn(QWidget& window) {
        QWidget* focus = QApplication::focusWidget();
        return focus && (focus->window() == window.window()) ? focus : &window;
    }

    template <typename T>
    T* AnyVisible(QWidget& window) {
        QList<T*> found;
        for (T* widget : window.findChildren<T*>()) {
            if (widget->isVisible() && widget->isEnabled() && !widget->rect().isEmpty())
                found << widget;
        }
        return found.isEmpty() ? nullptr : found[Below(int(found.size()))];
    }

    QPoint AnyPoint(const QWidget& widget) {
        return {Below(widget.width()), Below(widget.height())};
    }

    Qt::KeyboardModifiers AnyModifiers() {
        Qt::KeyboardModifiers modifiers;
        if (Chance(25))
            modifiers |= Qt::ShiftModifier;
        if (Chance(12))
            modifiers |= Qt::ControlModifier;
        if (Chance(8))
            modifiers |= Qt::AltModifier;
        return modifiers;
    }

    void PressKey(QWidget& window) {
        const Qt::KeyboardModifiers modifiers = AnyModifiers();
        if (Chance(50)) {
            KeyClick(FocusIn(window), Pick(kKeys), modifiers);
            return;
        }
        char character = kCharacters[Below(int(sizeof kCharacters) - 1)];
        if ((modifiers & Qt::ShiftModifier) && character >= 'a' && character <= 'z')
            character = char(character - 'a' + 'A');
        KeyClick(FocusIn(window), character, modifiers);
    }

    void TypeText(QWidget& window) {
        for (const char* character = Pick(kTexts); *character; ++character)
            KeyClick(FocusIn(window), *character);
    }

    void Click(QWidget& window) {
        QWidget* widget = Chance(90) ? AnyVisible<QWidget>(window) : &window;
        if (!widget)
            return;
        const Qt::MouseButton button = Chance(80)   ? Qt::LeftButton
                                       : Chance(80) ? Qt::RightButton
                                                    : Qt::MiddleButton;
        const Qt::KeyboardModifiers modifiers = Chance(70) ? Qt::NoModifier : AnyModifiers();
        MouseClick(widget, button, modifiers, AnyPoint(*widget), Chance(15));
    }

    void Drag(QWidget& window) {
        QPointer<QWidget> widget = AnyVisible<QWidget>(window);
        if (!widget)
            return;
        const Qt::KeyboardModifiers modifiers = Chance(70) ? Qt::NoModifier : AnyModifiers();
        QTest::mousePress(widget, Qt::LeftButton, modifiers, AnyPoint(*widget));
        for (int i = Below(4); i >= 0 && widget; --i)
            QTest::mouseMove(widget, AnyPoint(*widget));
        if (widget)
            QTest::mouseRelease(widget, Qt::LeftButton, modifiers, AnyPoint(*widget));
    }

    void RunCommand(QWidget& window) {
        QList<QAction*> actions;
        for (QAction* action : window.findChildren<QAction*>()) {
            // Help opens a viewer outside the program.
            if (action->isEnabled() && !action->isSeparator() && !action->menu() &&
                action->objectName() != "HelpContentsItem")
                actions << action;
        }
        if (!actions.isEmpty())
            actions[Below(int(actions.size()))]->trigger();
    }

    void ClickButton(QWidget& window) {
        if (QAbstractButton* button = AnyVisible<QAbstractButton>(window))
            MouseClick(button, Qt::LeftButton, {}, button->rect().center());
    }

    void ChoosePage(QWidget& window) {
        QTabBar* tabs = AnyVisible<QTabBar>(window);
        if (tabs && tabs->count() > 0)
            MouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(Below(tabs->count())).center());
    }

    // A cell of any table, then its editor: F2, Enter or a double click.
    void OpenCellEditor(QWidget& window) {
        QPointer<QTableView> view = AnyVisible<QTableView>(window);
        if (!view || !view->model())
            return;
        const QAbstractItemModel& model = *view->model();
        const QRect cell = view->visualRect(
            model.index(Below(model.rowCount() + 1), Below(model.columnCount() + 1)));
        if (cell.isEmpty())
            return;
        MouseClick(view->viewport(), Qt::LeftButton, {}, cell.center(), Chance(50));
        if (view)
            KeyClick(FocusIn(*view), Chance(50) ? Qt::Key_F2 : Qt::Key_Return);
    }

    void ActivateChild(QWidget& window) {
        auto* area = window.findChild<QMdiArea*>();
        if (!area || area->subWindowList().isEmpty())
            return;
        const auto children = area->subWindowList();
        area->setActiveSubWindow(children[Below(int(children.size()))]);
    }

    std::mt19937 random_;
    QString folder_;
    UserPrompts* previous_;
    int depth_ = 0;
};

QByteArray Contents(const QString& fileName) {
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Empty when the editor's rule base reads back the same from what its Save writes and its rules
// grid shows its rules; otherwise what differs.
QString BrokenInvariant(TFormInfUnit& editor, RandomPerson& person, const QString& fileName) {
    const bool rulesShown = editor.ShowsRulesPage();
    person.ForcedSaveName = fileName;
    const int asked = person.Asked.size();
    if (!editor.SaveRuleBaseAs()) {
        // Refused, and said why (a cell that does not read, an incomplete rule, a name that
        // looks like a line of the file's own): nothing is written and the window keeps it all.
        if (person.Asked.size() > asked &&
            person.Asked.back().contains(": Cannot write to rulebase file "))
            return {};
        return "Save failed: " + person.Asked.join(" | ");
    }
    const QByteArray written = Contents(fileName);
    if (written != QByteArray::fromStdString(RuleBaseText(editor.RuleBase())))
        return "the file is not the rule base in memory";
    QStringList warnings;
    RuleBaseReaderOptions options;
    options.warn = [&warnings](const RuleBaseWarning& warning) {
        warnings << QString::fromStdString(warning.message);
    };
    try {
        const CRuleBase readBack = ReadRuleBaseText(written.toStdString(), {}, options);
        if (!warnings.isEmpty())
            return "reading back warns: " + warnings.join(" | ");
        if (QByteArray::fromStdString(RuleBaseText(readBack)) != written)
            return "the file reads back otherwise:\n" + QString::fromUtf8(written);
    } catch (const std::exception& error) {
        return QString("the file does not read back: ") + error.what();
    }
    if (!rulesShown)
        return {};
    const TRulesPage& page = editor.RulesPage();
    const CRuleBase& ruleBase = editor.RuleBase();
    const int inputs = ruleBase.GetNumAntVariables();
    const int outputs = ruleBase.GetNumSucVariables();
    if (page.CellEditor())
        return "Save left a cell editor open";
    int rule = 0;
    for (int row = 1; row <= page.RuleRowCount(); ++row) {
        QStringList cells;
        for (int column = 1; column <= inputs + outputs; ++column)
            cells << page.CellText(column, row);
        if (cells.contains(QString()))
            continue;
        if (rule == ruleBase.GetNumRules())
            return QString("grid row %1 shows a rule more than the rule base holds").arg(row);
        QStringList expected;
        for (int v = 0; v < inputs; ++v)
            expected << QString::fromStdString(ruleBase.GetAntExpression(v, rule));
        for (int v = 0; v < outputs; ++v)
            expected << QString::fromStdString(ruleBase.GetSucExpression(v, rule));
        if (cells != expected)
            return QString("grid row %1 shows %2, rule %3 is %4")
                .arg(row)
                .arg(cells.join(';'), QString::number(rule + 1), expected.join(';'));
        ++rule;
    }
    if (rule != ruleBase.GetNumRules())
        return QString("the grid shows %1 of %2 rules").arg(rule).arg(ruleBase.GetNumRules());
    return {};
}

// Tab-separated rows of numbers for the data page to import, with shortLines now and then a
// short one; the rows' words.
QList<QStringList> WriteDataFile(const QString& fileName, RandomPerson& person,
                                 bool shortLines = false) {
    QFile file(fileName);
    file.open(QIODevice::WriteOnly);
    QList<QStringList> rows;
    const int columns = 1 + person.Below(4);
    for (int row = person.Below(12); row >= 0; --row) {
        QStringList words;
        for (int c = shortLines && person.Chance(20) ? person.Below(columns) : 0; c < columns; ++c)
            words << QString::number(person.Below(2000) / 10.0 - 50.0);
        if (words.isEmpty())
            words << "7";
        file.write((words.join('\t') + "\n").toUtf8());
        rows << words;
    }
    return rows;
}

// Empty when the data page shows its model's cells, and an import of a new file leaves no cell
// of the earlier table beside a new row; otherwise what differs.
QString BrokenDataPage(TFormInfUnit& editor, RandomPerson& person, const QString& fileName) {
    TDataPage& page = editor.DataPage();
    const DataTableModel& model = page.Model();
    const auto* view = page.findChild<QTableView*>("StringGridData");
    if (!view || view->model() != &model)
        return "the data page's table does not show its model";
    const DataTable& table = model.Table();
    if (model.rowCount() != table.RowCount())
        return QString("the data model has %1 rows, its table %2")
            .arg(model.rowCount())
            .arg(table.RowCount());
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int column = 0; column < model.columnCount(); ++column) {
            if (model.index(row, column).data().toString() != table.Cell(column + 1, row))
                return QString("data cell %1, %2 is not its table's").arg(column + 1).arg(row);
        }
    }

    const DataTable earlier = table;
    const QList<QStringList> rows = WriteDataFile(fileName, person, true);
    person.ForcedSaveName = fileName;
    page.btnImportClick();
    const DataLayout& layout = model.Layout();
    if (model.rowCount() != rows.size())
        return QString("an import of %1 rows left %2").arg(rows.size()).arg(model.rowCount());
    if (!page.MaxError().isEmpty())
        return "the largest error of the earlier rows stayed after an import";
    for (int row = 0; row < model.rowCount(); ++row) {
        for (int column = 1; column <= layout.DescriptionColumn(); ++column) {
            QString expected;
            if (column <= std::min(layout.ImportedColumns(), int(rows[row].size())))
                expected = rows[row][column - 1];
            else if (column > layout.ImportedColumns() && column <= layout.DesiredColumn())
                expected = earlier.Cell(column, row);
            if (table.Cell(column, row) != expected)
                return QString("after an import data cell %1, %2 is \"%3\", not \"%4\"")
                    .arg(column)
                    .arg(row)
                    .arg(table.Cell(column, row), expected);
        }
    }
    return {};
}

}  // namespace

class UserSequencesTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        // The registry store and the editors write through fsync, which on a shared disk costs
        // more than all the events; memory does as well for the files of one sequence.
        if (QFileInfo(QStringLiteral("/dev/shm")).isWritable())
            qputenv("TMPDIR", "/dev/shm");
    }

    void randomSequences_data() {
        QTest::addColumn<unsigned>("seed");
        if (const QByteArray seed = qgetenv("TAVO_SEED"); !seed.isEmpty()) {
            QTest::addRow("seed %s", seed.constData()) << seed.toUInt();
            return;
        }
        const int count = qEnvironmentVariableIntValue("TAVO_SEQUENCES");
        const unsigned first = std::max(1, qEnvironmentVariableIntValue("TAVO_FIRST_SEED"));
        const unsigned last = first - 1 + unsigned(count > 0 ? count : kDefaultSequences);
        for (unsigned seed = first; seed <= last; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }

    void randomSequences() {
        QFETCH(unsigned, seed);
        QTemporaryDir folder;
        qputenv("XDG_RUNTIME_DIR", folder.path().toLocal8Bit());
        TemporaryRegistry store;
        RandomPerson person(seed, folder.path());
        QStringList failures;
        auto* application = static_cast<TApplication*>(qApp);
        connect(application, &TApplication::handlerFailed, this,
                [&failures](const QString& message) { failures << "a handler threw: " + message; });
        QApplication::clipboard()->clear();

        for (const char* example : kExamples) {
            const QString copy = folder.filePath(example);
            QFile::copy(QString(TAVO_EXAMPLES) + "/" + example, copy);
            QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
            person.OpenNames << copy;
        }
        person.OpenNames << folder.filePath("data.txt") << folder.filePath("missing.rb");
        WriteDataFile(folder.filePath("data.txt"), person);

        auto form = std::make_unique<TMainForm>();
        form->AboutBox = new TAboutBox(form.get());
        form->DialogNewBaseProperties = new TDialogNewBaseProperties(form.get());
        InstallTestWindow(InstalledEditorSeams());
        InstallVariableDialog(*new TDlgAddVar(form.get()));
        form->CommandLine = {"Tavodesk"};
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        for (int i = person.Below(2); i >= 0; --i)
            form->OpenFileByName(person.OpenNames[person.Below(std::size(kExamples))]);

        person.EventsLeft = kEventsPerSequence;
        while (person.EventsLeft > 0 && form->isVisible()) {
            // Mostly the main window; now and then another window of the program, such as a
            // surface or a floating toolbar.
            QWidget* window = form.get();
            if (person.Chance(10)) {
                QList<QWidget*> others;
                for (QWidget* top : QApplication::topLevelWidgets()) {
                    if (top->isVisible() && top != form.get() && !top->isModal())
                        others << top;
                }
                if (!others.isEmpty())
                    window = others[person.Below(int(others.size()))];
            }
            person.Act(*window);
        }
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();

        if (form->isVisible()) {
            int saved = 0;
            for (QMdiSubWindow* child : form->MdiArea->subWindowList()) {
                if (auto* editor = qobject_cast<TFormInfUnit*>(child->widget())) {
                    const QString name = folder.filePath(QString("check%1.rb").arg(saved++));
                    const QString broken = BrokenInvariant(*editor, person, name);
                    if (!broken.isEmpty())
                        failures << editor->windowTitle() + ": " + broken;
                    const QString data = folder.filePath(QString("check%1.txt").arg(saved));
                    const QString brokenData = BrokenDataPage(*editor, person, data);
                    if (!brokenData.isEmpty())
                        failures << editor->windowTitle() + ": " + brokenData;
                }
            }
        }
        form.reset();
        InstalledEditorSeams() = {};
        disconnect(application, &TApplication::handlerFailed, this, nullptr);
        QVERIFY2(failures.isEmpty(),
                 qPrintable(QString("seed %1: %2").arg(seed).arg(failures.join("\n"))));
    }
};

TAVO_TEST_MAIN(UserSequencesTest)
#include "UserSequencesTest.moc"
