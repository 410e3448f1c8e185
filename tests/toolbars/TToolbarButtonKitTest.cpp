#include "ToolbarFixtureForm.h"

#include "toolbars/TButtonGlyph.h"
#include "toolbars/TDockKit.h"
#include "toolbars/TGlyphList.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"

#include <QAction>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

QPixmap Strip(int images, QColor color = Qt::darkBlue) {
    QPixmap strip(16 * images, 16);
    strip.fill(color);
    return strip;
}

}  // namespace

// Toolbar buttons: clicks, groups, dropdown menus, repeating, hot tracking, actions, glyphs.
class TToolbarButtonKitTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ToolbarFixtureForm> form;
    TToolbarKit* bar = nullptr;

    TToolbarButtonKit* Button(int index) const {
        return qobject_cast<TToolbarButtonKit*>(bar->GetOrderedControls(index));
    }

  private slots:
    void initTestCase() { SilenceOffscreenPlatformNotices(); }
    void init() {
        form = std::make_unique<ToolbarFixtureForm>();
        bar = form->AddToolbar("Bar", form->DockTop, 3);
        form->ShowAndActivate();
    }
    void cleanup() { form.reset(); }

    void clicksWhenReleasedOverTheButton() {
        TToolbarButtonKit* button = Button(0);
        QSignalSpy clicked(button, &TToolbarButtonKit::clicked);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(button->State(), tbk::bsUp);
        QTest::mousePress(button, Qt::LeftButton);
        QCOMPARE(button->State(), tbk::bsDown);
        QTest::mouseMove(button, QPoint(50, 50));
        QCOMPARE(button->State(), tbk::bsUp);
        QTest::mouseRelease(button, Qt::LeftButton, {}, QPoint(50, 50));
        QCOMPARE(clicked.count(), 1);
    }

    void exclusiveGroupsKeepOneButtonDown() {
        for (int i = 0; i < 3; ++i)
            Button(i)->SetGroupIndex(1);
        QTest::mouseClick(Button(0), Qt::LeftButton);
        QVERIFY(Button(0)->Down());
        QCOMPARE(Button(0)->State(), tbk::bsExclusive);
        QSignalSpy raised(Button(0), &TToolbarButtonKit::downChanged);
        QTest::mouseClick(Button(1), Qt::LeftButton);
        QVERIFY(Button(1)->Down());
        QVERIFY(!Button(0)->Down());
        QCOMPARE(raised.count(), 1);
        // Without AllowAllUp the down button stays down.
        QTest::mouseClick(Button(1), Qt::LeftButton);
        QVERIFY(Button(1)->Down());
        Button(1)->SetDown(false);
        QVERIFY(Button(1)->Down());
        // AllowAllUp spreads through the group.
        Button(1)->SetAllowAllUp(true);
        QVERIFY(Button(2)->AllowAllUp());
        QTest::mouseClick(Button(1), Qt::LeftButton);
        QVERIFY(!Button(1)->Down());
        // Group 0 is no group.
        Button(2)->SetGroupIndex(0);
        Button(2)->SetDown(true);
        QVERIFY(!Button(2)->Down());
    }

    void dropdownOpensTheMenuAndAPressOnTheButtonClosesIt() {
        QMenu menu;
        menu.addAction("Triangle");
        TToolbarButtonKit* button = Button(0);
        button->SetDropdownMenu(&menu);
        QSignalSpy clicked(button, &TToolbarButtonKit::clicked);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(menu.isVisible());
        QVERIFY(button->DropdownMenuShowing());
        QCOMPARE(clicked.count(), 1);  // the ordinary click comes first
        QCOMPARE(button->State(), tbk::bsDown);
        // The menu opens below the button.
        QCOMPARE(menu.pos(), button->mapToGlobal(QPoint(0, button->height())));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!menu.isVisible());
        QVERIFY(!button->DropdownMenuShowing());
        QCOMPARE(button->State(), tbk::bsUp);
        QCOMPARE(clicked.count(), 1);
        // Through the window system: the press goes to the open menu first, which closes; the
        // press it passes on to the button must not open the menu again.
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(menu.isVisible());
        const QPoint inWindow = button->mapTo(form.get(), QPoint(5, 5));
        QTest::mousePress(form->windowHandle(), Qt::LeftButton, {}, inWindow);
        QTest::mouseRelease(form->windowHandle(), Qt::LeftButton, {}, inWindow);
        QCoreApplication::processEvents();
        QVERIFY(!menu.isVisible());
        QVERIFY(!button->DropdownMenuShowing());
        QCOMPARE(clicked.count(), 2);
    }

    void dropdownMenuOpensTowardTheFormBesideSideDocks() {
        QMenu menu;
        menu.addAction("Triangle");
        bar->SetParent(form->DockLeft);
        ProcessLayouts();
        TToolbarButtonKit* button = Button(0);
        button->SetDropdownMenu(&menu);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(menu.pos(), button->mapToGlobal(QPoint(button->width(), 0)));
        menu.hide();
    }

    void onDropdownDecidesAboutTheMenu() {
        QMenu menu;
        menu.addAction("Triangle");
        TToolbarButtonKit* button = Button(0);
        button->SetDropdownMenu(&menu);
        int asked = 0;
        button->SetOnDropdown([&](TToolbarButtonKit*, bool& ShowMenu, bool& RemoveClicks) {
            ++asked;
            QVERIFY(ShowMenu);
            QVERIFY(RemoveClicks);
            ShowMenu = false;
        });
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(asked, 1);
        QVERIFY(!menu.isVisible());
        QCOMPARE(button->State(), tbk::bsUp);

        // Always a dropdown, even without a menu.
        TToolbarButtonKit* always = Button(1);
        always->SetDropdownAlways(true);
        bool menuOffered = true;
        always->SetOnDropdown(
            [&](TToolbarButtonKit*, bool& ShowMenu, bool&) { menuOffered = ShowMenu; });
        QSignalSpy clicked(always, &TToolbarButtonKit::clicked);
        QTest::mouseClick(always, Qt::LeftButton);
        QVERIFY(!menuOffered);
        QCOMPARE(clicked.count(), 1);
    }

    void comboOpensTheMenuOnlyFromItsArrow() {
        QMenu menu;
        menu.addAction("Triangle");
        TToolbarButtonKit* button = Button(0);
        button->SetDropdownMenu(&menu);
        button->SetDropdownCombo(true);
        QCOMPARE(button->width(), 23 + 9 + 2);
        button->SetDropdownArrowWidth(3);
        QCOMPARE(button->DropdownArrowWidth(), 7);
        QCOMPARE(button->width(), 23 + 7 + 2);
        QSignalSpy clicked(button, &TToolbarButtonKit::clicked);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
        QCOMPARE(clicked.count(), 1);
        QVERIFY(!menu.isVisible());
        QVERIFY(!button->PointInButton(button->width() - 3, 5));
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(button->width() - 3, 5));
        QVERIFY(menu.isVisible());
        QCOMPARE(clicked.count(), 1);
        menu.hide();
        button->SetDropdownCombo(false);
        QCOMPARE(button->width(), 23);
    }

    void repeatsWhileHeld() {
        TToolbarButtonKit* button = Button(0);
        button->SetRepeating(true);
        button->SetRepeatDelay(10);
        button->SetRepeatInterval(5);
        QSignalSpy clicked(button, &TToolbarButtonKit::clicked);
        QTest::mousePress(button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 1);  // at once
        QTRY_VERIFY(clicked.count() >= 4);
        QTest::mouseRelease(button, Qt::LeftButton);
        const int count = clicked.count();
        QCoreApplication::processEvents();
        QCOMPARE(clicked.count(), count);  // the release clicks no more
    }

    void hotBorderFollowsTheMouse() {
        TToolbarButtonKit* button = Button(1);
        QSignalSpy entered(button, &TToolbarButtonKit::mouseEntered);
        QSignalSpy exited(button, &TToolbarButtonKit::mouseExited);
        QCursor::setPos(button->mapToGlobal(QPoint(5, 5)));
        QTRY_VERIFY(button->MouseInControl());
        QCOMPARE(button->State(), tbk::bsMouseIn);
        // Over another control: the move reaches that control, and the button leaves.
        QCursor::setPos(form->Center->mapToGlobal(QPoint(50, 50)));
        QTRY_VERIFY(!button->MouseInControl());
        QCOMPARE(button->State(), tbk::bsUp);
        QCOMPARE(entered.count(), 1);
        QCOMPARE(exited.count(), 1);
        // Out of every window: only the shared timer can tell.
        QCursor::setPos(button->mapToGlobal(QPoint(5, 5)));
        QTRY_VERIFY(button->MouseInControl());
        QCursor::setPos(QPoint(790, 790));
        QTRY_VERIFY(!button->MouseInControl());
    }

    void switchingApplicationsEndsHotTracking() {
        TToolbarButtonKit* button = Button(1);
        QCursor::setPos(button->mapToGlobal(QPoint(5, 5)));
        QTRY_VERIFY(button->MouseInControl());
        DeactivateApplication();
        QVERIFY(!button->MouseInControl());
        ReactivateApplication(form.get());
        button->SetShowBorderWhenInactive(true);
        QCursor::setPos(button->mapToGlobal(QPoint(6, 6)));
        QTRY_VERIFY(button->MouseInControl());
        DeactivateApplication();
        QVERIFY(button->MouseInControl());
        ReactivateApplication(form.get());
    }

    void disablingShowsTheDisabledState() {
        TToolbarButtonKit* button = Button(0);
        button->SetGroupIndex(2);
        button->SetDown(true);
        button->setEnabled(false);
        QCOMPARE(button->State(), tbk::bsDisabled);
        QSignalSpy clicked(button, &TToolbarButtonKit::clicked);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(clicked.count(), 0);
        button->setEnabled(true);
        QCOMPARE(button->State(), tbk::bsExclusive);
    }

    void followsItsAction() {
        QAction action("Grid");
        action.setCheckable(true);
        TToolbarButtonKit* button = Button(0);
        button->SetGroupIndex(5);
        button->SetAllowAllUp(true);
        button->SetAction(&action);
        QCOMPARE(button->Caption(), QString("Grid"));
        action.setChecked(true);
        QVERIFY(button->Down());
        action.setEnabled(false);
        QVERIFY(!button->isEnabled());
        action.setEnabled(true);
        action.setProperty("ImageIndex", 3);
        QCOMPARE(button->ImageIndex(), 3);
        QSignalSpy triggered(&action, &QAction::triggered);
        button->SetGroupIndex(0);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(triggered.count(), 1);
        QVERIFY(!action.isChecked());
        QVERIFY(!button->Down());
    }

    void defaultAndCancelClickFromTheKeyboard() {
        TToolbarButtonKit* ok = Button(0);
        TToolbarButtonKit* cancel = Button(1);
        ok->SetDefault(true);
        cancel->SetCancel(true);
        QSignalSpy okClicked(ok, &TToolbarButtonKit::clicked);
        QSignalSpy cancelClicked(cancel, &TToolbarButtonKit::clicked);
        QTest::keyClick(form.get(), Qt::Key_Return);
        QTest::keyClick(form.get(), Qt::Key_Escape);
        QTest::keyClick(form.get(), Qt::Key_Escape, Qt::ShiftModifier);
        QCOMPARE(okClicked.count(), 1);
        QCOMPARE(cancelClicked.count(), 1);
        Button(2)->SetCaption("&Go");
        QSignalSpy goClicked(Button(2), &TToolbarButtonKit::clicked);
        QTest::keyClick(form.get(), Qt::Key_G, Qt::AltModifier);
        QCOMPARE(goClicked.count(), 1);
    }

    void glyphStripsAndSharedGlyphLists() {
        TToolbarButtonKit* button = Button(0);
        button->SetGlyph(Strip(3));
        QCOMPARE(button->NumGlyphs(), 3);
        button->SetGlyph(Strip(6));
        QCOMPARE(button->NumGlyphs(), 1);
        button->SetNumGlyphs(9);
        QCOMPARE(button->NumGlyphs(), 5);
        button->SetMargin(-5);
        QCOMPARE(button->Margin(), -1);

        TButtonGlyph first;
        TButtonGlyph second;
        QPixmap glyph = Strip(2, Qt::black);
        first.SetGlyph(glyph);
        second.SetGlyph(glyph);
        QCOMPARE(first.NumGlyphs(), 2);
        const QPalette palette;
        QVERIFY(!first.ImageFor(tbk::bsUp, palette).isNull());
        QVERIFY(!second.ImageFor(tbk::bsUp, palette).isNull());
        const auto list = TGlyphList::ForSize(QSize(16, 16));
        QCOMPARE(list->Count(), 2);  // both buttons' images in one list
        first.Invalidate();
        QCOMPARE(list->Count(), 1);
    }

    void disabledImageIsMadeFromTheUpImage() {
        QPixmap glyph(4, 4);
        glyph.fill(Qt::magenta);  // bottom-left: transparent
        {
            QPainter painter(&glyph);
            painter.fillRect(0, 0, 2, 2, Qt::black);
            painter.fillRect(2, 0, 1, 1, Qt::white);
        }
        QPalette palette;
        palette.setColor(QPalette::Light, Qt::yellow);
        palette.setColor(QPalette::Dark, Qt::darkGray);
        TButtonGlyph embossed;
        embossed.SetGlyph(glyph);
        const QImage image = embossed.ImageFor(tbk::bsDisabled, palette).toImage();
        QCOMPARE(image.pixel(0, 0), QColor(Qt::darkGray).rgb());
        QCOMPARE(image.pixel(2, 2), QColor(Qt::yellow).rgb());
        QCOMPARE(qAlpha(image.pixel(3, 3)), 0);
        TButtonGlyph recoloured;
        recoloured.SetOldDisabledStyle(true);
        recoloured.SetGlyph(glyph);
        const QImage old = recoloured.ImageFor(tbk::bsDisabled, palette).toImage();
        QCOMPARE(old.pixel(2, 0), QColor(Qt::yellow).rgb());
        QCOMPARE(old.pixel(0, 0), QColor(Qt::black).rgb());
    }
};

QTEST_MAIN(TToolbarButtonKitTest)
#include "TToolbarButtonKitTest.moc"
