// What only a Qt window shows, on real widgets at one and two device pixels
// to the layout pixel and moved from a screen of one to one of two. What the
// events mean is the session's tests'; a player's clicks, keys and spins, and
// each window laid out, are the end-to-end round's.
#include "qt/assets.h"
#include "qt/fonts.h"
#include "qt/screens.h"
#include "support/table.h"

#include <QAccessible>
#include <QScreen>
#include <QTest>

using namespace morvik;
using testing::Desk;
namespace b = morvik::ids::table;

class QtTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(installLayoutFont(assets::Font));
        QAccessible::installUpdateHandler([](QAccessibleEvent* event) {
            if (auto* widget = qobject_cast<QWidget*>(event->object()))
                told << heard(widget->objectName(), event->type());
        });
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            QTRY_VERIFY(QAccessible::isActive()); // once the screen readers' bus is found
    }
    void init()
    {
        desk = {};
        screens = std::make_unique<Screens>(desk.services());
        QTest::mouseClick(widget(ids::title::Label1), Qt::LeftButton); // Play
        QVERIFY(QTest::qWaitForWindowActive(widget(b::Form1))); // the title's loss of the keyboard is past
        told.clear();
    }
    void cleanup() { screens.reset(); }

    void timer1TheWheelAndAPressOnAListReachTheSession();
    void losingTheKeyboardLetsGoOfAHeldDelete();
    void aScreenReaderPlaysARound();
    void drawnAtTheScreensScaleWithTheProgramsOwnPictures();
    void everyControlIsDrawnAtTheNewScale();

private:
    // What assistive technology was told, as "Label4 <event>".
    static inline QStringList told;
    static QString heard(const QString& control, QAccessible::Event type)
    {
        return control + " " + QString::number(type, 16);
    }

    QWidget* widget(int id) const { return screens->widget(id); }
    Session& session() const { return screens->session(); }
    const Look& look(int id) const { return session().look(id); }
    QAccessibleInterface* reader(int id) const { return QAccessible::queryAccessibleInterface(widget(id)); }
    // What the screen shows of a control, once the program has drawn it.
    QImage seen(int id) const
    {
        QTest::qWait(30);
        QWidget* w = widget(id);
        const QPoint at = w->mapTo(w->window(), QPoint());
        return w->screen()->grabWindow(w->window()->winId(), at.x(), at.y(), w->width(), w->height()).toImage();
    }
    // The colour at a point given in layout pixels.
    QColor pixel(int id, QPointF at) const
    {
        const QImage image = seen(id);
        return image.pixelColor(qFloor(at.x() * image.devicePixelRatio()), qFloor(at.y() * image.devicePixelRatio()));
    }

    Desk desk;
    std::unique_ptr<Screens> screens;
};

void QtTest::timer1TheWheelAndAPressOnAListReachTheSession()
{
    const auto* timer1 = screens->findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(timer1 && timer1->isActive());
    QCOMPARE(timer1->interval(), 1);

    for (int chip = 0; chip < DenominationCount; ++chip)
        for (const int id : {b::Image1 + chip, b::Label1 + 20, b::Label1 + 20})
            session().click(id);
    QCOMPARE(look(b::List1).top, 1); // 12 entries, 11 in sight: the newest shows
    QWheelEvent away({10, 10}, {10, 10}, {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget(b::List1), &away);
    QCOMPARE(look(b::List1).top, 0);
    // The second entry, in layout pixels: a 2-pixel edge, entries 31 pixels apart.
    QTest::mouseClick(widget(b::List1), Qt::LeftButton, {}, {10, 48});
    QCOMPARE(look(b::List1).selected, 1);
}

// Delete takes back the selected entry at a tick. Held down while another
// program takes the keyboard, it never comes up: losing the keyboard lets it go.
void QtTest::losingTheKeyboardLetsGoOfAHeldDelete()
{
    session().click(b::Image1);
    session().click(b::Label1 + 3);
    for (const QEvent::Type loss : {QEvent::ApplicationDeactivate, QEvent::WindowDeactivate}) {
        session().click(b::Label1 + 4);
        session().pressEntry(b::List1, 0);
        QTest::keyPress(widget(b::Form1), Qt::Key_Delete);
        QTRY_COMPARE(look(b::List1).entries.size(), std::size_t(1));
        session().pressEntry(b::List1, 0);
        QEvent lost(loss);
        QApplication::sendEvent(loss == QEvent::ApplicationDeactivate ? static_cast<QObject*>(qApp) : widget(b::Form1),
                                &lost);
        QTest::qWait(20);
        QCOMPARE(look(b::List1).entries, std::vector<std::string>{"4-1"});
        QTest::keyRelease(widget(b::Form1), Qt::Key_Delete);
    }
}

void QtTest::aScreenReaderPlaysARound()
{
    auto press = [](QAccessibleInterface* control) {
        QCOMPARE(control->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    QCOMPARE(reader(b::Form1)->role(), QAccessible::Window);
    QAccessibleInterface* chip = reader(b::Image1 + 4);
    QCOMPARE(chip->role(), QAccessible::Button);
    QCOMPARE(chip->text(QAccessible::Name), "Chip 50");
    QCOMPARE(chip->text(QAccessible::Description), "2 chips");
    press(chip);
    QVERIFY(chip->state().pressed && !reader(b::Image1 + 3)->state().pressed);
    press(reader(b::Label1 + 17));
    press(reader(b::Label5 + 1)); // the red disc
    QCOMPARE(chip->text(QAccessible::Description), "0 chips");
    for (const QAccessible::Event type : {QAccessible::StateChanged, QAccessible::DescriptionChanged})
        QVERIFY(told.contains(heard("Image1(4)", type)));

    QAccessibleInterface* bets = reader(b::List1);
    QCOMPARE(bets->role(), QAccessible::List);
    QCOMPARE(bets->childCount(), 2);
    QCOMPARE(bets->child(1)->role(), QAccessible::ListItem);
    QCOMPARE(bets->child(1)->text(QAccessible::Name), "Red-50");
    QCOMPARE(bets->indexOfChild(bets->child(1)), 1);
    press(bets->child(0));
    QVERIFY(bets->child(0)->state().selected && !bets->child(1)->state().selected);
    QCOMPARE(bets->text(QAccessible::Value), "17-50");
    QVERIFY(told.contains(heard("List1(0)", QAccessible::Selection)));

    const int focused = session().focus();
    QTest::keyClick(widget(b::Form1), Qt::Key_Tab); // the keyboard's focus moves, and a screen reader follows
    QVERIFY(session().focus() != focused && reader(session().focus())->state().focused);
    QVERIFY(told.contains(heard(widget(session().focus())->objectName(), QAccessible::Focus)));

    press(reader(b::Label6));
    QCOMPARE(reader(b::Label4)->role(), QAccessible::StaticText);
    QVERIFY(told.contains(heard("Label4", QAccessible::NameChanged)));
    QCOMPARE(reader(b::List1 + 1)->text(QAccessible::Name), "Player 2 bets");
    press(reader(b::Label6)); // the spin hides the tray: its chips cannot be pressed
    press(reader(b::Image1 + 3));
    QVERIFY(chip->state().pressed && !reader(b::Image1 + 3)->state().pressed);
    QTRY_VERIFY(widget(b::Picture2)->isVisible());
    QCOMPARE(reader(b::Cislo)->text(QAccessible::Value), "18"); // heard once, when it stops
    QCOMPARE(told.count(heard("Cislo", QAccessible::ValueChanged)), 1);
}

void QtTest::drawnAtTheScreensScaleWithTheProgramsOwnPictures()
{
    // Line1 runs down x = 136 on the green table, one layout pixel wide.
    for (const qreal x : {135.9, 136.0, 136.6, 136.99, 137.0})
        QCOMPARE(pixel(b::Picture1, {x, 300}), x >= 136 && x < 137 ? QColor(255, 255, 255) : QColor(0, 128, 0));
    QImage disc = seen(b::Label5).convertToFormat(QImage::Format_Indexed8); // its edge smoothed: more than 2 colours
    QVERIFY(disc.colorCount() > 2);

    // The chosen chip is framed, 3 layout pixels wide; its picture, the 20's,
    // fills the rest: its rim at nine o'clock is green.
    session().click(b::Image1 + 3);
    for (const qreal at : {0.0, 2.9})
        QCOMPARE(pixel(b::Image1 + 3, {at, 30}), QColor(255, 238, 0));
    const QColor rim = pixel(b::Image1 + 3, {5, 30});
    QVERIFY2(qAbs(rim.red() - 38) + qAbs(rim.green() - 135) + qAbs(rim.blue() - 55) < 12, qPrintable(rim.name()));
    QCOMPARE(pixel(b::Image1 + 2, {0, 0}), QColor(0, 0, 0)); // no frame

    // The title's artwork is stored at one and two device pixels to the
    // pixel: a screen of either shows it as stored, at its size.
    QTest::mouseClick(widget(b::Label7), Qt::LeftButton);
    const QImage title = seen(ids::title::Image1);
    const QImage artwork = assets::picture(Art::Title, -1, static_cast<int>(title.devicePixelRatio()));
    QCOMPARE(artwork.size(), QSize(468, 227) * title.devicePixelRatio());
    for (const QPoint at : {QPoint(100, 100), QPoint(301, 171), QPoint(600, 300)})
        QCOMPARE(title.pixelColor(at), artwork.pixelColor(at));
}

// A window moved to a screen of another scale draws every control as one
// made there.
void QtTest::everyControlIsDrawnAtTheNewScale()
{
    if (QGuiApplication::screens().size() < 2)
        QSKIP("needs two screens of different scales");
    QScreen* doubled = QGuiApplication::screens()[1];
    auto moveTo = [](QWidget* window, QScreen* screen) {
        window->setScreen(screen);
        window->move(screen->geometry().topLeft() + QPoint(20, 20));
    };
    Desk otherDesk;
    Screens there(otherDesk.services());
    moveTo(there.widget(ids::title::Form2), doubled);
    there.session().click(ids::title::Label1);
    for (Screens* s : {screens.get(), &there})
        for (const int id : {b::Image1 + 3, b::Label1 + 17, b::Label5 + 1})
            s->session().click(id);
    QCOMPARE(there.widget(b::Form1)->devicePixelRatioF(), 2.0);
    QCOMPARE(widget(b::Form1)->devicePixelRatioF(), 1.0);
    for (int id = 0; id < ids::Count; ++id)
        widget(id)->grab(); // drawn at the first scale

    for (const int window : {ids::title::Form2, b::Form1})
        moveTo(widget(window), doubled);
    QTRY_COMPARE(widget(b::Form1)->devicePixelRatioF(), 2.0);
    for (int id = 0; id < ids::Count; ++id)
        QVERIFY2(widget(id)->grab().toImage() == there.widget(id)->grab().toImage(), layoutName(id).c_str());
}

QTEST_MAIN(QtTest)
#include "qt_test.moc"
