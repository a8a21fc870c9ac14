// The title window and the way between it and the table: what it draws, that
// "Play" makes the table once and finds it as it was left, and that "Quit"
// needs no table at all.
#include "fakes.h"
#include "screen_checks.h"
#include "screens/assets.h"
#include "screens/table_window.h"
#include "screens/title_window.h"
#include "toolkit/fonts.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace morvik;
using namespace morvik::testing;

class TitleWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installLayoutFont(assets::Font)); }
    void init();
    void cleanup() { title.reset(); }

    void drawsTheFrameInsideTheWindow_data();
    void drawsTheFrameInsideTheWindow();
    void showsEveryCaptionAndPicture();
    void playMakesTheTableOnceAndKeepsTheGame();
    void quitAsTheFirstActionMakesNoTable();
    void hiddenTableFinishesItsSpin();

private:
    static void click(QWidget& window, const char* name, QPoint at = QPoint())
    {
        QTest::mouseClick(control<QWidget>(window, name), Qt::LeftButton, {}, at);
    }

    FakeDesk desk;
    std::unique_ptr<TitleWindow> title;
};

void TitleWindowTest::init()
{
    title = std::make_unique<TitleWindow>(desk.services());
    title->show();
}

void TitleWindowTest::drawsTheFrameInsideTheWindow_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("colour");

    const QColor yellow(255, 238, 0), black(0, 0, 0);
    QTest::newRow("top left corner") << QPoint(0, 0) << yellow;
    QTest::newRow("inner edge at top left") << QPoint(9, 9) << yellow;
    QTest::newRow("inside at top left") << QPoint(10, 10) << black;
    QTest::newRow("bottom right corner") << QPoint(808, 504) << yellow;
    QTest::newRow("inner edge at bottom right") << QPoint(799, 495) << yellow;
    QTest::newRow("inside at bottom right") << QPoint(798, 494) << black;
}

void TitleWindowTest::drawsTheFrameInsideTheWindow()
{
    QFETCH(QPoint, at);
    QFETCH(QColor, colour);
    QCOMPARE(render(*title).pixelColor(at), colour);
}

void TitleWindowTest::showsEveryCaptionAndPicture()
{
    const QImage image = render(*title);
    for (const QLabel* label : title->findChildren<QLabel*>()) {
        const QRect area(label->mapTo(title.get(), QPoint(0, 0)), label->size());
        if (!label->text().isEmpty()) {
            verifyCaptionFits(*label, 1);
            QVERIFY(regionHasColour(image, area, label->palette().color(QPalette::WindowText).rgb()));
            continue;
        }
        // The artwork and the logo were found and drawn over the black.
        bool drawn = false;
        for (int y = area.top(); y <= area.bottom() && !drawn; y += 3)
            for (int x = area.left(); x <= area.right() && !drawn; x += 3)
                drawn = image.pixel(x, y) != qRgb(0, 0, 0);
        QVERIFY2(drawn, qPrintable(label->objectName()));
    }
    QCOMPARE(control<QLabel>(*title, "Label2")->text(), "Tato ruleta se hraje jako běžná ruleta.");
}

void TitleWindowTest::playMakesTheTableOnceAndKeepsTheGame()
{
    // The whole rectangle of the caption takes the click, letters or not.
    click(*title, "Label1(0)", QPoint(232, 104));
    TableWindow* table = title->tableWindow();
    QVERIFY(table && table->isVisible());
    QVERIFY(!title->isVisible());

    click(*table, "Image1(3)");
    click(*table, "Label1(8)");
    click(*table, "Label7");
    QVERIFY(title->isVisible());
    QVERIFY(!table->isVisible());

    click(*title, "Label1(0)");
    QCOMPARE(title->tableWindow(), table);
    QVERIFY(table->isVisible());
    QCOMPARE(items(*control<QListWidget>(*table, "List1(0)")), QStringList{"8-20"});
    // The chip chosen before "X" is still in hand.
    click(*table, "Label1(9)");
    QCOMPARE(control<QLabel>(*table, "Label3(3)")->text(), "0");
}

void TitleWindowTest::quitAsTheFirstActionMakesNoTable()
{
    QSignalSpy quit(title.get(), &TitleWindow::quitRequested);
    click(*title, "Label1(1)");
    QCOMPARE(quit.count(), 1);
    QVERIFY(!title->tableWindow());
    for (const QWidget* window : QApplication::topLevelWidgets())
        QVERIFY(window->objectName() != "Form1");
}

void TitleWindowTest::hiddenTableFinishesItsSpin()
{
    click(*title, "Label1(0)");
    TableWindow* table = title->tableWindow();
    click(*table, "Image1(0)");
    click(*table, "Label2(3)");
    click(*table, "Label6");
    click(*table, "Label6");
    QVERIFY(control<QWidget>(*table, "Picture2")->isHidden());

    click(*table, "Label7");
    // Timer1 runs on behind the title window: the spin ends, the bet on Odd
    // loses against the 18 the fake wheel draws, and a new round begins.
    QTRY_VERIFY(!control<QWidget>(*table, "Picture2")->isHidden());
    QCOMPARE(control<QLabel>(*table, "Cislo")->text(), "18");
    QCOMPARE(control<QLabel>(*table, "Label3(0)")->text(), "1");
    QCOMPARE(control<QListWidget>(*table, "List1(0)")->count(), 0);
}

QTEST_MAIN(TitleWindowTest)
#include "title_window_test.moc"
