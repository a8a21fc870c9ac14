// The real windows, drawn off screen, proving the wiring: a click on each
// control reaches its game event, Delete withdraws, the game's state shows,
// the title and the table take turns, and lines cover whole device pixels on
// a screen of any whole density (QT_SCALE_FACTOR).
#include "layout/table.h"
#include "layout/title.h"
#include "screens/assets.h"
#include "screens/table_window.h"
#include "screens/title_window.h"
#include "support/table.h"
#include "toolkit/click_label.h"
#include "toolkit/fonts.h"
#include "toolkit/services.h"

#include <QAccessible>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace morvik;
using namespace morvik::testing;

namespace {

template <typename W = QWidget>
W* find(const QWidget* window, const QString& name)
{
    auto* found = window->findChild<W*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

void click(const QWidget* window, const QString& name)
{
    QTest::mouseClick(find(window, name), Qt::LeftButton);
}

QStringList items(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

// The colour of one layout pixel as drawn, at whatever density.
QColor pixel(QWidget* window, Point at)
{
    const QImage image = window->grab().toImage();
    const qreal density = image.devicePixelRatio();
    return image.pixelColor(QPointF(at.x * density, at.y * density).toPoint());
}

QColor colour(Rgb c) { return QColor(c.r, c.g, c.b); }

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installLayoutFont(assets::Font)); }
    void init();
    void cleanup() { title.reset(); }

    void everyControlReachesItsEvent();
    void theGamesStateShows();
    void deleteWithdrawsTheSelectedEntry();
    void aQuickSecondClickLaysAChipAndADraggedOffPressNone();
    void titleAndTableTakeTurnsOverOneGame();
    void drawsTheLayout();
    void linesCoverWholeDevicePixels();
    void screenReadersFindNamesCountsAndTheDrawnNumber();

private:
    TableWindow* table() const { return title->tableWindow(); }
    QString text(const QString& name) const { return find<QLabel>(table(), name)->text(); }
    QListWidget* list(int player) const { return find<QListWidget>(table(), QStringLiteral("List1(%1)").arg(player)); }
    void clicks(const QStringList& names)
    {
        for (const QString& name : names)
            click(table(), name);
    }
    void spinTo(int number)
    {
        desk.random.fallback = FakeRandom::drawFor(number);
        for (int tick = 0; tick < 50; ++tick)
            table()->timer1Tick();
    }

    Desk desk;
    std::unique_ptr<TitleWindow> title;
};

void WindowsTest::init()
{
    desk = Desk();
    title = std::make_unique<TitleWindow>(desk.services());
    title->show();
    click(title.get(), "Label1(0)");
    QVERIFY(table());
}

void WindowsTest::everyControlReachesItsEvent()
{
    // 72 chips of 1 on 7: enough to lay one on every cell.
    clicks({"Image1(0)", "Label1(7)", "Label1(7)", "Label6", "Label6"});
    spinTo(7);
    QCOMPARE(text("Label3(0)"), "72");

    QStringList expected;
    for (int k = 0; k < 37; ++k) {
        click(table(), QStringLiteral("Label1(%1)").arg(k));
        if (k > 0) // the 0 cell takes no bets
            expected << QStringLiteral("%1-1").arg(k);
    }
    for (int i = 0; i < 4; ++i)
        click(table(), QStringLiteral("Label2(%1)").arg(i));
    for (int i = 0; i < 2; ++i)
        click(table(), QStringLiteral("Label5(%1)").arg(i));
    expected << "Big-1" << "Small-1" << "Even-1" << "Odd-1" << "Black-1" << "Red-1";
    const QStringList values{"1", "5", "10", "20", "50", "100"};
    for (int chip = 1; chip < 6; ++chip) {
        click(table(), QStringLiteral("Image1(%1)").arg(chip));
        click(table(), "Label1(1)");
        expected << "1-" + values[chip];
    }
    QCOMPARE(items(list(0)), expected);
}

void WindowsTest::theGamesStateShows()
{
    clicks({"Image1(3)", "Label1(8)"});
    QCOMPARE(text("Label3(3)"), "1");
    click(table(), "Label6");
    QCOMPARE(text("Label4"), "Player 2");
    QCOMPARE(text("Label3(3)"), "2");
    QVERIFY(!list(1)->isHidden()); // over the first player's list
    click(table(), "Label6");
    QVERIFY(find(table(), "Picture2")->isHidden() && list(0)->isHidden() && list(1)->isHidden());

    spinTo(8);
    QCOMPARE(text("Cislo"), "8");
    QCOMPARE(find(table(), "Cislo")->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    QCOMPARE(text("Label4"), "Player 1");
    QCOMPARE(text("Label3(3)"), "37");
    QVERIFY(!find(table(), "Picture2")->isHidden() && !list(0)->isHidden() && list(1)->isHidden());

    // Any stock shows whole in its counter, smaller when it must.
    table()->showCounter(2, 4294967295u);
    const QLabel* counter = find<QLabel>(table(), "Label3(2)");
    QCOMPARE(counter->text(), "4294967295");
    QVERIFY(QFontMetrics(counter->font()).horizontalAdvance(counter->text()) <= counter->width());
}

void WindowsTest::deleteWithdrawsTheSelectedEntry()
{
    // The real key watch, fed by a real key event on the window.
    DeleteKeyWatch keys(nullptr);
    TableWindow window({desk.clock, desk.random, keys});
    for (const char* name : {"Image1(2)", "Label2(2)", "Label1(5)"})
        click(&window, name);
    auto* bets = find<QListWidget>(&window, "List1(0)");
    const QPoint first = bets->visualItemRect(bets->item(0)).center();
    QTest::mouseClick(bets->viewport(), Qt::LeftButton, {}, first);
    // Neither Ctrl+click on the chosen entry nor a click below the entries
    // takes the choice away.
    QTest::mouseClick(bets->viewport(), Qt::LeftButton, Qt::ControlModifier, first);
    QCOMPARE(window.selectedEntry(0), 0);
    QTest::mouseClick(bets->viewport(), Qt::LeftButton, {}, QPoint(first.x(), bets->viewport()->height() - 5));
    QCOMPARE(window.selectedEntry(0), 0);

    QTest::keyClick(&window, Qt::Key_Delete); // pressed and let go between two ticks
    window.timer1Tick();
    QCOMPARE(items(bets), QStringList{"5-10"});
    QCOMPARE(window.selectedEntry(0), -1);
    QCOMPARE(find<QLabel>(&window, "Label3(2)")->text(), "1");
}

void WindowsTest::aQuickSecondClickLaysAChipAndADraggedOffPressNone()
{
    click(table(), "Image1(0)");
    QWidget* cell = find(table(), "Label1(17)");
    QTest::mouseClick(cell, Qt::LeftButton);
    QTest::mouseDClick(cell, Qt::LeftButton);
    QTest::mouseRelease(cell, Qt::LeftButton);
    click(table(), "Image1(1)");
    QTest::mousePress(find(table(), "Label1(18)"), Qt::LeftButton);
    QTest::mouseRelease(find(table(), "Label1(18)"), Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(items(list(0)), (QStringList{"17-1", "17-1"}));
}

void WindowsTest::titleAndTableTakeTurnsOverOneGame()
{
    TableWindow* first = table();
    QVERIFY(first->isVisible() && !title->isVisible());
    clicks({"Image1(0)", "Label2(3)", "Label6", "Label6", "Label7"});
    QVERIFY(title->isVisible() && !first->isVisible());
    // Timer1 runs on behind the title: the spin ends on the fake wheel's 18.
    QTRY_VERIFY(!find(first, "Picture2")->isHidden());
    QCOMPARE(text("Cislo"), "18");

    click(title.get(), "Label1(0)");
    QCOMPARE(table(), first);
    QVERIFY(first->isVisible() && !title->isVisible());
    QCOMPARE(text("Label3(0)"), "1"); // the 1 on Odd was lost

    click(first, "Label7");
    QSignalSpy quit(title.get(), &TitleWindow::quitRequested);
    click(title.get(), "Label1(1)");
    QCOMPARE(quit.count(), 1);
}

void WindowsTest::drawsTheLayout()
{
    const int w = title::Shape1.penWidth;
    const QColor frame = colour(title::Shape1.colour), inside = colour(title::Background);
    click(table(), "Label7");
    QCOMPARE(pixel(title.get(), {0, 0}), frame);
    QCOMPARE(pixel(title.get(), {w - 1, w - 1}), frame);
    QCOMPARE(pixel(title.get(), {w, w}), inside);
    QCOMPARE(pixel(title.get(), {title::Width / 2, title::Height - 1}), frame);
    QCOMPARE(pixel(title.get(), {title::Width - w - 1, title::Height - w - 1}), inside);

    click(title.get(), "Label1(0)");
    const QColor green = colour(table::Picture1Colour);
    for (const DiscFigure& disc : table::Shape1)
        QCOMPARE(pixel(table(), {disc.bounds.x + disc.bounds.width / 2, disc.bounds.y + disc.bounds.height / 2}),
                 colour(disc.colour));
    const LineFigure& line1 = table::Lines[0];
    QCOMPARE(pixel(table(), line1.from), colour(line1.colour));
    QCOMPARE(pixel(table(), line1.to), colour(line1.colour));
    QCOMPARE(pixel(table(), {line1.to.x, line1.to.y + 1}), green);
}

void WindowsTest::linesCoverWholeDevicePixels()
{
    // Line1 runs upright at x = 136: each layout pixel of it is `density`
    // device pixels wide, whole, with the table's green on both sides.
    const QImage image = table()->grab().toImage();
    const int density = qRound(image.devicePixelRatio());
    const int y = 300 * density;
    for (int x = 136 * density; x < 137 * density; ++x)
        QCOMPARE(image.pixelColor(x, y), QColor(255, 255, 255));
    QCOMPARE(image.pixelColor(136 * density - 1, y), colour(table::Picture1Colour));
    QCOMPARE(image.pixelColor(137 * density, y), colour(table::Picture1Colour));
}

void WindowsTest::screenReadersFindNamesCountsAndTheDrawnNumber()
{
    auto node = [this](const QString& name) { return QAccessible::queryAccessibleInterface(find(table(), name)); };
    for (const ClickLabel* control : table()->findChildren<ClickLabel*>()) {
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(const_cast<ClickLabel*>(control));
        QCOMPARE(button->role(), QAccessible::Button);
        QVERIFY2(!button->text(QAccessible::Name).isEmpty(), qPrintable(control->objectName()));
    }
    QCOMPARE(node("Label1(17)")->text(QAccessible::Name), "17");
    QCOMPARE(node("Label5(1)")->text(QAccessible::Name), "Red");
    QCOMPARE(node("Image1(3)")->text(QAccessible::Name), "Chip 20");
    QCOMPARE(node("Image1(3)")->text(QAccessible::Description), "2 chips");
    clicks({"Image1(3)", "Label1(1)"});
    QCOMPARE(node("Image1(3)")->text(QAccessible::Description), "1 chip");
    click(table(), "Label1(2)");
    QCOMPARE(node("Image1(3)")->text(QAccessible::Description), "0 chips");
    QCOMPARE(node("Cislo")->text(QAccessible::Name), "Drawn number");
    QCOMPARE(node("Cislo")->text(QAccessible::Value), "1");
}

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
