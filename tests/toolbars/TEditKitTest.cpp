#include "ToolbarFixtureForm.h"

#include "toolbars/TEditKit.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"
#include "toolbars/Tbkctls.h"

#include <QTest>

#include <memory>

// The flat edit: its height follows its font, its frame lights up while focused, and it counts
// as a "Kit" control.
class TEditKitTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SilenceOffscreenPlatformNotices(); }

    void heightFollowsTheFont() {
        TEditKit edit;
        QCOMPARE(edit.height(), edit.fontMetrics().height() + 6);
        QFont larger = edit.font();
        larger.setPixelSize(24);
        edit.setFont(larger);
        QCOMPARE(edit.height(), QFontMetrics(larger).height() + 6);
    }

    void lightsUpWhileFocusedAndGreysWhenDisabled() {
        ToolbarFixtureForm form;
        TToolbarKit* bar = form.AddToolbar("Bar", form.DockTop, 0);
        auto* edit = new TEditKit(bar);
        auto* other = new TEditKit(bar);
        form.ShowAndActivate();
        other->setFocus();
        QTRY_VERIFY(!edit->Hot());
        edit->setFocus();
        QTRY_VERIFY(edit->Hot());
        const QImage hot = edit->grab().toImage();
        QCOMPARE(hot.pixel(0, 0), edit->palette().color(QPalette::Dark).rgb());
        other->setFocus();
        QTRY_VERIFY(!edit->Hot());
        QCOMPARE(edit->grab().toImage().pixel(0, 0), edit->palette().color(QPalette::Button).rgb());
        edit->setEnabled(false);
        QCOMPARE(edit->palette().color(QPalette::Base), edit->palette().color(QPalette::Button));
        edit->setEnabled(true);
        QCOMPARE(edit->palette().color(QPalette::Base), QPalette().color(QPalette::Base));
    }

    void registersItsClassAsKitControl() {
        TEditKit edit;
        TToolbarButtonKit button;
        QVERIFY(ControlIsKitControl(&edit));
        QVERIFY(!ControlIsKitControl(&button));
        QVERIFY(!ControlIsKitControl(nullptr));
        RegisterKitControlClass(&TToolbarButtonKit::staticMetaObject);
        QVERIFY(ControlIsKitControl(&button));
        UnregisterKitControlClass(&TToolbarButtonKit::staticMetaObject);
        QVERIFY(!ControlIsKitControl(&button));
        QCOMPARE(edit.Version(), QString("ToolbarKit version 1.0"));
    }
};

QTEST_MAIN(TEditKitTest)
#include "TEditKitTest.moc"
