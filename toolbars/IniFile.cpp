#include "toolbars/IniFile.h"

#include <QFile>
#include <QSaveFile>

#include <utility>

namespace {

const QByteArray kByteOrderMark("\xEF\xBB\xBF");

bool IsComment(const QByteArray& trimmed) {
    return trimmed.startsWith(';') || trimmed.startsWith('#');
}

bool IsSectionHeader(const QByteArray& trimmed) {
    return trimmed.startsWith('[') && trimmed.lastIndexOf(']') > 0;
}

// The name of a header line: from "[" to the last "]", so that names holding "]" read back.
QByteArray SectionNameOf(const QByteArray& trimmed) {
    return trimmed.mid(1, trimmed.lastIndexOf(']') - 1).trimmed();
}

bool IsKeyLine(const QByteArray& trimmed) {
    return !trimmed.isEmpty() && !IsComment(trimmed) && !IsSectionHeader(trimmed) &&
           trimmed.indexOf('=') > 0;
}

QByteArray KeyOf(const QByteArray& trimmed) {
    return trimmed.left(trimmed.indexOf('=')).trimmed();
}

bool SameName(const QByteArray& a, const QByteArray& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool HasLineBreak(const QByteArray& text) {
    return text.contains('\n') || text.contains('\r');
}

}  // namespace

IniFile::IniFile(QString Filename) : filename_(std::move(Filename)) {
    QFile file(filename_);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        throw EIniFileError("Unable to read " + filename_.toStdString());
    QByteArray text = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EIniFileError("Unable to read " + filename_.toStdString());
    if (text.startsWith(kByteOrderMark)) {
        byteOrderMark_ = kByteOrderMark;
        text.remove(0, kByteOrderMark.size());
    }
    if (text.contains("\r\n"))
        lineBreak_ = "\r\n";
    if (text.endsWith('\n'))
        text.chop(1);
    if (text.isEmpty())
        return;
    for (QByteArray& line : text.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        lines_.push_back(std::move(line));
    }
}

int IniFile::FindSection(const QByteArray& Section) const {
    const QByteArray wanted = Section.trimmed();
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const QByteArray trimmed = lines_[i].trimmed();
        if (IsSectionHeader(trimmed) && SameName(SectionNameOf(trimmed), wanted))
            return static_cast<int>(i);
    }
    return -1;
}

int IniFile::FindKey(int SectionLine, const QByteArray& Key) const {
    const QByteArray wanted = Key.trimmed();
    for (std::size_t i = static_cast<std::size_t>(SectionLine) + 1; i < lines_.size(); ++i) {
        const QByteArray trimmed = lines_[i].trimmed();
        if (IsSectionHeader(trimmed))
            break;
        if (IsKeyLine(trimmed) && SameName(KeyOf(trimmed), wanted))
            return static_cast<int>(i);
    }
    return -1;
}

QString IniFile::ReadString(const QString& Section, const QString& Key,
                            const QString& Default) const {
    const int section = FindSection(Section.toUtf8());
    if (section < 0)
        return Default;
    const int key = FindKey(section, Key.toUtf8());
    if (key < 0)
        return Default;
    const QByteArray& line = lines_[static_cast<std::size_t>(key)];
    return QString::fromUtf8(line.mid(line.indexOf('=') + 1).trimmed());
}

int IniFile::ReadInteger(const QString& Section, const QString& Key, int Default) const {
    bool ok = false;
    const int value = ReadString(Section, Key, QString()).toInt(&ok);
    return ok ? value : Default;
}

void IniFile::WriteString(const QString& Section, const QString& Key, const QString& Value) {
    const QByteArray section = Section.toUtf8();
    const QByteArray key = Key.toUtf8();
    const QByteArray value = Value.toUtf8();
    const QByteArray trimmedKey = key.trimmed();
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) || trimmedKey.isEmpty() ||
        trimmedKey.contains('=') || IsComment(trimmedKey) || trimmedKey.startsWith('['))
        throw EIniFileError("Cannot store [" + Section.toStdString() + "] " + Key.toStdString() +
                            " in " + filename_.toStdString());
    const QByteArray line = key + '=' + value;
    modified_ = true;
    const int sectionLine = FindSection(section);
    if (sectionLine < 0) {
        if (!lines_.empty() && !lines_.back().trimmed().isEmpty())
            lines_.emplace_back();
        lines_.push_back('[' + section + ']');
        lines_.push_back(line);
        return;
    }
    if (const int keyLine = FindKey(sectionLine, key); keyLine >= 0) {
        lines_[static_cast<std::size_t>(keyLine)] = line;
        return;
    }
    std::size_t insertAt = static_cast<std::size_t>(sectionLine) + 1;
    for (std::size_t i = insertAt; i < lines_.size(); ++i) {
        const QByteArray trimmed = lines_[i].trimmed();
        if (IsSectionHeader(trimmed))
            break;
        if (IsKeyLine(trimmed))
            insertAt = i + 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
}

void IniFile::WriteInteger(const QString& Section, const QString& Key, int Value) {
    WriteString(Section, Key, QString::number(Value));
}

void IniFile::UpdateFile() {
    if (!modified_)
        return;
    QByteArray text = byteOrderMark_;
    for (const QByteArray& line : lines_)
        text += line + lineBreak_;
    // QSaveFile gives the new file the old one's permissions before the rename.
    QSaveFile file(filename_);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        throw EIniFileError("Unable to write to " + filename_.toStdString());
    modified_ = false;
}
