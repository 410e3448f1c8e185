// A plug-in that plays the person at an installed Tavodesk, which the test cannot reach from
// outside: loaded as a generic Qt plug-in (QT_QPA_GENERIC_PLUGINS=tavohelpdriver), it chooses
// Help > Contents once the main window runs, writes what became of it to the file named by
// TAVO_HELP_DRIVER_REPORT and ends the program. "opened URL" when the program asked the desktop
// to open a document, "message TEXT" for each box the program showed instead.
#include <QAction>
#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QGenericPlugin>
#include <QMessageBox>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

class HelpDriver : public QObject {
    Q_OBJECT

  public:
    HelpDriver() {
        // Documents go to this driver instead of a viewer.
        QDesktopServices::setUrlHandler("file", this, "open");
        QTimer::singleShot(0, this, &HelpDriver::ChooseHelpContents);
    }
    ~HelpDriver() override { QDesktopServices::unsetUrlHandler("file"); }

  public slots:
    void open(const QUrl& url) { report_ << "opened " + url.toString(); }

  private:
    void ChooseHelpContents() {
        QAction* contents = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (!contents)
                contents = window->findChild<QAction*>("HelpContentsItem");
        }
        if (!contents) {
            report_ << "no Help > Contents";
        } else {
            // A box blocks in a loop of its own, where this answers it.
            QTimer::singleShot(0, this, &HelpDriver::AnswerBox);
            contents->trigger();
        }
        QFile file(qEnvironmentVariable("TAVO_HELP_DRIVER_REPORT"));
        if (file.open(QIODevice::WriteOnly))
            file.write(report_.join('\n').toUtf8() + '\n');
        QCoreApplication::exit(0);
    }

    void AnswerBox() {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            report_ << "message " + box->text();
            box->done(0);
        }
    }

    QStringList report_;
};

class HelpDriverPlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "HelpDriver.json")

  public:
    QObject* create(const QString&, const QString&) override { return new HelpDriver; }
};

}  // namespace

#include "HelpDriver.moc"
