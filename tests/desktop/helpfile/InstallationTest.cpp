// cmake --install into a scratch prefix, then the installed programs as a person starts them:
// Tavodesk finds its help file in the documentation folder, regsvr registers the installed
// server, and the installed Octave extension reaches that server.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class InstallationTest : public QObject {
    Q_OBJECT

    QTemporaryDir prefix_;
    QTemporaryDir home_;

    QString Installed(const QString& path) const { return prefix_.filePath(path); }

    // A process environment of its own: no display, and registry and settings in scratch
    // folders, never the person's.
    QProcessEnvironment Environment() const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("TAVO_REGISTRY", home_.filePath("registry"));
        environment.insert("XDG_CONFIG_HOME", home_.filePath("config"));
        environment.insert("XDG_RUNTIME_DIR", home_.path());
        environment.insert("HOME", home_.path());
        return environment;
    }

    // The exit code, standard output and error of a finished run; -1 when it did not finish.
    struct Run {
        int exitCode = -1;
        QString output;
    };
    Run Start(const QString& program, const QStringList& arguments,
              const QProcessEnvironment& environment) const {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(home_.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(program, arguments);
        process.closeWriteChannel();
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return {-1, QString::fromUtf8(process.readAll())};
        return {process.exitCode(), QString::fromUtf8(process.readAll())};
    }

  private slots:
    void initTestCase() {
        QVERIFY(prefix_.isValid() && home_.isValid());
        QFile::setPermissions(home_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const Run install = Start(
            TAVO_CMAKE, {"--install", TAVO_BUILD_DIR, "--prefix", prefix_.path()}, Environment());
        QVERIFY2(install.exitCode == 0, qPrintable(install.output));
    }

    void everyPartLandsInItsPlace_data() {
        QTest::addColumn<QString>("path");
        for (const char* path :
             {"bin/Tavodesk", TAVO_INSTALL_DOCDIR "/TAVOHelp.pdf", TAVO_INSTALL_LIBDIR "/Kelrun.so",
              TAVO_INSTALL_LIBDIR "/regsvr", TAVO_INSTALL_EXAMPLESDIR "/controller.rb",
              TAVO_INSTALL_EXAMPLESDIR "/tavoquery_demo.m", "share/applications/tavo.desktop",
              "share/icons/hicolor/64x64/apps/tavo.png"})
            QTest::newRow(path) << QString(path);
    }
    void everyPartLandsInItsPlace() {
        QFETCH(QString, path);
        QVERIFY2(QFileInfo(Installed(path)).isFile(), qPrintable(Installed(path)));
    }

    void theDesktopEntryStartsTheInstalledProgram() {
        QFile entry(Installed("share/applications/tavo.desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QString text = QString::fromUtf8(entry.readAll());
        QVERIFY2(text.contains("\nExec=" + Installed("bin/Tavodesk") + " %F\n"), qPrintable(text));
        QVERIFY(text.contains("\nIcon=tavo\n"));
    }

    // Help > Contents of the installed program named the folder of the program, where the help
    // file is not.
    void helpContentsOfTheInstalledProgramOpensItsHelpFile() {
        QProcessEnvironment environment = Environment();
        environment.insert("QT_PLUGIN_PATH", TAVO_DRIVER_PLUGINS);
        environment.insert("QT_QPA_GENERIC_PLUGINS", "tavohelpdriver");
        const QString report = home_.filePath("help-report.txt");
        environment.insert("TAVO_HELP_DRIVER_REPORT", report);
        const Run run = Start(Installed("bin/Tavodesk"), {}, environment);
        QVERIFY2(run.exitCode == 0, qPrintable(run.output));
        QFile file(report);
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(run.output));
        const QString help =
            QFileInfo(Installed(TAVO_INSTALL_DOCDIR "/TAVOHelp.pdf")).canonicalFilePath();
        QCOMPARE(QString::fromUtf8(file.readAll()).trimmed(),
                 "opened " + QUrl::fromLocalFile(help).toString());
    }

    void theInstalledServerRegistersAndOctaveReachesIt() {
        const Run registration =
            Start(Installed(TAVO_INSTALL_LIBDIR "/regsvr"),
                  {"-s", Installed(TAVO_INSTALL_LIBDIR "/Kelrun.so")}, Environment());
        QVERIFY2(registration.exitCode == 0, qPrintable(registration.output));
#ifdef TAVO_OCTAVE_CLI
        const QString script =
            QString("addpath('%1'); Tavoquery(1, '%2'); printf('%.2f\\n', Tavoquery(1, [6 -1]));")
                .arg(Installed(TAVO_INSTALL_LIBDIR),
                     Installed(TAVO_INSTALL_EXAMPLESDIR "/heater.rb"));
        const Run octave =
            Start(TAVO_OCTAVE_CLI, {"--norc", "-q", "-H", "-W", "--eval", script}, Environment());
        QVERIFY2(octave.exitCode == 0, qPrintable(octave.output));
        QCOMPARE(octave.output.trimmed(), QString("86.92"));
#endif
    }
};

QTEST_GUILESS_MAIN(InstallationTest)
#include "InstallationTest.moc"
