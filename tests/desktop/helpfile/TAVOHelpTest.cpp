// The help file as a person reads it: its text, taken from the PDF by pdftotext, holds every
// chapter and section in its contents and in its pages, and its chapter of messages holds every
// text that the desktop program can show.
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

#include "desktop/helpfile/ManualSource.h"
#include "tests/desktop/helpfile/DesktopMessages.h"

namespace {

// Commands that no menu shows: their messages need no place in the manual.
const QStringList kHiddenCommands = {"TDataPage::mnLearn2Click", "TDataPage::mnFuzzyTrClick",
                                     "TDataPage::mnVTransformClick", "TDataPage::MergeRules"};

// Functions that compose messages for the prompt calls below; all their literals are messages.
struct MessageFunction {
    const char* file;
    const char* function;
};
const MessageFunction kMessageFunctions[] = {
    {"desktop/data/DataLearning.cpp", "ApproxLearningRefusal"},
    {"desktop/mainwindow/TMainForm.cpp", "ReadFailureText"},
    {"desktop/rules/RuleCellFaults.cpp", "BadExpressionMessage"},
    {"desktop/rules/RuleCellFaults.cpp", "FirstCellThatDoesNotBuild"},
    {"desktop/rules/RulesEditor.cpp", "FirstIncompleteCell"},
    {"desktop/userterms/UserTermCells.cpp", "CheckParameter"},
    {"desktop/userterms/UserTermCells.cpp", "NotANumber"},
    {"desktop/variables/TDlgAddVar.cpp", "OKBtnClick"},
    {"desktop/variables/VariableValidation.cpp", "CheckBound"},
    {"desktop/variables/VariableValidation.cpp", "NotANumber"},
    {"desktop/variables/VariableValidation.cpp", "ValidateVariableFields"},
};

// Prompt calls whose text is made elsewhere, and where. "thrown" texts are those of errors: the
// desktop's own throws, which the test collects, and the core's, which the chapter on the
// rulebase file lists; a function named here composes the text (kMessageFunctions); "none" is a
// call that no person can reach, with the reason beside it.
struct IndirectText {
    const char* function;
    const char* argument;
    const char* source;
};
const IndirectText kIndirectTexts[] = {
    {"TDataPage::btnCalculateValuesClick", "QString::fromUtf8(error.what())", "thrown"},
    {"TDataPage::ApproxLearningClick", "Q(refusal)", "ApproxLearningRefusal"},
    {"TDataPage::mnFTransformClick", "QString::fromUtf8(error.what())", "thrown"},
    // The grid of output variables cannot be edited, so its bounds always read.
    {"TFormInfUnit::StringGridOutputVarExit", "message", "none"},
    {"TFormInfUnit::FormClose", "QString::fromUtf8(error.what())", "thrown"},
    {"ShowReadWarnings", "lines.join('\\n')", "thrown"},
    {"TMainForm::OpenFileByName", "ReadFailureText(error, fullName)", "ReadFailureText"},
    {"TMainForm::FormCreate", "error", "thrown"},
    {"TMainForm::OpenFileByName", "error", "thrown"},
    {"TMainForm::AddRecentFile", "error", "thrown"},
    {"TMainForm::ReopenItemClick", "error", "thrown"},
    {"TMainForm::FormClose", "error", "thrown"},
    {"TRulesPage::MergeInconsistentRules", "Q(error.Message())", "thrown"},
    {"TFormSurface::Recompute", "*failure", "thrown"},
    {"TMDIChild::edStepsExit", "QString::fromUtf8(error.what())", "thrown"},
    {"TApplication::notify", "QString::fromUtf8(error.what())", "thrown"},
    {"TUserTerms::CheckCell", "*problem", "CheckParameter"},
    {"TUserTerms::btnAddPilaClick", "error.what()", "thrown"},
    {"TUserTerms::ChangeShape", "error.what()", "thrown"},
    {"TUserTerms::AllRowsBuild", "NotANumber(model_->Row(index).Param(*col))", "NotANumber"},
    {"TDlgAddVar::OKBtnClick", "question", "OKBtnClick"},
    {"TDlgAddVar::edDiscretExit", "error.what()", "thrown"},
    {"TDlgAddVar::Validate", "*error", "ValidateVariableFields"},
    {"TDlgAddVar::FieldValue", "*error", "CheckBound"},
    {"TDlgAddVar::FieldValue", "error.what()", "thrown"},
};

QString Simplified(const QString& text) {
    // Ligatures of the PDF's fonts read back as single characters.
    return text.normalized(QString::NormalizationForm_KC).simplified();
}

// The PDF's text, every page without its last line, the page number.
QString PdfText(const QString& pdf) {
    QProcess process;
    process.start("pdftotext", {"-enc", "UTF-8", pdf, "-"});
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(process.readAllStandardOutput()).split(u'\f');
    for (QString& page : pages) {
        QStringList lines = page.trimmed().split(u'\n');
        if (!lines.isEmpty() && QRegularExpression("^\\d+$").match(lines.last()).hasMatch())
            lines.removeLast();
        page = lines.join(u'\n');
    }
    return Simplified(pages.join(u'\n'));
}

QString Heading(const ManualHeading& heading) {
    return Simplified(heading.number + ' ' + heading.title);
}

}  // namespace

class TAVOHelpTest : public QObject {
    Q_OBJECT

    ManualSource manual_;
    QString text_;
    QVector<SourceFile> sources_;

    QString MessagesChapter() const {
        for (qsizetype i = 0; i < manual_.chapters.size(); ++i) {
            if (!manual_.chapters[i].file.endsWith("messages.md"))
                continue;
            const QString title = Heading(manual_.chapters[i].headings.front());
            // The second time the title stands: the first is the contents.
            const qsizetype start = text_.indexOf(title, text_.indexOf(title) + 1);
            const qsizetype end =
                i + 1 < manual_.chapters.size()
                    ? text_.indexOf(Heading(manual_.chapters[i + 1].headings.front()), start)
                    : text_.size();
            return start < 0 ? QString() : text_.mid(start, end - start);
        }
        return {};
    }

  private slots:
    void initTestCase() {
        manual_ = ReadManualSource(TAVO_MANUAL_LIST);
        text_ = PdfText(TAVO_HELP_FILE);
        QVERIFY2(!text_.isEmpty(),
                 "pdftotext (poppler-utils, which scripts/setup installs) "
                 "could not read " TAVO_HELP_FILE);
        sources_ = ReadDesktopSources(TAVO_SOURCE_DIR);
        QVERIFY(!sources_.isEmpty());
    }

    // Each heading stands twice, in the order of the chapters: in the contents, then in the text.
    void everyChapterAndSectionStandsInContentsAndText() {
        qsizetype at = text_.indexOf("Contents");
        QVERIFY(at >= 0);
        for (const char* part : {"contents", "text"}) {
            for (const ManualChapter& chapter : manual_.chapters) {
                for (const ManualHeading& heading : chapter.headings) {
                    const qsizetype found = text_.indexOf(Heading(heading), at);
                    QVERIFY2(found >= 0,
                             qPrintable(QString("the %1 lack %2").arg(part, Heading(heading))));
                    at = found + 1;
                }
            }
        }
        QVERIFY(manual_.chapters.size() >= 10);
    }

    void everyMessageOfTheDesktopStandsInTheMessagesChapter() {
        const QString chapter = MessagesChapter();
        QVERIFY2(!chapter.isEmpty(), "no chapter of messages (messages.md)");
        QStringList texts;
        const MessageSources found = FindPromptCalls(sources_);
        for (const PromptCall& call : found.calls) {
            if (kHiddenCommands.contains(call.function))
                continue;
            for (const QString& argument : call.arguments)
                texts << Literals(argument);
        }
        texts << ThrownTexts(sources_);
        for (const MessageFunction& function : kMessageFunctions) {
            const auto source =
                std::find_if(sources_.cbegin(), sources_.cend(),
                             [&](const SourceFile& s) { return s.path == function.file; });
            QVERIFY2(source != sources_.cend(), function.file);
            const QString body = FunctionBody(*source, function.function);
            QVERIFY2(!body.isEmpty(), function.function);
            texts << Literals(body);
        }
        QStringList missing;
        for (const QString& text : texts) {
            for (const QString& fragment : Fragments(text)) {
                if (!chapter.contains(Simplified(fragment)) && !missing.contains(fragment))
                    missing << fragment;
            }
        }
        QVERIFY2(missing.isEmpty(),
                 qPrintable("not in the chapter of messages:\n  " + missing.join("\n  ")));
    }

    // A message made elsewhere and shown by a prompt call that the test does not know would
    // pass unchecked: each such call is named above with the source of its texts.
    void everyIndirectMessageHasAKnownSource() {
        QStringList unknown;
        for (const PromptCall& call : FindPromptCalls(sources_).indirect) {
            if (kHiddenCommands.contains(call.function))
                continue;
            const QString argument = call.arguments.value(0).simplified();
            const bool known = std::any_of(std::begin(kIndirectTexts), std::end(kIndirectTexts),
                                           [&](const IndirectText& entry) {
                                               return call.function == entry.function &&
                                                      argument == QLatin1String(entry.argument);
                                           });
            if (!known)
                unknown << QString("%1:%2 %3(%4)")
                               .arg(call.file)
                               .arg(call.line)
                               .arg(call.callee, argument);
        }
        QVERIFY2(unknown.isEmpty(),
                 qPrintable("messages from an unknown source; name it in kIndirectTexts:\n  " +
                            unknown.join("\n  ")));
    }

    // The collector itself: what a person reads is cut where the program inserts its values.
    void fragmentsAreTheFixedPartsOfATextWithALetter() {
        const QString code = BlankComments(
            "f(\"File not found: \" + name); // \"not a message\"\n"
            "g(QString(\"The help file %1 was not found in %2.\").arg(a, b), '\"', \"x\" \"y\");");
        QCOMPARE(Literals(code),
                 QStringList({"File not found: ", "The help file %1 was not found in %2.", "xy"}));
        QCOMPARE(Fragments("The help file %1 was not found in %2."),
                 QStringList({"The help file", "was not found in", "."}).mid(0, 2));
        QCOMPARE(Fragments("'\n': "), QStringList());
    }

    void wrappersPassTheirCallersTextsOn() {
        const QVector<SourceFile> sources = {
            {"desktop/a.cpp", BlankComments("void Warn(const QString& text) {\n"
                                            "    MessageDlg(text, \"Warning\");\n}\n"
                                            "void F() {\n    Warn(\"Disk full\");\n"
                                            "    MessageDlg(made, \"Error\");\n}\n")}};
        const MessageSources found = FindPromptCalls(sources);
        QCOMPARE(found.wrappers, QStringList({"Warn"}));
        QStringList texts;
        for (const PromptCall& call : found.calls)
            texts << Literals(call.arguments.join(','));
        QVERIFY(texts.contains("Disk full"));
        QCOMPARE(found.indirect.size(), 1);
        QCOMPARE(found.indirect[0].function, QString("F"));
        QCOMPARE(found.indirect[0].arguments[0], QString("made"));
    }
};

QTEST_GUILESS_MAIN(TAVOHelpTest)
#include "TAVOHelpTest.moc"
