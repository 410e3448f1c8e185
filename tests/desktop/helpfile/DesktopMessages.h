#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The texts that the desktop program can show a person, read from its sources, so that a test
// can hold them against the manual's chapter of messages.
//
// A text is taken from:
// - every call of the prompt layer (MessageDlg, ShowMessage, InputBox, InputQuery) and of the
//   program's own functions that hand one of their parameters on to it (wrappers): the string
//   literals among the call's arguments;
// - every throw of an error meant for a person (not std::invalid_argument, std::logic_error or
//   std::out_of_range, which only a fault of the program raises): the literals it throws;
// - the functions that compose messages for others to show (kMessageFunctions in the test).
// A prompt call whose text holds no literal and comes from no wrapper's parameter shows a text
// made elsewhere: the test names such calls and where their texts come from, and any call it
// does not know fails it, so that a new road for messages cannot pass unseen.
//
// Literals are cut at placeholders (%1) and line breaks, trimmed, and kept when they hold a
// letter: "File not found: " + name gives "File not found:".

struct PromptCall {
    QString file;  // relative to the source root
    int line = 0;
    QString function;  // the enclosing function as defined, "TDataPage::ShowError"
    QString callee;
    QStringList arguments;
};

struct MessageSources {
    QVector<PromptCall> calls;
    // Calls whose text argument holds no literal and passes on no parameter.
    QVector<PromptCall> indirect;
    QStringList wrappers;
};

// Every .cpp file of the program under root/desktop (not the help-file builder's), its comments
// blanked, with its path relative to root.
struct SourceFile {
    QString path;
    QString code;
};
QVector<SourceFile> ReadDesktopSources(const QString& root);

// The code with comments replaced by blanks (line breaks kept), literals left as they are.
QString BlankComments(const QString& code);
// The string literals of a piece of code, decoded; literals written one after another are one.
QStringList Literals(const QString& code);
// The parts of a literal that a manual must hold (see above).
QStringList Fragments(const QString& literal);

MessageSources FindPromptCalls(const QVector<SourceFile>& sources);
// The literals thrown for a person to read.
QStringList ThrownTexts(const QVector<SourceFile>& sources);
// The body of the function named name (qualified or not) defined in the file; empty when none.
QString FunctionBody(const SourceFile& source, const QString& name);
