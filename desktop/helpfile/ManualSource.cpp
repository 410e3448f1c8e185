#include "desktop/helpfile/ManualSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace {

QString ReadText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw ManualError("cannot read " + path.toStdString() + ": " +
                          file.errorString().toStdString());
    return QString::fromUtf8(file.readAll());
}

bool IsFence(const QString& line) {
    const QString trimmed = line.trimmed();
    return trimmed.startsWith(QLatin1String("```")) || trimmed.startsWith(QLatin1String("~~~"));
}

// A picture is written ![alt](path) or ![alt](path "title"); only local paths are pictures here.
const QRegularExpression& PicturePattern() {
    static const QRegularExpression pattern(R"(!\[([^\]]*)\]\(([^)\s]+)((?:\s+"[^"]*")?)\))");
    return pattern;
}

QString ResolvePictures(const QString& line, const QDir& folder, QStringList& pictures) {
    QString result;
    qsizetype done = 0;
    QRegularExpressionMatchIterator it = PicturePattern().globalMatch(line);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        const QString path = QDir::cleanPath(folder.absoluteFilePath(match.captured(2)));
        if (!QFileInfo(path).isFile())
            throw ManualError("picture not found: " + path.toStdString());
        pictures << path;
        result += line.mid(done, match.capturedStart() - done);
        result += "![" + match.captured(1) + "](" + path + match.captured(3) + ")";
        done = match.capturedEnd();
    }
    return result + line.mid(done);
}

}  // namespace

ManualChapter NumberChapter(const QString& markdown, int chapterNumber, const QString& folder) {
    static const QRegularExpression heading(R"(^(#{1,6})\s+(.*?)\s*#*\s*$)");
    ManualChapter chapter;
    const QDir dir(folder);
    QStringList lines = markdown.split('\n');
    bool inFence = false;
    int section = 0;
    for (QString& line : lines) {
        if (IsFence(line)) {
            inFence = !inFence;
            continue;
        }
        if (inFence)
            continue;
        line = ResolvePictures(line, dir, chapter.pictures);
        const QRegularExpressionMatch match = heading.match(line);
        if (!match.hasMatch())
            continue;
        const int level = static_cast<int>(match.captured(1).size());
        const QString title = match.captured(2);
        if (chapter.headings.isEmpty() && level != 1)
            throw ManualError("the chapter does not start with a heading of level 1: " +
                              title.toStdString());
        if (level == 1 && !chapter.headings.isEmpty())
            throw ManualError("a second heading of level 1 in one chapter: " + title.toStdString());
        QString number;
        if (level == 1)
            number = QString::number(chapterNumber);
        else if (level == 2)
            number = QString("%1.%2").arg(chapterNumber).arg(++section);
        if (level <= 2) {
            chapter.headings.push_back({level, number, title});
            line = match.captured(1) + ' ' + number + ' ' + title;
        }
    }
    if (chapter.headings.isEmpty())
        throw ManualError("the chapter has no heading");
    chapter.markdown = lines.join('\n');
    return chapter;
}

ManualSource ReadManualSource(const QString& listFile) {
    ManualSource manual;
    const QDir folder = QFileInfo(listFile).absoluteDir();
    const QStringList lines = ReadText(listFile).split('\n');
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith(QLatin1String("title:"))) {
            manual.title = line.mid(6).trimmed();
            continue;
        }
        const QString path = QDir::cleanPath(folder.absoluteFilePath(line));
        try {
            ManualChapter chapter = NumberChapter(ReadText(path), int(manual.chapters.size()) + 1,
                                                  QFileInfo(path).absolutePath());
            chapter.file = path;
            manual.chapters.push_back(std::move(chapter));
        } catch (const ManualError& error) {
            throw ManualError(path.toStdString() + ": " + error.what());
        }
    }
    if (manual.chapters.isEmpty())
        throw ManualError(listFile.toStdString() + " names no chapter");
    return manual;
}
