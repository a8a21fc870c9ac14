// The toolkit pieces whose faults the windows would hide: how presses become
// clicks, how the Delete key is remembered between polls, and how the wheel
// turns a time of day into a number.
#include "game/game.h"
#include "game/wheel.h"
#include "toolkit/click_label.h"
#include "toolkit/services.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

#include <array>

using namespace morvik;

class ToolkitTest : public QObject {
    Q_OBJECT

private slots:
    void mouseSequenceGivesClicks_data();
    void mouseSequenceGivesClicks();
    void deleteKeyIsRememberedUntilPolledAndForgottenOnFocusLoss();
    void wheelSpreadsNeighbouringTimesOverAllNumbers();
};

void ToolkitTest::mouseSequenceGivesClicks_data()
{
    QTest::addColumn<QList<int>>("events"); // QEvent types; a release lands at releaseX
    QTest::addColumn<int>("releaseX");
    QTest::addColumn<int>("clicks");

    const int press = QEvent::MouseButtonPress, release = QEvent::MouseButtonRelease;
    QTest::newRow("press and release") << QList<int>{press, release} << 5 << 1;
    // What Qt delivers for two quick clicks: each must lay a chip.
    QTest::newRow("double click counts twice")
        << QList<int>{press, release, QEvent::MouseButtonDblClick, release} << 5 << 2;
    QTest::newRow("released outside the label") << QList<int>{press, release} << 50 << 0;
}

void ToolkitTest::mouseSequenceGivesClicks()
{
    QFETCH(QList<int>, events);
    QFETCH(int, releaseX);
    QFETCH(int, clicks);

    QWidget window;
    ClickLabel label(7, &window);
    label.setGeometry(0, 0, 20, 20);
    QSignalSpy spy(&label, &ClickLabel::clicked);

    for (int type : events) {
        const bool up = type == QEvent::MouseButtonRelease;
        const QPoint at(up ? releaseX : 5, 5);
        QMouseEvent event(static_cast<QEvent::Type>(type), at, label.mapToGlobal(at), Qt::LeftButton,
                          up ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&label, &event);
    }

    QCOMPARE(spy.count(), clicks);
    for (const QList<QVariant>& click : spy)
        QCOMPARE(click.at(0).toInt(), 7);
}

void ToolkitTest::deleteKeyIsRememberedUntilPolledAndForgottenOnFocusLoss()
{
    DeleteKeyWatch keys(nullptr);
    QWidget window;
    auto key = [&](QEvent::Type type, bool autoRepeat = false) {
        QKeyEvent event(type, Qt::Key_Delete, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(&window, &event);
    };

    QVERIFY(!keys.deletePressed());

    // A tap that falls between two ticks is seen by the next one only.
    key(QEvent::KeyPress);
    key(QEvent::KeyRelease);
    QVERIFY(keys.deletePressed());
    QVERIFY(!keys.deletePressed());

    // Held, it reads as pressed on every poll; auto-repeat adds no release.
    key(QEvent::KeyPress);
    key(QEvent::KeyRelease, true);
    key(QEvent::KeyPress, true);
    QVERIFY(keys.deletePressed());
    QVERIFY(keys.deletePressed());
    key(QEvent::KeyRelease);
    QVERIFY(!keys.deletePressed());

    // The release of a key held while another program takes the keyboard
    // never arrives.
    key(QEvent::KeyPress);
    QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
    QApplication::sendEvent(qApp, &inactive);
    QVERIFY(!keys.deletePressed());
}

void ToolkitTest::wheelSpreadsNeighbouringTimesOverAllNumbers()
{
    // The game reseeds from the time of day before every draw, so what
    // matters is the first draw after each of many close seeds.
    WheelRandom wheel;
    std::array<int, NumberCount> hits{};
    for (int ms = 0; ms < 37 * 300; ++ms) {
        wheel.seed(1.0f + static_cast<float>(ms) / 1000.0f);
        const float r = wheel.next();
        QVERIFY(r >= 0.0f && r < 1.0f);
        ++hits[wheelNumber(r)];
    }
    for (int number = 0; number < NumberCount; ++number)
        QVERIFY2(hits[number] > 200 && hits[number] < 400, qPrintable(QString::number(number)));
}

QTEST_MAIN(ToolkitTest)
#include "toolkit_test.moc"
