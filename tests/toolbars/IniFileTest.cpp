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
        const QString path = Write("shared.ini",
                                   "; kept by hand\n"
                                   "[Other]\n"
                                   "b=2\n"
                                   "a=1\n"
                                   "\n"
                                   "[Main Window Docked]\n"
                                   "DockRow=7\n"
                                   "; a note\n"
                                   "Extra = x\n"
                                   "\n"
                                   "[Last]\n"
                                   "z=0\n");
        IniFile ini(path);
        ini.WriteInteger("Main Window Docked", "DockRow", 1);
        ini.WriteInteger("Main Window Docked", "DockPos", 5);
        ini.WriteString("Main Window New", "DockedTo", "Dock Top");
        ini.UpdateFile();
        QCOMPARE(Read(path), QByteArray("; kept by hand\n"
                                        "[Other]\n"
                                        "b=2\n"
                                        "a=1\n"
                                        "\n"
                                        "[Main Window Docked]\n"
                                        "DockRow=1\n"
                                        "; a note\n"
                                        "Extra = x\n"
                                        "DockPos=5\n"
                                        "\n"
                                        "[Last]\n"
                                        "z=0\n"
                                        "\n"
                                        "[Main Window New]\n"
                                        "DockedTo=Dock Top\n"));
    }

    void readsAsPeopleWriteIt() {
        const IniFile ini(Write("read.ini",
                                "[ main window docked ]\n"
                                "  dockrow =  7 \n"
                                "Name=a=b\n"
                                "Bad=7x\n"
                                "[Main Window Docked]\n"
                                "DockRow=9\n"));
        QCOMPARE(ini.ReadInteger("Main Window Docked", "DockRow", 0), 7);
        QCOMPARE(ini.ReadString("Main Window Docked", "Name", ""), QString("a=b"));
        QCOMPARE(ini.ReadInteger("Main Window Docked", "Bad", -1), -1);
        QCOMPARE(ini.ReadString("Main Window Docked", "Missing", "d"), QString("d"));
        QCOMPARE(ini.ReadString("Nowhere", "DockRow", "d"), QString("d"));
        const IniFile missing(directory.filePath("none.ini"));
        QCOMPARE(missing.ReadInteger("A", "B", 4), 4);
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
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("line break in section") << "A\n[B]"
                                               << "k"
                                               << "v";
        QTest::newRow("line break in value") << "A"
                                             << "k"
                                             << "v\r\nx=1";
        QTest::newRow("equals in key") << "A"
                                       << "k=1"
                                       << "v";
        QTest::newRow("comment key") << "A"
                                     << "; k"
                                     << "v";
        QTest::newRow("empty key") << "A"
                                   << " "
                                   << "v";
    }

    void refusesWhatWouldBreakTheFile() {
        QFETCH(QString, section);
        QFETCH(QString, key);
        QFETCH(QString, value);
        const QString path = Write("refused.ini", "[A]\nk=0\n");
        IniFile ini(path);
        QVERIFY_THROWS_EXCEPTION(EIniFileError, ini.WriteString(section, key, value));
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
