#include "ToolbarFixtureForm.h"

#include "toolbars/TDockKit.h"
#include "toolbars/TDragOutline.h"
#include "toolbars/TEditKit.h"
#include "toolbars/TFloatingWindowParent.h"
#include "toolbars/TToolbarButtonKit.h"
#include "toolbars/TToolbarKit.h"
#include "toolbars/TToolbarSepKit.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QTest>

namespace {

// A 16 x 16 glyph: a coloured square on a magenta (transparent) ground.
QPixmap SquareGlyph(QColor color) {
    QPixmap glyph(16, 16);
    glyph.fill(Qt::magenta);
    QPainter painter(&glyph);
    painter.fillRect(3, 3, 10, 10, color);
    painter.fillRect(3, 3, 10, 1, Qt::black);
    painter.fillRect(3, 12, 10, 1, Qt::black);
    return glyph;
}

}  // namespace

// The fixture with bars on every side, one floating bar and a dropdown, drawn into one picture
// of the "desktop" so that frames, handles and buttons can be looked at.
class ToolbarScreenshotTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { SilenceOffscreenPlatformNotices(); }
    void savesPictureOfDocksAndBars() {
        ToolbarFixtureForm form;
        QMenu menu;
        menu.addAction(QStringLiteral("Triangle"));
        menu.addAction(QStringLiteral("Trapezoid"));

        TToolbarKit* file = form.AddToolbar(QStringLiteral("File"), form.DockTop, 0);
        for (QColor color : {QColor(Qt::darkBlue), QColor(Qt::darkGreen), QColor(Qt::darkRed)}) {
            auto* button = new TToolbarButtonKit(file);
            button->SetGlyph(SquareGlyph(color));
        }
        new TToolbarSepKit(file);
        auto* shape = form.AddButton(file, QStringLiteral("Shape"));
        shape->resize(60, 22);
        shape->SetDropdownMenu(&menu);
        auto* combo = new TToolbarButtonKit(file);
        combo->SetGlyph(SquareGlyph(Qt::darkCyan));
        combo->SetDropdownMenu(&menu);
        combo->SetDropdownCombo(true);
        auto* disabled = new TToolbarButtonKit(file);
        disabled->SetGlyph(SquareGlyph(Qt::darkMagenta));
        disabled->setEnabled(false);
        file->ArrangeControls();

        TToolbarKit* terms = form.AddToolbar(QStringLiteral("Terms"), form.DockTop, 0, 0, 300);
        auto* label = new QLabel(QStringLiteral(" Terms: "), terms);
        label->setObjectName(QStringLiteral("TermsLabel"));
        new TToolbarSepKit(terms);
        for (const char* word : {"small", "medium", "big"}) {
            auto* button = form.AddButton(terms, QString::fromLatin1(word));
            button->resize(button->fontMetrics().horizontalAdvance(button->Caption()) + 7, 22);
        }
        auto* down = form.AddButton(terms, QStringLiteral("and"));
        down->resize(30, 22);
        down->SetGroupIndex(1);
        down->SetDown(true);
        terms->ArrangeControls();

        form.AddToolbar(QStringLiteral("Left"), form.DockLeft, 3);
        TToolbarKit* right = form.AddToolbar(QStringLiteral("Right"), form.DockRight, 2);
        right->SetCloseButtonWhenDocked(true);
        TToolbarKit* bottom = form.AddToolbar(QStringLiteral("Bottom"), form.DockBottom, 0);
        bottom->SetDragHandleStyle(tbk::dhSingle);
        auto* edit = new TEditKit(bottom);
        edit->setObjectName(QStringLiteral("Edit"));
        edit->setText(QStringLiteral("about 3"));
        edit->resize(90, edit->height());
        form.AddButton(bottom, QStringLiteral("Go"));
        bottom->ArrangeControls();

        TToolbarKit* floating = form.AddToolbar(QStringLiteral("Modifiers"), nullptr, 0);
        for (const char* word : {"very", "rather", "roughly"}) {
            auto* button = form.AddButton(floating, QString::fromLatin1(word));
            button->resize(button->fontMetrics().horizontalAdvance(button->Caption()) + 7, 22);
        }
        new TToolbarSepKit(floating);
        form.AddButton(floating, QStringLiteral("ex"));
        floating->SetFloatingWidth(120);
        floating->SetBounds(470, 320, floating->width(), floating->height());

        form.ShowAndActivate();
        // The mouse over one flat button shows its raised border.
        QCursor::setPos(file->findChildren<TToolbarButtonKit*>().at(1)->mapToGlobal(QPoint(8, 8)));
        ProcessLayouts();
        QTRY_VERIFY(floating->FloatingParent()->isVisible());

        // Compose the form and the floating window on a desktop-coloured ground.
        const QRect desktop = form.frameGeometry()
                                  .united(floating->FloatingParent()->geometry())
                                  .adjusted(-10, -10, 10, 10);
        QImage picture(desktop.size(), QImage::Format_ARGB32);
        picture.fill(QColor(0, 128, 128));
        QPainter painter(&picture);
        painter.drawPixmap(form.geometry().topLeft() - desktop.topLeft(), form.grab());
        painter.drawPixmap(floating->FloatingParent()->geometry().topLeft() - desktop.topLeft(),
                           floating->FloatingParent()->grab());
        // The outline of the left bar while it is dragged out to float.
        TToolbarKit* left = form.findChild<TToolbarKit*>("Left");
        PressToolWindow(left, QPoint(10, 5));
        MoveMouse(left, form.mapToGlobal(QPoint(200, 120)));
        TDragOutline* outline = nullptr;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* candidate = qobject_cast<TDragOutline*>(window);
                candidate && candidate->isVisible())
                outline = candidate;
        QVERIFY(outline);
        painter.setClipRegion(
            outline->mask().translated(outline->geometry().topLeft() - desktop.topLeft()));
        painter.drawPixmap(outline->geometry().topLeft() - desktop.topLeft(), outline->grab());
        painter.end();
        QTest::keyClick(left, Qt::Key_Escape);
        QTest::mouseRelease(left, Qt::LeftButton);
        const QString path = QDir(QStringLiteral(TAVO_ARTIFACT_DIR))
                                 .filePath(QStringLiteral("toolbars_fixture.png"));
        QVERIFY(picture.save(path));
        QVERIFY(QImage(path).size() == picture.size());
    }
};

QTEST_MAIN(ToolbarScreenshotTest)
#include "ToolbarScreenshotTest.moc"
