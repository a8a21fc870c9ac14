// What only the Qt windows show, at one and two device pixels to the layout pixel; screen_reader.py hears them.
#include "qt/assets.h"
#include "qt/screens.h"
#include "support/table.h"

#include <QAccessible>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QProcess>
#include <QScreen>
#include <QTest>

using namespace morvik;
namespace b = morvik::ids::table;

// The desktop's settings portal on the test's own session bus: its contrast setting.
class Portal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    uint contrast = 0;
public slots:
    QDBusVariant Read(const QString&, const QString&) { return QDBusVariant(QVariant::fromValue(QDBusVariant(contrast))); }
};

class QtTest : public QObject {
    Q_OBJECT

    QWidget* widget(int id) const { return screens->widget(id); }
    Session& session() const { return screens->session; }
    const Look& look(int id) const { return LookOf::of(session(), id); }
    // What the screen shows of a control, once the program has drawn it.
    QImage seen(int id) const
    {
        QTest::qWait(30);
        QWidget* w = widget(id);
        const QPoint at = w->mapTo(w->window(), QPoint());
        return w->screen()->grabWindow(w->window()->winId(), at.x(), at.y(), w->width(), w->height()).toImage();
    }

    testing::Desk desk;
    std::unique_ptr<Screens> screens;

private slots:
    void initTestCase()
    {
        QVERIFY(installLayoutFont(assets::Font));
    }
    void init()
    {
        screens = std::make_unique<Screens>(desk.services());
        QTest::mouseClick(widget(ids::title::Label1), Qt::LeftButton); // Play
        QVERIFY(QTest::qWaitForWindowActive(widget(b::Form1))); // the title's loss of the keyboard is past
    }
    void cleanup() { screens.reset(); }

    void drawnAtTheScreensScaleWithTheProgramsOwnPicturesPlayedWithTheMouseAndKeys()
    {
        // Line1 runs down x = 136 on the green table, one layout pixel wide.
        const QImage cloth = seen(b::Picture1);
        const qreal d = cloth.devicePixelRatio(); // device pixels to the layout pixel
        for (const qreal x : {135.9, 136.0, 136.6, 136.99, 137.0})
            QCOMPARE(cloth.pixelColor(qFloor(x * d), 300 * d),
                     x >= 136 && x < 137 ? QColor(255, 255, 255) : QColor(0, 128, 0));
        // The disc's edge is smoothed: more colours than its own and the cloth's.
        QVERIFY(seen(b::Label5).convertToFormat(QImage::Format_Indexed8).colorCount() > 2);

        // The chosen 20's picture inside its frame: its rim at nine o'clock green.
        session().click(b::Image1 + 3);
        const QColor rim = seen(b::Image1 + 3).pixelColor(5 * d, 30 * d);
        QVERIFY2(qAbs(rim.red() - 38) + qAbs(rim.green() - 135) + qAbs(rim.blue() - 55) < 12, qPrintable(rim.name()));

        QCOMPARE(screens->findChild<QTimer*>(QStringLiteral("Timer1"))->interval(), 1);

        for (int chip = 0; chip < DenominationCount; ++chip)
            for (const int id : {b::Image1 + chip, b::Label1 + 20, b::Label1 + 20})
                session().click(id);
        // 12 entries, 11 in sight from the second: a third of a notch away from the player shows the first.
        QWheelEvent away({10, 10}, {10, 10}, {}, {0, 40}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget(b::List1), &away);
        QCOMPARE(look(b::List1).top, 0);
        session().pressEntry(b::List1, 1);

        // Delete takes the entry selected back at a tick; the keyboard lost, it lets go of the key.
        for (const auto& [loss, left] : {std::pair{QEvent::ApplicationDeactivate, 11}, {QEvent::WindowDeactivate, 10}}) {
            QTest::keyPress(widget(b::Form1), Qt::Key_Delete);
            QTRY_COMPARE(look(b::List1).entries.size(), std::size_t(left));
            session().pressEntry(b::List1, 0);
            QEvent lost(loss);
            QApplication::sendEvent(widget(b::Form1), &lost);
            QTest::qWait(20);
            QCOMPARE(look(b::List1).entries.size(), std::size_t(left));
            QTest::keyRelease(widget(b::Form1), Qt::Key_Delete);
        }

        // The title's artwork, stored at one and two device pixels to the pixel, shown as stored.
        QTest::mouseClick(widget(b::Label7), Qt::LeftButton);
        QTRY_COMPARE(seen(ids::title::Image1), assets::picture(Art::Title, -1, qRound(d)));
    }

    // A window moved to a screen of another scale draws every control as one made there.
    void everyControlIsDrawnAtTheNewScale()
    {
        if (QGuiApplication::screens().size() < 2)
            QSKIP("needs two screens of different scales");
        QScreen* doubled = QGuiApplication::screens()[1];
        auto moveTo = [](QWidget* window, QScreen* screen) {
            window->setScreen(screen);
            window->move(screen->geometry().topLeft() + QPoint(20, 20));
        };
        Screens there(desk.services());
        moveTo(there.widget(ids::title::Form2), doubled);
        there.session.click(ids::title::Label1);
        for (Screens* s : {screens.get(), &there})
            for (const int id : {b::Image1 + 3, b::Label1 + 17, b::Label5 + 1})
                s->session.click(id);
        for (int id = 0; id < ids::Count; ++id)
            widget(id)->grab(); // drawn at the first scale

        for (const int window : {ids::title::Form2, b::Form1})
            moveTo(widget(window), doubled);
        QTRY_COMPARE(widget(b::Form1)->devicePixelRatioF(), 2.0);
        for (int id = 0; id < ids::Count; ++id)
            QVERIFY2(widget(id)->grab().toImage() == there.widget(id)->grab().toImage(), layoutName(id).c_str());
    }

    // Turned on and off mid-round by the portal, only the look changes; a program started with it on reads it.
    void followsTheDesktopsContrastSetting()
    {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            QSKIP("the settings portal is on the desktop's bus");
        QDBusConnection bus = QDBusConnection::sessionBus();
        Portal portal;
        QVERIFY(bus.registerObject("/org/freedesktop/portal/desktop", &portal, QDBusConnection::ExportAllSlots));
        QVERIFY(bus.registerService("org.freedesktop.portal.Desktop"));
        const auto changed = [&](uint contrast) {
            bus.send(QDBusMessage::createSignal("/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings",
                                                "SettingChanged")
                     << "org.freedesktop.appearance" << "contrast" << QVariant::fromValue(QDBusVariant(contrast)));
        };
        for (const int id : {b::Image1, b::Label1 + 18})
            QTest::mouseClick(widget(id), Qt::LeftButton);
        QTest::keyClick(widget(b::Form1), Qt::Key_Right); // the focus shown on 18
        const QImage normal = seen(b::Form1);
        changed(1);
        QTRY_VERIFY(seen(b::Form1) != normal);
        const QString scale = QString::number(widget(b::Form1)->devicePixelRatioF());
        const QString photo = "contrast-" + scale + "x.ppm"; // in the build tree, one for each scale's test
        QVERIFY(seen(b::Form1).save(photo));
        QProcess measure;
        measure.start(QFINDTESTDATA("../e2e/contrast.py"), {photo, scale});
        QVERIFY(measure.waitForFinished());
        QCOMPARE(measure.readAllStandardOutput(), "numeral 17 21.0\nnumeral 18 21.0\ndrawn number 21.0\n"
                 "focus 18 outside 16.7\nfocus 18 inside 16.7\nchip in hand outside 17.4\nchip in hand inside 17.4\n"
                 "red to black deuteranomaly 21.0\nred to black protanomaly 21.0\nred to black tritanomaly 21.0\n");
        changed(0);
        QTRY_COMPARE(seen(b::Form1), normal);

        portal.contrast = 1;
        screens = std::make_unique<Screens>(desk.services());
        session().click(ids::title::Label1);
        QTRY_VERIFY(std::holds_alternative<Fill>(session().plan(b::Label1 + 18, {96}, false).front()));
    }
};

QTEST_MAIN(QtTest)
#include "qt_test.moc"
