#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include "desktop/helpfile/ManualSource.h"

class ManualSourceTest : public QObject {
    Q_OBJECT

    QTemporaryDir folder_;

    void Write(const QString& name, const QByteArray& text) {
        QFile file(folder_.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

  private slots:
    void headingsAreNumberedOutsideCode() {
        const ManualChapter chapter = NumberChapter(
            "# Rules\n\ntext\n\n## Keys\n\n```\n# not a heading\n## nor this\n```\n\n"
            "### Deeper\n\n## Checks\n",
            3, folder_.path());
        QCOMPARE(chapter.Title(), QString("Rules"));
        QCOMPARE(chapter.headings.size(), 3);
        QCOMPARE(chapter.headings[1].number, QString("3.1"));
        QCOMPARE(chapter.headings[2].number, QString("3.2"));
        QCOMPARE(chapter.headings[2].title, QString("Checks"));
        QVERIFY(chapter.markdown.startsWith("# 3 Rules\n"));
        QVERIFY(chapter.markdown.contains("\n# not a heading\n## nor this\n"));
        QVERIFY(chapter.markdown.contains("\n### Deeper\n"));
    }

    void picturesAreNamedByFullPath() {
        QDir(folder_.path()).mkdir("pictures");
        Write("pictures/a.png", "png");
        const ManualChapter chapter = NumberChapter(
            "# One\n\n![The editor](pictures/a.png \"title\") and text\n", 1, folder_.path());
        const QString full = QDir(folder_.path()).filePath("pictures/a.png");
        QCOMPARE(chapter.pictures, QStringList({full}));
        QVERIFY(chapter.markdown.contains("![The editor](" + full + " \"title\") and text"));
    }

    void badChaptersAreRefusedWithTheirReason_data() {
        QTest::addColumn<QString>("markdown");
        QTest::addColumn<QString>("reason");
        QTest::newRow("no heading") << "text only\n"
                                    << "the chapter has no heading";
        QTest::newRow("section first") << "## Keys\n"
                                       << "does not start with a heading of level 1";
        QTest::newRow("two chapters") << "# One\n\n# Two\n"
                                      << "a second heading of level 1";
        QTest::newRow("missing picture") << "# One\n\n![x](none.png)\n"
                                         << "picture not found";
    }
    void badChaptersAreRefusedWithTheirReason() {
        QFETCH(QString, markdown);
        QFETCH(QString, reason);
        try {
            NumberChapter(markdown, 1, folder_.path());
            QFAIL("accepted");
        } catch (const ManualError& error) {
            QVERIFY2(QString(error.what()).contains(reason), error.what());
        }
    }

    void theListGivesTitleAndChaptersInOrder() {
        Write("one.md", "# First\n");
        QDir(folder_.path()).mkdir("sub");
        Write("sub/two.md", "# Second\n\n## Part\n");
        Write("chapters.txt", "# comment\ntitle: The Manual\n\none.md\nsub/two.md\n");
        const ManualSource manual = ReadManualSource(folder_.filePath("chapters.txt"));
        QCOMPARE(manual.title, QString("The Manual"));
        QCOMPARE(manual.chapters.size(), 2);
        QCOMPARE(manual.chapters[1].Title(), QString("Second"));
        QCOMPARE(manual.chapters[1].headings[1].number, QString("2.1"));
    }

    void aMissingChapterIsNamed() {
        Write("chapters.txt", "gone.md\n");
        try {
            ReadManualSource(folder_.filePath("chapters.txt"));
            QFAIL("accepted");
        } catch (const ManualError& error) {
            QVERIFY2(QString(error.what()).contains("gone.md"), error.what());
        }
    }
};

QTEST_GUILESS_MAIN(ManualSourceTest)
#include "ManualSourceTest.moc"
