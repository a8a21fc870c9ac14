// The Qt front end passes raw events on and shows what it is told, checked on
// the real widgets off screen at one and two device pixels to the layout
// pixel (QT_SCALE_FACTOR). What the events mean is the session's, tested
// without any window; the player's steps are the end-to-end driver's.
#include "qt/assets.h"
#include "qt/fonts.h"
#include "qt/screens.h"
#include "support/table.h"

#include <QAccessible>
#include <QListWidget>
#include <QTest>

using namespace morvik;
using namespace morvik::testing;
namespace b = morvik::ids::table;

class WindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installLayoutFont(assets::Font)); }
    void init()
    {
        screens = std::make_unique<Screens>(desk.services());
        click(ids::title::Label1); // Play
    }
    void cleanup() { screens.reset(); }

    void pressesReleasesAndKeysReachTheSession();
    void showsWhatItIsTold();
    void linesCoverWholeDevicePixels();

private:
    QWidget* widget(int id) const { return screens->widget(id); }
    QListWidget* list(int player) const { return static_cast<QListWidget*>(widget(b::List1 + player)); }
    void click(int id) { QTest::mouseClick(widget(id), Qt::LeftButton); }
    QStringList entries(int player) const
    {
        QStringList texts;
        for (int row = 0; row < list(player)->count(); ++row)
            texts << list(player)->item(row)->text();
        return texts;
    }

    Desk desk;
    std::unique_ptr<Screens> screens;
};

void WindowsTest::pressesReleasesAndKeysReachTheSession()
{
    click(b::Image1 + 1);
    QTest::mouseClick(widget(b::Label1 + 17), Qt::LeftButton);
    QTest::mouseDClick(widget(b::Label1 + 17), Qt::LeftButton); // a quick second click
    QTest::mouseRelease(widget(b::Label1 + 17), Qt::LeftButton);
    QTest::mousePress(widget(b::Label5), Qt::LeftButton); // dragged off the disc
    QTest::mouseRelease(widget(b::Label5), Qt::LeftButton, {}, QPoint(-5, -5));
    QCOMPARE(entries(0), (QStringList{"17-5", "17-5"}));
    QWidget* bets = list(0)->viewport();
    const QPoint first = list(0)->visualItemRect(list(0)->item(0)).center();
    QTest::mouseClick(bets, Qt::LeftButton, {}, first);
    QTest::mouseClick(bets, Qt::LeftButton, {}, QPoint(first.x(), bets->height() - 5)); // below the entries
    QCOMPARE(list(0)->currentRow(), 0);
    QTest::keyClick(widget(b::Form1), Qt::Key_Backspace); // pressed and let go between two ticks
    QTRY_COMPARE(entries(0), QStringList{"17-5"});
    QVERIFY(list(0)->selectedItems().isEmpty());
}

void WindowsTest::showsWhatItIsTold()
{
    click(b::Image1 + 3);
    click(b::Label1 + 8);
    click(b::Label6);
    QVERIFY(!list(0)->isVisible() && list(1)->isVisible());
    QCOMPARE(widget(b::Label4)->accessibleName(), QString());
    QCOMPARE(QAccessible::queryAccessibleInterface(widget(b::Label4))->text(QAccessible::Name), "Player 2");
    click(b::Label6); // the spin
    QVERIFY(!widget(b::Picture2)->isVisible() && !list(0)->isVisible() && !list(1)->isVisible());
    QTRY_VERIFY(widget(b::Picture2)->isVisible());
    QVERIFY(list(0)->isVisible() && !list(1)->isVisible());
    QAccessibleInterface* chip = QAccessible::queryAccessibleInterface(widget(b::Image1 + 3));
    QCOMPARE(chip->role(), QAccessible::Button);
    QCOMPARE(chip->text(QAccessible::Name), "Chip 20");
    QCOMPARE(chip->text(QAccessible::Description), "1 chip");
    QAccessibleInterface* cislo = QAccessible::queryAccessibleInterface(widget(b::Cislo));
    QCOMPARE(cislo->text(QAccessible::Name), "Drawn number");
    QCOMPARE(cislo->text(QAccessible::Value), "18");
    QAccessible::queryAccessibleInterface(widget(b::Image1 + 4))->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
    click(b::Label1 + 8);
    QCOMPARE(entries(0), QStringList{"8-50"});
}

void WindowsTest::linesCoverWholeDevicePixels()
{
    // Line1 runs down x = 136 on the green table.
    const QImage image = widget(b::Picture1)->grab().toImage();
    const int density = qRound(image.devicePixelRatio());
    const int y = 300 * density;
    for (int x = 136 * density; x < 137 * density; ++x)
        QCOMPARE(image.pixelColor(x, y), QColor(255, 255, 255));
    QCOMPARE(image.pixelColor(136 * density - 1, y), toQColor(table::Picture1Colour));
    QCOMPARE(image.pixelColor(137 * density, y), toQColor(table::Picture1Colour));
}

QTEST_MAIN(WindowsTest)
#include "windows_test.moc"
