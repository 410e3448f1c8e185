#include "tests/desktop/helpfile/DesktopMessages.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

namespace {

// The end (one past the closing quote) of the literal that starts with the quote at i, raw
// literals included; the size of the code when it does not end.
qsizetype LiteralEnd(const QString& code, qsizetype quote) {
    const bool raw = quote > 0 && code[quote - 1] == u'R';
    if (raw) {
        const qsizetype open = code.indexOf(u'(', quote);
        if (open < 0)
            return code.size();
        const QString close = ')' + code.mid(quote + 1, open - quote - 1) + '"';
        const qsizetype end = code.indexOf(close, open);
        return end < 0 ? code.size() : end + close.size();
    }
    const QChar delimiter = code[quote];
    for (qsizetype i = quote + 1; i < code.size(); ++i) {
        if (code[i] == u'\\')
            ++i;
        else if (code[i] == delimiter || code[i] == u'\n')
            return i + 1;
    }
    return code.size();
}

// A character literal, as opposed to a digit separator (1'000).
bool StartsCharLiteral(const QString& code, qsizetype i) {
    return code[i] == u'\'' && (i == 0 || !code[i - 1].isLetterOrNumber());
}

QString Decode(const QString& body) {
    QString text;
    for (qsizetype i = 0; i < body.size(); ++i) {
        if (body[i] != u'\\' || i + 1 == body.size()) {
            text += body[i];
            continue;
        }
        const QChar escaped = body[++i];
        if (escaped == u'n')
            text += u'\n';
        else if (escaped == u't')
            text += u'\t';
        else
            text += escaped;
    }
    return text;
}

// The position of the bracket that closes the one at open, skipping literals; -1 when none.
qsizetype MatchingClose(const QString& code, qsizetype open) {
    int depth = 0;
    for (qsizetype i = open; i < code.size(); ++i) {
        const QChar c = code[i];
        if (c == u'"' || StartsCharLiteral(code, i)) {
            i = LiteralEnd(code, i) - 1;
        } else if (c == u'(' || c == u'[' || c == u'{') {
            ++depth;
        } else if (c == u')' || c == u']' || c == u'}') {
            if (--depth == 0)
                return i;
        }
    }
    return -1;
}

// The top-level comma-separated parts between the bracket at open and its match.
QStringList SplitArguments(const QString& code, qsizetype open, qsizetype close) {
    QStringList parts;
    int depth = 0;
    qsizetype start = open + 1;
    for (qsizetype i = open + 1; i < close; ++i) {
        const QChar c = code[i];
        if (c == u'"' || StartsCharLiteral(code, i)) {
            i = LiteralEnd(code, i) - 1;
        } else if (c == u'(' || c == u'[' || c == u'{' || c == u'<') {
            ++depth;
        } else if (c == u')' || c == u']' || c == u'}' || (c == u'>' && depth > 0)) {
            --depth;
        } else if (c == u',' && depth == 0) {
            parts << code.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    const QString last = code.mid(start, close - start).trimmed();
    if (!last.isEmpty() || !parts.isEmpty())
        parts << last;
    return parts;
}

// Each match of pattern, which ends at an opening bracket, within the first `end` characters
// of the code, with the positions of that bracket and of the one that closes it; matches whose
// bracket is not closed are passed over.
template <typename Visit>
void ForEachBracketed(const QString& code, qsizetype end, const QRegularExpression& pattern,
                      Visit visit) {
    QRegularExpressionMatchIterator it = pattern.globalMatch(code.left(end));
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const qsizetype open = match.capturedEnd() - 1;
        const qsizetype close = MatchingClose(code, open);
        if (close >= 0)
            visit(match, open, close);
    }
}

struct Definition {
    QString name;
    QStringList parameters;
    qsizetype bodyOpen = -1;
};

// The function definition that starts on a line at column 0 at or before pos.
Definition EnclosingDefinition(const QString& code, qsizetype pos) {
    static const QRegularExpression head(
        R"(^(?!namespace\b|class\b|struct\b|enum\b|using\b|template\b|return\b)[A-Za-z_][^;(=]*?([A-Za-z_~][\w]*(?:::[A-Za-z_~][\w]*)*)\s*\()",
        QRegularExpression::MultilineOption);
    Definition found;
    ForEachBracketed(code, pos, head,
                     [&](const QRegularExpressionMatch& match, qsizetype open, qsizetype close) {
                         found.name = match.captured(1);
                         found.parameters.clear();
                         for (const QString& parameter : SplitArguments(code, open, close)) {
                             static const QRegularExpression name(R"(([A-Za-z_]\w*)\s*(?:=.*)?$)");
                             const QRegularExpressionMatch last = name.match(parameter);
                             found.parameters << (last.hasMatch() ? last.captured(1) : QString());
                         }
                         found.bodyOpen = code.indexOf(u'{', close);
                     });
    return found;
}

bool Mentions(const QString& expression, const QString& identifier) {
    if (identifier.isEmpty())
        return false;
    const QRegularExpression word("(?<![\\w.>])" + QRegularExpression::escape(identifier) +
                                  "(?!\\w)");
    return word.match(expression).hasMatch();
}

QString ShortName(const QString& qualified) {
    return qualified.section("::", -1);
}

}  // namespace

QVector<SourceFile> ReadDesktopSources(const QString& root) {
    QVector<SourceFile> sources;
    QDirIterator it(root + "/desktop", {"*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile file(it.next());
        // The help-file builder is a program of its own.
        if (file.fileName().contains("/desktop/helpfile/") || !file.open(QIODevice::ReadOnly))
            continue;
        sources.push_back({QDir(root).relativeFilePath(file.fileName()),
                           BlankComments(QString::fromUtf8(file.readAll()))});
    }
    std::sort(sources.begin(), sources.end(),
              [](const SourceFile& a, const SourceFile& b) { return a.path < b.path; });
    return sources;
}

QString BlankComments(const QString& code) {
    QString result = code;
    for (qsizetype i = 0; i < result.size(); ++i) {
        if (result[i] == u'"' || StartsCharLiteral(result, i)) {
            i = LiteralEnd(result, i) - 1;
        } else if (result.mid(i, 2) == QLatin1String("//")) {
            while (i < result.size() && result[i] != u'\n')
                result[i++] = u' ';
        } else if (result.mid(i, 2) == QLatin1String("/*")) {
            const qsizetype end = result.indexOf(QLatin1String("*/"), i + 2);
            const qsizetype stop = end < 0 ? result.size() : end + 2;
            for (; i < stop; ++i) {
                if (result[i] != u'\n')
                    result[i] = u' ';
            }
            --i;
        }
    }
    return result;
}

QStringList Literals(const QString& code) {
    QStringList literals;
    qsizetype previousEnd = -1;
    for (qsizetype i = 0; i < code.size(); ++i) {
        if (StartsCharLiteral(code, i)) {
            i = LiteralEnd(code, i) - 1;
            continue;
        }
        if (code[i] != u'"')
            continue;
        const qsizetype end = LiteralEnd(code, i);
        QString text;
        if (i > 0 && code[i - 1] == u'R') {
            const qsizetype open = code.indexOf(u'(', i);
            text = code.mid(open + 1, end - (open + 1) - (open - i - 1) - 2);
        } else {
            text = Decode(code.mid(i + 1, end - i - 2));
        }
        if (previousEnd >= 0 && !literals.isEmpty() &&
            code.mid(previousEnd, i - previousEnd).trimmed().isEmpty())
            literals.back() += text;
        else
            literals << text;
        previousEnd = end;
        i = end - 1;
    }
    return literals;
}

QStringList Fragments(const QString& literal) {
    static const QRegularExpression cut(R"(%\d+|\n)");
    QStringList fragments;
    for (const QString& part : literal.split(cut)) {
        const QString trimmed = part.trimmed();
        if (std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isLetter(); }))
            fragments << trimmed;
    }
    return fragments;
}

MessageSources FindPromptCalls(const QVector<SourceFile>& sources) {
    // The prompt layer's functions and the argument that carries the text.
    QMap<QString, int> callees{
        {"MessageDlg", 0}, {"ShowMessage", 0}, {"InputBox", 1}, {"InputQuery", 1}};
    MessageSources found;
    // A definition of a function with one of these names, not a call.
    static const QRegularExpression body(R"(^\s*(const\s*)?(override\s*)?\{)");
    for (bool grown = true; grown;) {
        grown = false;
        found.calls.clear();
        found.indirect.clear();
        for (const SourceFile& source : sources) {
            // The layer itself passes every text on.
            if (source.path.endsWith("toolkit/UserPrompts.cpp"))
                continue;
            const QString& code = source.code;
            for (auto callee = callees.cbegin(); callee != callees.cend(); ++callee) {
                const QRegularExpression call("(?<![\\w.>])" + callee.key() + "\\s*\\(");
                ForEachBracketed(
                    code, code.size(), call,
                    [&](const QRegularExpressionMatch& match, qsizetype open, qsizetype close) {
                        if (body.match(code.mid(close + 1, 40)).hasMatch())
                            return;
                        const Definition enclosing =
                            EnclosingDefinition(code, match.capturedStart());
                        PromptCall prompt{
                            source.path, int(code.left(match.capturedStart()).count(u'\n')) + 1,
                            enclosing.name, callee.key(), SplitArguments(code, open, close)};
                        const QString text = prompt.arguments.value(callee.value());
                        found.calls.push_back(prompt);
                        if (!Literals(text).isEmpty())
                            return;
                        const auto forwarded = std::find_if(
                            enclosing.parameters.cbegin(), enclosing.parameters.cend(),
                            [&](const QString& parameter) { return Mentions(text, parameter); });
                        if (forwarded == enclosing.parameters.cend()) {
                            found.indirect.push_back(prompt);
                            return;
                        }
                        const QString wrapper = ShortName(enclosing.name);
                        if (!callees.contains(wrapper)) {
                            callees.insert(wrapper, int(forwarded - enclosing.parameters.cbegin()));
                            found.wrappers << wrapper;
                            grown = true;
                        }
                    });
            }
        }
    }
    return found;
}

QStringList ThrownTexts(const QVector<SourceFile>& sources) {
    static const QRegularExpression throwing(R"((?<!\w)throw\s+([^;]*);)");
    static const QRegularExpression fault(
        R"(^std::(invalid_argument|logic_error|out_of_range|domain_error)\b)");
    QStringList texts;
    for (const SourceFile& source : sources) {
        QRegularExpressionMatchIterator it = throwing.globalMatch(source.code);
        while (it.hasNext()) {
            const QString thrown = it.next().captured(1).trimmed();
            if (!fault.match(thrown).hasMatch())
                texts << Literals(thrown);
        }
    }
    return texts;
}

QString FunctionBody(const SourceFile& source, const QString& name) {
    const QRegularExpression head("^[A-Za-z_][^;(=\\n]*?(?<![\\w:])(?:\\w+::)*" +
                                      QRegularExpression::escape(name) + "\\s*\\(",
                                  QRegularExpression::MultilineOption);
    const QString& code = source.code;
    QString body;
    ForEachBracketed(code, code.size(), head,
                     [&](const QRegularExpressionMatch&, qsizetype, qsizetype close) {
                         const qsizetype open = code.indexOf(u'{', close);
                         const qsizetype semicolon = code.indexOf(u';', close);
                         // A declaration ends before any brace.
                         if (!body.isEmpty() || open < 0 || (semicolon >= 0 && semicolon < open))
                             return;
                         const qsizetype end = MatchingClose(code, open);
                         if (end > open)
                             body = code.mid(open, end - open + 1);
                     });
    return body;
}
