// The Qt front end passes raw events on and draws and tells what the session
// says, on real widgets at one and two device pixels to the layout pixel and
// moved from a screen of one to one of two. What the events mean is tested in
// the session; the player's steps (drags, clicks on a list, what a spin hides)
// are the end-to-end driver's.
#include "qt/assets.h"
#include "qt/fonts.h"
#include "qt/screens.h"
#include "support/table.h"

#include <QAccessible>
#include <QScreen>
#include <QTest>

using namespace morvik;
using namespace morvik::testing;
namespace b = morvik::ids::table;

namespace {

// What assistive technology was told, as "Label4 NameChanged".
QStringList told;

void record(QAccessibleEvent* event)
{
    if (auto* widget = qobject_cast<QWidget*>(event->object()))
        told << widget->objectName() + " " + QString::number(event->type(), 16);
}

QString heard(const QString& control, QAccessible::Event type)
{
    return control + " " + QString::number(type, 16);
}

} // namespace

class QtTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(installLayoutFont(assets::Font));
        QAccessible::installUpdateHandler(record);
        if (QGuiApplication::platformName() == QLatin1String("xcb"))
            QTRY_VERIFY(QAccessible::isActive()); // once the screen readers' bus is found
    }
    void init()
    {
        desk = {};
        screens = std::make_unique<Screens>(desk.services());
        click(ids::title::Label1); // Play
        QVERIFY(QTest::qWaitForWindowActive(widget(b::Form1))); // the title's loss of the keyboard is past
        told.clear();
    }
    void cleanup() { screens.reset(); }

    void theMouseTheWheelAndTimer1ReachTheSession();
    void theKeyboardPlaysAndItsLossLetsGo();
    void drawnAtTheScreensScale();
    void aScreenReaderPlaysARound();
    void everyControlIsDrawnAtTheNewScale();

private:
    QWidget* widget(int id) const { return screens->widget(id); }
    Session& session() const { return screens->session(); }
    const std::vector<std::string>& entries(int player) const { return session().look(b::List1 + player).entries; }
    void click(int id) { QTest::mouseClick(widget(id), Qt::LeftButton); }
    // A press on a bet list at a point in layout pixels.
    void pressList(int player, QPoint at) { QTest::mouseClick(widget(b::List1 + player), Qt::LeftButton, {}, at); }
    void key(Qt::Key key) { QTest::keyClick(widget(b::Form1), key); }
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
        const qreal density = image.devicePixelRatio();
        return image.pixelColor(qFloor(at.x() * density), qFloor(at.y() * density));
    }
    // Every colour the control shows: anti-aliased text and edges have many.
    QSet<QRgb> tones(int id) const
    {
        const QImage image = seen(id).convertToFormat(QImage::Format_RGB32);
        QSet<QRgb> all;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                all.insert(image.pixel(x, y));
        return all;
    }
    bool shows(int id, QColor colour) const { return tones(id).contains(colour.rgb()); }
    QAccessibleInterface* reader(int id) const { return QAccessible::queryAccessibleInterface(widget(id)); }

    Desk desk;
    std::unique_ptr<Screens> screens;
};

void QtTest::theMouseTheWheelAndTimer1ReachTheSession()
{
    const auto* timer1 = screens->findChild<QTimer*>(QStringLiteral("Timer1"));
    QVERIFY(timer1 && timer1->isActive());
    QCOMPARE(timer1->interval(), 1);

    click(b::Image1 + 1);
    click(b::Label1 + 17);
    QTest::mouseDClick(widget(b::Label1 + 17), Qt::LeftButton); // a quick second click on a cell counts
    QTest::mouseRelease(widget(b::Label1 + 17), Qt::LeftButton);
    QCOMPARE(entries(0), (std::vector<std::string>{"17-5", "17-5"}));
    pressList(0, {10, 48}); // the second entry: a 2-pixel edge, entries 31 pixels apart
    QCOMPARE(session().look(b::List1).selected, 1);

    for (int chip = 0; chip < DenominationCount; ++chip) {
        click(b::Image1 + chip);
        click(b::Label1 + 20);
        click(b::Label1 + 20);
    }
    QCOMPARE(session().look(b::List1).top, 1); // 12 entries, 11 in sight: the newest shows
    QWheelEvent away({10, 10}, {10, 10}, {}, {0, 120}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget(b::List1), &away);
    QCOMPARE(session().look(b::List1).top, 0);

    // A double click on "Next" hands over once: the second press is no click.
    click(b::Label6);
    QTest::mouseDClick(widget(b::Label6), Qt::LeftButton);
    QTest::mouseRelease(widget(b::Label6), Qt::LeftButton);
    QVERIFY(widget(b::List1 + 1)->isVisible() && widget(b::Picture2)->isVisible());
}

void QtTest::theKeyboardPlaysAndItsLossLetsGo()
{
    // Qt on X11 names Shift+Tab Backtab going down and Tab coming up.
    auto backTab = [this](int times) {
        for (int i = 0; i < times; ++i) {
            QTest::keyPress(widget(b::Form1), Qt::Key_Backtab, Qt::ShiftModifier);
            QTest::keyRelease(widget(b::Form1), Qt::Key_Tab, Qt::ShiftModifier);
        }
    };
    QCOMPARE(session().focus(), b::Label1); // the 0
    backTab(4); // "X", "Next", the bet list, the 100-chip
    key(Qt::Key_Left);
    key(Qt::Key_Space);
    QVERIFY(session().accessible(b::Image1 + 4).pressed);
    for (int i = 0; i < 5; ++i)
        key(Qt::Key_Tab); // the 100-chip, the bet list, "Next", "X", the 0
    key(Qt::Key_Down);
    key(Qt::Key_Enter);
    key(Qt::Key_Right);
    key(Qt::Key_Return);
    QCOMPARE(entries(0), (std::vector<std::string>{"2-50", "3-50"}));
    QCOMPARE(pixel(b::Label1 + 3, {0, 0}), toQColor(FocusColour));
    QVERIFY(told.contains(heard("Label1(3)", QAccessible::Focus))); // a screen reader follows

    backTab(6); // 2, 1, 0, "X", "Next", the bet list
    key(Qt::Key_Up);
    QCOMPARE(session().look(b::List1).selected, 1);

    // Delete takes back the selected entry. Held down while another program
    // takes the keyboard, it never comes up: losing the keyboard lets it go.
    for (const QEvent::Type loss : {QEvent::ApplicationDeactivate, QEvent::WindowDeactivate}) {
        click(b::Label1 + 4);
        pressList(0, {10, 15});
        QTest::keyPress(widget(b::Form1), Qt::Key_Delete);
        QTRY_COMPARE(entries(0).size(), std::size_t(2));
        pressList(0, {10, 15});
        QEvent lost(loss);
        QApplication::sendEvent(loss == QEvent::ApplicationDeactivate ? static_cast<QObject*>(qApp) : widget(b::Form1), &lost);
        QTest::qWait(20);
        QCOMPARE(entries(0).size(), std::size_t(2));
        QTest::keyRelease(widget(b::Form1), Qt::Key_Delete);
    }
}

void QtTest::drawnAtTheScreensScale()
{
    // Line1 runs down x = 136 on the green table, one layout pixel wide.
    for (const qreal x : {135.9, 136.0, 136.6, 136.99, 137.0})
        QCOMPARE(pixel(b::Picture1, {x, 300}), x >= 136 && x < 137 ? QColor(255, 255, 255) : QColor(0, 128, 0));
    QCOMPARE(pixel(b::Picture1, {72, 448}), QColor(0, 0, 0)); // the black disc's middle, its edge smoothed
    QVERIFY(tones(b::Label5).size() > 2);
    QCOMPARE(pixel(b::Cislo, {0.5, 16}), QColor(128, 128, 128)); // its sunken edge
    QCOMPARE(pixel(b::Cislo, {72.5, 16}), QColor(255, 255, 255));
    QVERIFY(shows(b::Cislo, QColor(192, 0, 0)) && !shows(b::Cislo, QColor(0, 0, 0))); // 1, in red

    // The chosen chip is framed, 3 layout pixels wide; the picture fills the rest.
    click(b::Image1 + 3);
    for (const qreal at : {0.0, 2.9})
        QCOMPARE(pixel(b::Image1 + 3, {at, 30}), toQColor(ChosenColour));
    const QColor shown = pixel(b::Image1 + 3, {3, 30}), stored = assets::picture(Art::Chip, 3, 1).pixelColor(3, 30);
    QVERIFY(qAbs(shown.red() - stored.red()) + qAbs(shown.green() - stored.green()) + qAbs(shown.blue() - stored.blue()) < 30);
    QCOMPARE(pixel(b::Image1 + 2, {0, 0}), QColor(0, 0, 0)); // no frame

    // The selected entry: white on navy, below the list's 2-pixel sunken edge.
    click(b::Label1 + 17);
    click(b::Label1 + 18);
    pressList(0, {10, 48});
    QCOMPARE(pixel(b::List1, {1, 1}), QColor(128, 128, 128));
    QCOMPARE(pixel(b::List1, {4, 40}), QColor(0, 0, 128));
    QCOMPARE(pixel(b::List1, {4, 20}), QColor(0, 0, 0));

    // The title's artwork is stored at one and two device pixels to the
    // pixel: a screen of either shows it as stored.
    click(b::Label7);
    const QImage title = seen(ids::title::Image1);
    const QImage artwork = assets::picture(Art::Title, -1, static_cast<int>(title.devicePixelRatio()));
    for (const QPoint at : {QPoint(100, 100), QPoint(301, 171), QPoint(600, 300)})
        QCOMPARE(title.pixelColor(at), artwork.pixelColor(at));
}

void QtTest::aScreenReaderPlaysARound()
{
    auto press = [](QAccessibleInterface* control) {
        QCOMPARE(control->actionInterface()->actionNames(), QStringList{QAccessibleActionInterface::pressAction()});
        control->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    QAccessibleInterface* chip = reader(b::Image1 + 4);
    QCOMPARE(chip->role(), QAccessible::Button);
    QCOMPARE(chip->text(QAccessible::Name), "Chip 50");
    QCOMPARE(chip->text(QAccessible::Description), "2 chips");
    press(chip);
    QVERIFY(chip->state().pressed && !reader(b::Image1 + 3)->state().pressed);
    press(reader(b::Label1 + 17));
    press(reader(b::Label5 + 1)); // the red disc
    QCOMPARE(chip->text(QAccessible::Description), "0 chips");

    QAccessibleInterface* bets = reader(b::List1);
    QCOMPARE(bets->role(), QAccessible::List);
    QCOMPARE(bets->childCount(), 2);
    QCOMPARE(bets->child(1)->role(), QAccessible::ListItem);
    QCOMPARE(bets->child(1)->text(QAccessible::Name), "Red-50");
    press(bets->child(0));
    QVERIFY(bets->child(0)->state().selected && !bets->child(1)->state().selected);
    QVERIFY(told.contains(heard("List1(0)", QAccessible::Selection)));
    QCOMPARE(bets->text(QAccessible::Value), "17-50");
    QCOMPARE(bets->indexOfChild(bets->child(1)), 1);
    QTest::keyClick(widget(b::Form1), Qt::Key_Delete);
    QTRY_COMPARE(bets->childCount(), 1);
    QCOMPARE(bets->child(0)->text(QAccessible::Name), "Red-50");

    press(reader(b::Label6));
    QAccessibleInterface* player = reader(b::Label4);
    QCOMPARE(player->role(), QAccessible::StaticText);
    QVERIFY(told.contains(heard("Label4", QAccessible::NameChanged)));
    QVERIFY(told.contains(heard("Image1(4)", QAccessible::DescriptionChanged)));
    QVERIFY(told.contains(heard("Image1(4)", QAccessible::StateChanged)));
    QCOMPARE(reader(b::List1 + 1)->text(QAccessible::Name), "Player 2 bets");

    press(reader(b::Label6)); // the spin, heard once, when it stops
    QTRY_VERIFY(widget(b::Picture2)->isVisible());
    QCOMPARE(reader(b::Cislo)->text(QAccessible::Value), "18");
    QCOMPARE(told.count(heard("Cislo", QAccessible::ValueChanged)), 1);
    QCOMPARE(reader(b::Form1)->role(), QAccessible::Window);
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
    QTest::mouseClick(there.widget(ids::title::Label1), Qt::LeftButton);
    for (Screens* s : {screens.get(), &there})
        for (const int id : {b::Image1 + 3, b::Label1 + 17, b::Label5 + 1})
            QTest::mouseClick(s->widget(id), Qt::LeftButton);
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
