#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

#include "desktop/WindowAttributes.h"
#include "desktop/mainwindow/RecentFiles.h"
#include "platform/registry/Registry.h"
#include "tests/desktop/support/TemporaryRegistry.h"

#include <memory>

using platform::registry::Registry;
using platform::registry::Root;

namespace {

std::unique_ptr<QWidget> Form(const QString& caption) {
    auto form = std::make_unique<QWidget>();
    form->setWindowTitle(caption);
    form->setGeometry(50, 60, 300, 200);
    return form;
}

void WriteRecord(const QString& caption, std::vector<std::uint8_t> bytes) {
    Registry().WriteBinary(Root::CurrentUser, kWindowAttributesKey, caption.toStdString(), bytes);
}

// A child named like the rule base it would show, in an area shown at 600 x 400.
QMdiSubWindow* ShownChild(QMdiArea& area) {
    area.resize(600, 400);
    auto* child = new QWidget;
    child->setWindowTitle("child.rb");
    QMdiSubWindow* sub = area.addSubWindow(child);
    area.show();
    sub->setGeometry(20, 25, 250, 150);
    return sub;
}

QStringList Stored() {
    QStringList names;
    for (int i = 0; i < 6; ++i)
        names << RecentFileAt(i);
    return names;
}

}  // namespace

class PlacementStoreTest : public QObject {
    Q_OBJECT

  private slots:
    void recordIsLittleEndianWithAFlagByte() {
        const auto record = EncodeWindowPlacement({-8, 258, 640, 480, true});
        QCOMPARE(record[0], std::uint8_t(0xF8));
        QCOMPARE(record[3], std::uint8_t(0xFF));
        QCOMPARE(record[4], std::uint8_t(2));
        QCOMPARE(record[5], std::uint8_t(1));
        QCOMPARE(record[16], std::uint8_t(1));
        QCOMPARE(record[19], std::uint8_t(0));
        QCOMPARE(DecodeWindowPlacement(record), (WindowPlacement{-8, 258, 640, 480, true}));
        QVERIFY(!DecodeWindowPlacement(std::span(record).first(19)));
    }

    void placementRoundTripsPerCaptionIncludingMaximised() {
        TemporaryRegistry store;
        auto saved = Form("plant.rb");
        saved->setGeometry(40, 30, 320, 240);
        saved->show();
        QVERIFY(QTest::qWaitForWindowExposed(saved.get()));
        SaveWindowAttributes(*saved);
        saved->showMaximized();
        saved->setWindowTitle("other.rb");
        SaveWindowAttributes(*saved);

        auto normal = Form("plant.rb");
        LoadWindowAttributes(*normal);
        QCOMPARE(normal->geometry(), QRect(40, 30, 320, 240));
        QVERIFY(!normal->isMaximized());

        auto maximised = Form("other.rb");
        LoadWindowAttributes(*maximised);
        QVERIFY(maximised->windowState() & Qt::WindowMaximized);
        maximised->show();
        maximised->showNormal();
        QTRY_COMPARE(maximised->geometry(), QRect(40, 30, 320, 240));
    }

    void damagedOrUnreachableRecordsKeepTheDesignedPlacement_data() {
        QTest::addColumn<std::vector<std::uint8_t>>("record");
        auto valid = EncodeWindowPlacement({10, 10, 200, 100, false});
        QTest::newRow("short") << std::vector<std::uint8_t>(valid.begin(), valid.begin() + 12);
        auto longer = std::vector<std::uint8_t>(valid.begin(), valid.end());
        longer.push_back(0);
        QTest::newRow("long") << longer;
        auto off = EncodeWindowPlacement({30000, 30000, 200, 100, false});
        QTest::newRow("off every screen") << std::vector<std::uint8_t>(off.begin(), off.end());
        auto empty = EncodeWindowPlacement({10, 10, 0, -5, false});
        QTest::newRow("no size") << std::vector<std::uint8_t>(empty.begin(), empty.end());
    }
    void damagedOrUnreachableRecordsKeepTheDesignedPlacement() {
        QFETCH(std::vector<std::uint8_t>, record);
        TemporaryRegistry store;
        WriteRecord("plant.rb", record);
        auto form = Form("plant.rb");
        LoadWindowAttributes(*form);
        QCOMPARE(form->geometry(), QRect(50, 60, 300, 200));
    }

    void mdiChildrenAreStoredInTheirAreasCoordinates() {
        TemporaryRegistry store;
        QMdiArea area;
        QMdiSubWindow* sub = ShownChild(area);
        QWidget* child = sub->widget();
        SaveWindowAttributes(*child);
        sub->setGeometry(0, 0, 100, 100);
        LoadWindowAttributes(*child);
        QCOMPARE(sub->geometry(), QRect(20, 25, 250, 150));

        sub->showMaximized();
        SaveWindowAttributes(*child);
        QVERIFY(!sub->isMaximized());
        auto* again = new QWidget;
        again->setWindowTitle("child.rb");
        QMdiSubWindow* next = area.addSubWindow(again);
        LoadWindowAttributes(*again);
        again->show();
        QVERIFY(next->isMaximized());
        next->showNormal();
        QCOMPARE(next->geometry(), QRect(20, 25, 250, 150));
    }

    void aMinimisedChildStoresItsNormalBounds() {
        TemporaryRegistry store;
        QMdiArea area;
        QMdiSubWindow* sub = ShownChild(area);
        QWidget* child = sub->widget();
        sub->showMinimized();
        SaveWindowAttributes(*child);
        sub->setGeometry(0, 0, 300, 300);
        LoadWindowAttributes(*child);
        QCOMPARE(sub->geometry(), QRect(20, 25, 250, 150));
    }

    void recentFilesMoveToTheFrontAndKeepFive() {
        TemporaryRegistry store;
        for (const char* name : {"/d/a.rb", "/d/b.rb", "/d/c.rb", "/d/b.rb"})
            AddRecentFile(name);
        QCOMPARE(Stored(), QStringList({"/d/b.rb", "/d/c.rb", "/d/a.rb", "", "", ""}));
        for (const char* name : {"/d/e.rb", "/d/f.rb", "/d/g.rb", "/d/B.rb"})
            AddRecentFile(name);
        QCOMPARE(Stored(),
                 QStringList({"/d/B.rb", "/d/g.rb", "/d/f.rb", "/d/e.rb", "/d/b.rb", ""}));
        QVERIFY(!Registry().ReadValue(Root::CurrentUser, kRecentFilesKey, "5"));
    }

    void reopenMenuShowsFileNamesAndAnswersTags() {
        TemporaryRegistry store;
        QMenu reopen;
        int chosen = -1;
        RebuildReopenMenu(reopen, [&](int tag) { chosen = tag; });
        QVERIFY(!reopen.isEnabled());
        AddRecentFile("/gone/stale.rb");
        AddRecentFile("C:\\rules\\R&D.rb");
        RebuildReopenMenu(reopen, [&](int tag) { chosen = tag; });
        QVERIFY(reopen.isEnabled());
        QCOMPARE(reopen.actions().size(), 2);
        QCOMPARE(reopen.actions()[0]->text(), QString("R&&D.rb"));
        QCOMPARE(reopen.actions()[1]->text(), QString("stale.rb"));
        reopen.actions()[1]->trigger();
        QCOMPARE(chosen, 1);
    }
};

QTEST_MAIN(PlacementStoreTest)
#include "PlacementStoreTest.moc"
