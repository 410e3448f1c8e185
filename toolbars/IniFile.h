#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>
#include <vector>

// A file that cannot be read or written, or a name or value that cannot be stored in one.
class EIniFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// An ini file held as its lines, so that writing a value changes that line alone: other
// sections, comments, blank lines, key order and line breaks stay as they were. Sections and
// keys are found without regard to ASCII case or surrounding blanks; the first of duplicates
// counts. A value is the text after the first "=", without surrounding blanks.
class IniFile {
  public:
    // A file that does not exist reads as empty; one that cannot be read throws EIniFileError.
    explicit IniFile(QString Filename);

    QString ReadString(const QString& Section, const QString& Key, const QString& Default) const;
    // Default also when the value is not a decimal integer.
    int ReadInteger(const QString& Section, const QString& Key, int Default) const;
    // A new key goes after the last key of its section, a new section at the end of the file.
    // Throws EIniFileError for a line break in any part, and for a key that is empty, holds "="
    // or would read as a comment or a section.
    void WriteString(const QString& Section, const QString& Key, const QString& Value);
    void WriteInteger(const QString& Section, const QString& Key, int Value);

    // Writes the file, when anything was written, under a temporary name beside it and renames
    // that over it, so that a failure leaves the old file whole; the file keeps its permissions.
    void UpdateFile();

  private:
    // Index of the section's header line, or -1; and of the key's line in it, or -1.
    int FindSection(const QByteArray& Section) const;
    int FindKey(int SectionLine, const QByteArray& Key) const;

    QString filename_;
    QByteArray byteOrderMark_;
    QByteArray lineBreak_ = "\n";
    std::vector<QByteArray> lines_;
    bool modified_ = false;
};
