#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

#include <stdexcept>

// The user manual as its Markdown files say it, ready for typesetting: the chapters in the order
// of the chapter list, their headings numbered, their pictures named by full path.
//
// The chapter list is a text file: a line "title: ..." gives the manual's title, every other
// line that is not empty and does not start with '#' names one chapter file, relative to the
// list. A chapter's first heading of level 1 is its title; its level-2 headings are its sections.

class ManualError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct ManualHeading {
    int level = 1;
    // "3" for a chapter, "3.2" for a section; empty for deeper headings, which are not numbered.
    QString number;
    QString title;
};

struct ManualChapter {
    QString file;
    // The Markdown with numbered headings and absolute picture paths.
    QString markdown;
    // The chapter's headings of level 1 and 2, in order.
    QVector<ManualHeading> headings;
    // Full paths of the pictures, in order of appearance.
    QStringList pictures;

    QString Title() const { return headings.isEmpty() ? QString() : headings.front().title; }
};

struct ManualSource {
    QString title;
    QVector<ManualChapter> chapters;
};

// Numbers the headings of one chapter (fenced code is left alone) and resolves its picture paths
// against folder. Throws ManualError when its first heading is missing or not of level 1, when
// it has a second heading of level 1, or when a picture it names is not there.
ManualChapter NumberChapter(const QString& markdown, int chapterNumber, const QString& folder);

// Reads the chapter list and every chapter it names. Throws ManualError naming the file that is
// missing or wrong.
ManualSource ReadManualSource(const QString& listFile);
