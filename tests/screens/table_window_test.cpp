// The table window as the players see and use it: what it draws, whether
// every caption fits its cell, and that clicks and the Delete key reach the
// game through the real widgets.
#include "fakes.h"
#include "screen_checks.h"
#include "screens/assets.h"
#include "screens/table_window.h"
#include "toolkit/fonts.h"
#include "toolkit/services.h"

#include <QTest>

#include <memory>

using namespace morvik;
using namespace morvik::testing;

class TableWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installLayoutFont(assets::Font)); }
    void init() { window = std::make_unique<TableWindow>(desk.services()); }
    void cleanup() { window.reset(); }

    void drawsTheTable_data();
    void drawsTheTable();
    void everyCaptionFitsItsLabel();
    void loadShowsTheFirstPlayersStartingStock();
    void clickOnACellLaysTheSelectedChip_data();
    void clickOnACellLaysTheSelectedChip();
    void fastDoubleClickLaysTwoChips();
    void deleteWithdrawsTheSelectedEntry();

private:
    void click(const char* name) { QTest::mouseClick(control<QWidget>(*window, name), Qt::LeftButton); }

    FakeDesk desk;
    DeleteKeyWatch keys{nullptr};
    std::unique_ptr<TableWindow> window;
};

void TableWindowTest::drawsTheTable_data()
{
    QTest::addColumn<QRect>("area"); // the colour must appear somewhere in it
    QTest::addColumn<QColor>("colour");

    const QColor white(255, 255, 255), grey(239, 239, 239), green(0, 128, 0), black(0, 0, 0), red(192, 0, 0);
    auto at = [](int x, int y) { return QRect(x, y, 1, 1); };
    QTest::newRow("Line1 top end") << at(136, 16) << white;
    QTest::newRow("Line1 bottom end") << at(136, 577) << white;
    QTest::newRow("under Line1") << at(136, 578) << green;
    QTest::newRow("Line2 is light grey") << at(376, 300) << grey;
    QTest::newRow("Line9 right end") << at(504, 216) << white;
    QTest::newRow("right of Line9") << at(505, 216) << green;
    // Line22 is drawn later and covers the ends of the lines it meets.
    QTest::newRow("Line22 over Line9") << at(8, 216) << grey;
    QTest::newRow("Line20, slanted") << at(72, 64) << white;
    QTest::newRow("black disc") << at(72, 448) << black;
    QTest::newRow("red disc") << at(440, 448) << red;
    QTest::newRow("corner outside the red disc") << at(409, 417) << green;
    QTest::newRow("window beside the table") << at(515, 100) << black;
    QTest::newRow("Cislo is opaque green") << at(660, 100) << green;
    QTest::newRow("Cislo shows a red 1") << QRect(656, 72, 73, 33) << red;
    QTest::newRow("cell 0 in white") << QRect(224, 24, 65, 25) << white;
    QTest::newRow("cell 2 in black") << QRect(224, 64, 65, 25) << black;
    QTest::newRow("counter of the 100s") << QRect(8 + 720, 616, 33, 25) << white;
}

void TableWindowTest::drawsTheTable()
{
    QFETCH(QRect, area);
    QFETCH(QColor, colour);
    QVERIFY(regionHasColour(render(*window), area, colour.rgb()));
}

void TableWindowTest::everyCaptionFitsItsLabel()
{
    // Stocks grow with every win; the counter must show any of them whole.
    window->showCounter(1, 255);
    window->showCounter(2, 4294967295u);
    const QStringList twoLines{"Label2(0)", "Label2(1)"};
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->text().isEmpty())
            verifyCaptionFits(*label, twoLines.contains(label->objectName()) ? 2 : 1);
    }
    window->showPlayer(1);
    verifyCaptionFits(*control<QLabel>(*window, "Label4"), 1);
}

void TableWindowTest::loadShowsTheFirstPlayersStartingStock()
{
    for (int i = 0; i < 6; ++i)
        QCOMPARE(control<QLabel>(*window, qPrintable(QStringLiteral("Label3(%1)").arg(i)))->text(), "2");
    QCOMPARE(control<QLabel>(*window, "Label4")->text(), "Player 1");
    QVERIFY(!control<QWidget>(*window, "List1(0)")->isHidden());
    QCOMPARE(control<QListWidget>(*window, "List1(0)")->count(), 0);
    QVERIFY(control<QWidget>(*window, "List1(1)")->isHidden());
    const auto* cislo = control<QLabel>(*window, "Cislo");
    QCOMPARE(cislo->text(), "1");
    QCOMPARE(cislo->palette().color(QPalette::WindowText), QColor(192, 0, 0));
}

void TableWindowTest::clickOnACellLaysTheSelectedChip_data()
{
    QTest::addColumn<QString>("chip");
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("number") << "Image1(1)" << "Label1(17)" << QStringList{"17-5"};
    QTest::newRow("zero takes no bets") << "Image1(0)" << "Label1(0)" << QStringList{};
    QTest::newRow("Big") << "Image1(5)" << "Label2(0)" << QStringList{"Big-100"};
    QTest::newRow("Odd") << "Image1(4)" << "Label2(3)" << QStringList{"Odd-50"};
    QTest::newRow("black disc") << "Image1(0)" << "Label5(0)" << QStringList{"Black-1"};
    QTest::newRow("red disc") << "Image1(0)" << "Label5(1)" << QStringList{"Red-1"};
}

void TableWindowTest::clickOnACellLaysTheSelectedChip()
{
    QFETCH(QString, chip);
    QFETCH(QString, cell);
    QFETCH(QStringList, entries);

    click(qPrintable(chip));
    click(qPrintable(cell));

    QCOMPARE(items(*control<QListWidget>(*window, "List1(0)")), entries);
}

void TableWindowTest::fastDoubleClickLaysTwoChips()
{
    click("Image1(0)");
    auto* cell = control<QWidget>(*window, "Label1(17)");
    QTest::mouseClick(cell, Qt::LeftButton);
    QTest::mouseDClick(cell, Qt::LeftButton);
    QTest::mouseRelease(cell, Qt::LeftButton);

    QCOMPARE(items(*control<QListWidget>(*window, "List1(0)")), (QStringList{"17-1", "17-1"}));
    QCOMPARE(control<QLabel>(*window, "Label3(0)")->text(), "0");
}

void TableWindowTest::deleteWithdrawsTheSelectedEntry()
{
    // The real key watch, fed by a real key event on the window.
    window = std::make_unique<TableWindow>(Game::Services{desk, desk, keys});
    click("Image1(2)");
    click("Label2(2)");
    click("Label1(5)");

    auto* list = control<QListWidget>(*window, "List1(0)");
    const QPoint first = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    // Neither Ctrl+click on the chosen entry nor a click below the entries
    // takes the choice away.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier, first);
    QCOMPARE(window->selectedEntry(0), 0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(first.x(), list->viewport()->height() - 5));
    QCOMPARE(window->selectedEntry(0), 0);
    QTest::keyClick(window.get(), Qt::Key_Delete);
    window->timer1Tick();

    QCOMPARE(items(*list), QStringList{"5-10"});
    QCOMPARE(window->selectedEntry(0), -1);
    QCOMPARE(control<QLabel>(*window, "Label3(2)")->text(), "1");
}

QTEST_MAIN(TableWindowTest)
#include "table_window_test.moc"
