#include "toolbars/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Values written into an ini file that other programs and people share.
class IniFileTest : public QObject {
    Q_OBJECT

    QTemporaryDir directory;

    QString Write(const QString& Name, const QByteArray& Text) {
        const QString path = directory.filePath(Name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(Text) != Text.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    static QByteArray Read(const QString& Path) {
        QFile file(Path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

  private slots:
    void writesOnlyWhatItIsGiven() {
        const QByteArray before =
            "; kept by hand\n[Other]\nb=2\na=1\n\n"
            "[Main Window Docked]\nDockRow=7\n; a note\nExtra = x\n\n"
            "[Last]\nz=0\n";
        const QString path = Write("shared.ini", before);
        IniFile ini(path);
        ini.WriteInteger("Main Window Docked", "DockRow", 1);
        ini.WriteInteger("Main Window Docked", "DockPos", 5);
        ini.WriteString("Main Window New", "DockedTo", "Dock Top");
        ini.UpdateFile();
        QByteArray after = before;
        after.replace("DockRow=7\n", "DockRow=1\n")
            .replace("Extra = x\n", "Extra = x\nDockPos=5\n");
        QCOMPARE(Read(path), after + "\n[Main Window New]\nDockedTo=Dock Top\n");
    }

    void readsAsPeopleWriteIt() {
        const IniFile ini(Write("read.ini",
                                "[ main window docked ]\n  dockrow =  7 \nBad=7x\n"
                                "[Main Window Docked]\nDockRow=9\n"));
        QCOMPARE(ini.ReadInteger("Main Window Docked", "DockRow", 0), 7);
        QCOMPARE(ini.ReadInteger("Main Window Docked", "Bad", -1), -1);
        QCOMPARE(IniFile(directory.filePath("none.ini")).ReadString("A", "B", "d"), QString("d"));
    }

    void keepsLineBreaksMarkAndPermissions() {
        const QString path = Write("crlf.ini", "\xEF\xBB\xBF[A]\r\nx=1\r\n");
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path, permissions));
        IniFile ini(path);
        ini.WriteInteger("A", "y", 2);
        ini.UpdateFile();
        QCOMPARE(Read(path), QByteArray("\xEF\xBB\xBF[A]\r\nx=1\r\ny=2\r\n"));
        QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), permissions);
    }

    void refusesWhatWouldBreakTheFile_data() {
        // Section, key, value.
        QTest::addColumn<QStringList>("entry");
        QTest::newRow("line break in section") << QStringList{"A\n[B]", "k", "v"};
        QTest::newRow("line break in value") << QStringList{"A", "k", "v\r\nx=1"};
        QTest::newRow("equals in key") << QStringList{"A", "k=1", "v"};
    }

    void refusesWhatWouldBreakTheFile() {
        QFETCH(QStringList, entry);
        const QString path = Write("refused.ini", "[A]\nk=0\n");
        IniFile ini(path);
        QVERIFY_THROWS_EXCEPTION(EIniFileError, ini.WriteString(entry[0], entry[1], entry[2]));
        ini.UpdateFile();
        QCOMPARE(Read(path), QByteArray("[A]\nk=0\n"));
    }

    void reportsAFileItCannotWrite() {
        IniFile ini(directory.filePath("no/such/folder/places.ini"));
        ini.WriteInteger("A", "k", 1);
        QVERIFY_THROWS_EXCEPTION(EIniFileError, ini.UpdateFile());
    }
};

QTEST_APPLESS_MAIN(IniFileTest)
#include "IniFileTest.moc"
