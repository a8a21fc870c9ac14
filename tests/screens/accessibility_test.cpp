// What a screen reader finds in the two windows: every control a player can
// click is a button with a name, the chips tell how many are left, and a
// press through the screen reader plays like a mouse click.
#include "fakes.h"
#include "screen_checks.h"
#include "screens/assets.h"
#include "screens/table_window.h"
#include "screens/title_window.h"
#include "toolkit/fonts.h"

#include <QAccessible>
#include <QTest>

#include <memory>

using namespace morvik;
using namespace morvik::testing;

namespace {

// Every interface below `root`, found the way a screen reader walks the tree.
void collect(QAccessibleInterface* root, QList<QAccessibleInterface*>& found)
{
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        QVERIFY(child);
        found << child;
        collect(child, found);
    }
}

QList<QAccessibleInterface*> tree(QWidget& window)
{
    QList<QAccessibleInterface*> found;
    collect(QAccessible::queryAccessibleInterface(&window), found);
    return found;
}

// The one interface of that name and role; fails the test on none or several.
QAccessibleInterface* find(QWidget& window, const QString& name, QAccessible::Role role)
{
    QAccessibleInterface* match = nullptr;
    for (QAccessibleInterface* node : tree(window)) {
        if (node->text(QAccessible::Name) != name || node->role() != role)
            continue;
        if (match)
            qWarning("%s is named twice", qPrintable(name));
        match = match ? nullptr : node;
    }
    if (!match)
        qWarning("no single control %s of role %d", qPrintable(name), int(role));
    return match;
}

void press(QAccessibleInterface* button)
{
    QVERIFY(button && button->actionInterface());
    QVERIFY(button->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installLayoutFont(assets::Font)); }
    void init();
    void cleanup() { title.reset(); }

    void titleChoicesAreButtons();
    void everyTableControlHasANameAndRole();
    void pressesPlayAndChipsFollowTheCount();
    void drawnNumberIsTheValueOfItsDisplay();

private:
    TableWindow& table() { return *title->tableWindow(); }

    FakeDesk desk;
    std::unique_ptr<TitleWindow> title;
};

void AccessibilityTest::init()
{
    title = std::make_unique<TitleWindow>(desk.services());
    title->show();
}

void AccessibilityTest::titleChoicesAreButtons()
{
    QCOMPARE(QAccessible::queryAccessibleInterface(title.get())->text(QAccessible::Name), "Morvik Roulette");
    QVERIFY(find(*title, "Quit", QAccessible::Button));

    press(find(*title, "Play", QAccessible::Button));
    QVERIFY(title->tableWindow() && title->tableWindow()->isVisible());
    QVERIFY(!title->isVisible());

    press(find(table(), "X", QAccessible::Button));
    QVERIFY(title->isVisible());
    QCOMPARE(find(table(), "X", QAccessible::Button)->text(QAccessible::Description), "Back to the title window");
}

void AccessibilityTest::everyTableControlHasANameAndRole()
{
    press(find(*title, "Play", QAccessible::Button));

    QStringList buttons{"Big", "Small", "Even", "Odd", "Black", "Red", "Next", "X"};
    for (int k = 0; k <= 36; ++k)
        buttons << QString::number(k);
    for (int value : {1, 5, 10, 20, 50, 100})
        buttons << QStringLiteral("Chip %1").arg(value);
    for (const QString& name : buttons)
        QVERIFY2(find(table(), name, QAccessible::Button), qPrintable(name));
    QVERIFY(find(table(), "Player 1 bets", QAccessible::List));
    QVERIFY(find(table(), "Player 2 bets", QAccessible::List));
    QVERIFY(find(table(), "Drawn number", QAccessible::StaticText));

    // Nothing the mouse can click is left without a name.
    int clickable = 0;
    for (QAccessibleInterface* node : tree(table())) {
        if (node->role() != QAccessible::Button)
            continue;
        ++clickable;
        QVERIFY2(!node->text(QAccessible::Name).isEmpty(), qPrintable(node->object()->objectName()));
    }
    QCOMPARE(clickable, buttons.size());
}

void AccessibilityTest::pressesPlayAndChipsFollowTheCount()
{
    press(find(*title, "Play", QAccessible::Button));
    QAccessibleInterface* chip = find(table(), "Chip 20", QAccessible::Button);
    QVERIFY(chip);
    QCOMPARE(chip->text(QAccessible::Description), "2 chips");

    press(chip);
    press(find(table(), "17", QAccessible::Button));
    press(find(table(), "Red", QAccessible::Button));
    QCOMPARE(items(*control<QListWidget>(table(), "List1(0)")), (QStringList{"17-20", "Red-20"}));
    QCOMPARE(chip->text(QAccessible::Description), "0 chips");

    // "Next" shows the second player's stock on the same chips.
    press(find(table(), "Next", QAccessible::Button));
    QCOMPARE(chip->text(QAccessible::Description), "2 chips");
    press(chip);
    press(find(table(), "Odd", QAccessible::Button));
    QCOMPARE(chip->text(QAccessible::Description), "1 chip");

    // Behind the title window nothing can be pressed, as nothing can be clicked.
    press(find(table(), "X", QAccessible::Button));
    QVERIFY(chip->state().invisible);
    press(find(table(), "Chip 1", QAccessible::Button));
    press(find(table(), "Even", QAccessible::Button));
    QCOMPARE(control<QListWidget>(table(), "List1(1)")->count(), 1);
    QCOMPARE(find(table(), "Chip 1", QAccessible::Button)->text(QAccessible::Description), "2 chips");
}

void AccessibilityTest::drawnNumberIsTheValueOfItsDisplay()
{
    press(find(*title, "Play", QAccessible::Button));
    QAccessibleInterface* cislo = find(table(), "Drawn number", QAccessible::StaticText);
    QVERIFY(cislo);
    QCOMPARE(cislo->text(QAccessible::Value), "1");

    press(find(table(), "Next", QAccessible::Button));
    press(find(table(), "Next", QAccessible::Button));
    for (int tick = 0; tick < 50; ++tick)
        table().timer1Tick();
    QCOMPARE(cislo->text(QAccessible::Value), "18");
    QCOMPARE(cislo->text(QAccessible::Name), "Drawn number");
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
