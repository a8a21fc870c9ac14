// Random play on the real windows: seeded clicks anywhere on whichever window
// is up, clicks aimed at the controls so that bets, withdrawals, spins and
// returns to the title really happen, Delete presses and real ticks of
// Timer1. After every event the screen must show exactly the game's state,
// every chip must be accounted for, and Qt must not have complained. Then the
// hostile moments: "X" and "Play" inside one tick, and "Quit" while a hidden
// table spins.
#include "game/wheel.h"
#include "layout/table.h"
#include "layout/title.h"
#include "screen_checks.h"
#include "screens/assets.h"
#include "screens/table_window.h"
#include "screens/title_window.h"
#include "toolkit/conversions.h"
#include "toolkit/fonts.h"
#include "toolkit/services.h"

#include <QApplication>
#include <QEventLoop>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <random>

using namespace morvik;
using namespace morvik::testing;

namespace {

// Each session starts a fresh game: a stock of 24 chips a player runs dry
// after a while, and then no more bets are laid.
constexpr int Sessions = 10;
constexpr int EventsPerSession = 2'000;
constexpr std::uint64_t FirstSeed = 1;

// Every warning, critical or fatal message Qt gives while the windows are in use.
QStringList qtComplaints;
QtMessageHandler earlierHandler = nullptr;

void recordComplaint(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg || type == QtCriticalMsg || type == QtFatalMsg)
        qtComplaints << message;
    if (earlierHandler)
        earlierHandler(type, context, message);
}

// The time of day as SystemClock reads it, from whole milliseconds, moving on
// one millisecond with every reading so that each spin tick gets a fresh seed.
class SteppingClock : public Clock {
public:
    explicit SteppingClock(std::int64_t startMs)
        : msecs(startMs)
    {
    }
    float timeOfDay() override { return static_cast<float>(msecs++ % 86'400'000) / 1000.0f; }

private:
    std::int64_t msecs;
};

// What a bet pays back, stake included, written out from the table's rules.
int payout(const QString& entry, int drawn)
{
    static const QList<int> red{1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36};
    const QString target = entry.section('-', 0, 0);
    bool number = false;
    const int n = target.toInt(&number);
    if (number)
        return n == drawn ? 36 : 0;
    const bool wins = (target == "Red" && red.contains(drawn))
        || (target == "Black" && drawn != 0 && !red.contains(drawn)) || (target == "Even" && drawn % 2 == 0)
        || (target == "Odd" && drawn % 2 == 1) || (target == "Big" && drawn > 18) || (target == "Small" && drawn < 19);
    return wins ? 2 : 0;
}

int denominationOfEntry(const QString& entry)
{
    static const QList<int> values{1, 5, 10, 20, 50, 100};
    return static_cast<int>(values.indexOf(entry.section('-', 1, 1).toInt()));
}

QStringList entryTexts(const std::vector<Bet>& bets)
{
    QStringList texts;
    for (const Bet& bet : bets)
        texts << QString::fromStdString(entryText(bet));
    return texts;
}

QString describe(const GameState& s)
{
    QString text = QStringLiteral("player %1, spin %2, chip %3, Cislo %4, counters")
                       .arg(s.CurrentPlayer)
                       .arg(s.SpinTicks)
                       .arg(s.ChipValue)
                       .arg(s.Cislo);
    for (Count c : s.Label3)
        text += ' ' + QString::number(c);
    for (int p = 0; p < PlayerCount; ++p) {
        text += QStringLiteral(", store %1:").arg(p);
        for (Count c : s.PlayerChips[p])
            text += ' ' + QString::number(c);
        text += QStringLiteral(", list %1: ").arg(p) + entryTexts(s.List1[p]).join(' ');
    }
    return text;
}

bool sameState(const GameState& a, const GameState& b)
{
    return a.ChipValue == b.ChipValue && a.ChipIndex == b.ChipIndex && a.CurrentPlayer == b.CurrentPlayer
        && a.PlayerChips == b.PlayerChips && a.SpinTicks == b.SpinTicks && a.Label3 == b.Label3
        && a.List1 == b.List1 && a.Cislo == b.Cislo;
}

} // namespace

class RandomClicksTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void cleanupTestCase() { qInstallMessageHandler(earlierHandler); }

    void randomPlayKeepsScreenAndChipsTrue();
    void xThenPlayInsideOneTickChangesNothing();
    void quitDuringAHiddenSpinEndsBeforeTheSpinIsSettled();

private:
    // The controls the checks read, found once per table.
    struct Screen {
        std::array<QLabel*, DenominationCount> counters{};
        std::array<QListWidget*, PlayerCount> lists{};
        QLabel* player = nullptr;
        QLabel* cislo = nullptr;
        QWidget* tray = nullptr;
    };

    // Each player's chips in hand and in the bet list, by denomination, as
    // the screen shows them; the stock of a player who is not at the table
    // is in the store, which the screen does not show.
    using Holdings = std::array<std::array<std::int64_t, DenominationCount>, PlayerCount>;

    void start(std::uint64_t seed);
    TableWindow* table() const { return title->tableWindow(); }
    QWidget* windowUp() const;
    void findControls();
    QString checkScreen() const;
    Holdings holdings() const;
    QString checkChips(const Holdings& before, const QList<QStringList>& listsBefore, const GameState& was) const;
    void playEvent();
    void clickAt(QWidget* window, QPoint at);
    void clickInside(QWidget* control);
    void aimAtTable();
    void aimAtTitle();

    int below(int n) { return static_cast<int>(rng() % static_cast<std::uint64_t>(n)); }

    std::mt19937_64 rng;
    std::unique_ptr<SteppingClock> clock;
    WheelRandom wheel;
    std::unique_ptr<DeleteKeyWatch> keys;
    std::unique_ptr<TitleWindow> title;
    Screen screen;
    std::deque<QString> recent; // the last events, for the failure message
    bool deleteHeld = false;
    int quitClicks = 0; // clicks that landed on "Quit"
    int quitRequests = 0; // what the title window asked for
    // How far the play reached.
    int settled = 0, laid = 0, withdrawn = 0, returnsDuringSpin = 0, refusedDuringSpin = 0;
};

void RandomClicksTest::initTestCase()
{
    QVERIFY(installLayoutFont(assets::Font));
    earlierHandler = qInstallMessageHandler(recordComplaint);
}

void RandomClicksTest::init()
{
    qtComplaints.clear();
    keys = std::make_unique<DeleteKeyWatch>(nullptr);
}

void RandomClicksTest::cleanup()
{
    title.reset();
    keys.reset();
    clock.reset();
}

void RandomClicksTest::start(std::uint64_t seed)
{
    rng.seed(seed);
    clock = std::make_unique<SteppingClock>(static_cast<std::int64_t>(rng() % 86'400'000));
    title = std::make_unique<TitleWindow>(Game::Services{*clock, wheel, *keys});
    connect(title.get(), &TitleWindow::quitRequested, this, [this] { ++quitRequests; });
    title->show();
    screen = {};
    recent.clear();
    quitClicks = quitRequests = 0;
}

QWidget* RandomClicksTest::windowUp() const
{
    if (title->isVisible())
        return title.get();
    return table();
}

void RandomClicksTest::findControls()
{
    if (screen.player || !table())
        return;
    for (int i = 0; i < DenominationCount; ++i)
        screen.counters[i] = control<QLabel>(*table(), qPrintable(QStringLiteral("Label3(%1)").arg(i)));
    for (int p = 0; p < PlayerCount; ++p)
        screen.lists[p] = control<QListWidget>(*table(), qPrintable(QStringLiteral("List1(%1)").arg(p)));
    screen.player = control<QLabel>(*table(), "Label4");
    screen.cislo = control<QLabel>(*table(), "Cislo");
    screen.tray = control<QWidget>(*table(), "Picture2");
}

// Empty when the screen shows the game's state, else what differs.
QString RandomClicksTest::checkScreen() const
{
    const bool titleUp = title->isVisible();
    if (!table())
        return titleUp ? QString() : QStringLiteral("no window is up");
    if (titleUp == table()->isVisible())
        return QStringLiteral("title up %1, table up %2").arg(titleUp).arg(table()->isVisible());

    const GameState& s = table()->game().state();
    QStringList wrong;
    for (int i = 0; i < DenominationCount; ++i) {
        if (screen.counters[i]->text() != QString::number(s.Label3[i]))
            wrong << QStringLiteral("Label3(%1) shows %2").arg(i).arg(screen.counters[i]->text());
    }
    for (int p = 0; p < PlayerCount; ++p) {
        if (items(*screen.lists[p]) != entryTexts(s.List1[p]))
            wrong << QStringLiteral("List1(%1) shows %2").arg(p).arg(items(*screen.lists[p]).join(' '));
    }
    if (screen.player->text() != QString::fromStdString(playerName(s.CurrentPlayer)))
        wrong << "Label4 shows " + screen.player->text();
    // Hidden flags, not visibility: the table may itself be behind the title.
    if (screen.tray->isHidden() != s.spinning())
        wrong << QStringLiteral("Picture2 hidden %1").arg(screen.tray->isHidden());
    if (screen.lists[0]->isHidden() != s.spinning())
        wrong << QStringLiteral("List1(0) hidden %1").arg(screen.lists[0]->isHidden());
    if (screen.lists[1]->isHidden() != (s.spinning() || s.CurrentPlayer == 0))
        wrong << QStringLiteral("List1(1) hidden %1").arg(screen.lists[1]->isHidden());
    if (screen.cislo->text() != QString::number(s.Cislo))
        wrong << "Cislo shows " + screen.cislo->text();
    if (screen.cislo->palette().color(QPalette::WindowText) != toQColor(CellColours[s.Cislo]))
        wrong << "Cislo is coloured " + screen.cislo->palette().color(QPalette::WindowText).name();
    return wrong.join("; ");
}

RandomClicksTest::Holdings RandomClicksTest::holdings() const
{
    const GameState& s = table()->game().state();
    Holdings held{};
    for (int p = 0; p < PlayerCount; ++p) {
        const bool atTable = !s.spinning() && s.CurrentPlayer == p;
        for (int d = 0; d < DenominationCount; ++d)
            held[p][d] = atTable ? screen.counters[d]->text().toLongLong() : s.PlayerChips[p][d];
        for (const QString& entry : items(*screen.lists[p]))
            ++held[p][denominationOfEntry(entry)];
    }
    return held;
}

// Between spins no chip may appear or vanish; the tick that ends a spin
// turns each player's staked chips into exactly what they win.
QString RandomClicksTest::checkChips(const Holdings& before, const QList<QStringList>& listsBefore,
                                     const GameState& was) const
{
    const GameState& s = table()->game().state();
    const bool spinEnded = (was.spinning() || was.CurrentPlayer == 1) && !s.spinning() && s.CurrentPlayer == 0;
    Holdings expected = before;
    if (spinEnded) {
        const int drawn = screen.cislo->text().toInt();
        for (int p = 0; p < PlayerCount; ++p) {
            for (const QString& entry : listsBefore[p])
                expected[p][denominationOfEntry(entry)] += payout(entry, drawn) - 1;
        }
    }
    const Holdings now = holdings();
    for (int p = 0; p < PlayerCount; ++p) {
        for (int d = 0; d < DenominationCount; ++d) {
            if (now[p][d] != expected[p][d])
                return QStringLiteral("player %1 holds %2 chips of %3, expected %4")
                    .arg(p + 1)
                    .arg(now[p][d])
                    .arg(ChipValues[d])
                    .arg(expected[p][d]);
        }
    }
    return {};
}

void RandomClicksTest::clickAt(QWidget* window, QPoint at)
{
    if (window == title.get() && toQRect(title::Label1[1].rect).contains(at))
        ++quitClicks;
    recent.back() += QStringLiteral(" at %1,%2").arg(at.x()).arg(at.y());
    // Through the window, so that Qt finds the control under the point as it
    // does for a real mouse.
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
}

void RandomClicksTest::clickInside(QWidget* control)
{
    QWidget* window = control->window();
    const QPoint corner = control->mapTo(window, QPoint(0, 0));
    clickAt(window, corner + QPoint(below(control->width()), below(control->height())));
}

void RandomClicksTest::aimAtTable()
{
    QWidget& t = *table();
    const int roll = below(100);
    QString name;
    if (roll < 35)
        name = QStringLiteral("Label1(%1)").arg(below(NumberCount));
    else if (roll < 45)
        name = QStringLiteral("Label2(%1)").arg(below(4));
    else if (roll < 50)
        name = QStringLiteral("Label5(%1)").arg(below(2));
    else if (roll < 65)
        name = QStringLiteral("Image1(%1)").arg(below(DenominationCount));
    else if (roll < 74)
        name = QStringLiteral("Label6");
    else if (roll < 76)
        name = QStringLiteral("Label7");
    else if (roll < 80)
        name = std::array{"Label4", "Cislo", "Picture1", "Label3(0)"}[below(4)];
    recent.back() += ' ' + (name.isEmpty() ? QStringLiteral("a list row") : name);
    if (!name.isEmpty()) {
        clickInside(control<QWidget>(t, qPrintable(name)));
        return;
    }
    QListWidget* list = screen.lists[screen.lists[1]->isHidden() ? 0 : 1];
    if (list->count() == 0 || list->isHidden()) {
        clickInside(list);
        return;
    }
    // Rows scrolled out of the list's view can only be reached by scrolling,
    // which the clicks anywhere do now and then.
    const QRect row = list->visualItemRect(list->item(below(list->count()))).intersected(list->viewport()->rect());
    if (row.isEmpty()) {
        clickInside(list);
        return;
    }
    const QPoint inRow = row.topLeft() + QPoint(below(row.width()), below(row.height()));
    clickAt(&t, list->viewport()->mapTo(&t, inRow));
}

void RandomClicksTest::aimAtTitle()
{
    const int roll = below(100);
    const title::Caption& caption = title::Label1[roll < 90 ? 0 : 1];
    recent.back() += ' ' + QString::fromUtf8(caption.text.data(), static_cast<qsizetype>(caption.text.size()));
    const QRect area = toQRect(caption.rect);
    clickAt(title.get(), area.topLeft() + QPoint(below(area.width()), below(area.height())));
}

void RandomClicksTest::playEvent()
{
    QWidget* window = windowUp();
    const bool onTitle = window == title.get();
    // While the wheel spins, most clicks are refused; let Timer1 run more.
    const bool spinning = table() && table()->game().state().spinning();
    const int roll = spinning && below(2) == 0 ? 99 : below(100);
    if (roll < 35) {
        recent.push_back(QStringLiteral("click on %1").arg(window->objectName()));
        clickAt(window, QPoint(below(window->width()), below(window->height())));
    } else if (roll < 70) {
        recent.push_back(QStringLiteral("aim"));
        onTitle ? aimAtTitle() : aimAtTable();
    } else if (roll < 77) {
        // The key goes where Qt sends keys; the game hears it application-wide.
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
        recent.push_back(QStringLiteral("Delete to ") + target->objectName());
        QTest::keyClick(target, Qt::Key_Delete);
    } else if (roll < 79) {
        recent.push_back(deleteHeld ? QStringLiteral("Delete up") : QStringLiteral("Delete down"));
        deleteHeld ? QTest::keyRelease(window, Qt::Key_Delete) : QTest::keyPress(window, Qt::Key_Delete);
        deleteHeld = !deleteHeld;
    } else {
        const int ms = 1 + below(3);
        recent.push_back(QStringLiteral("wait %1 ms").arg(ms));
        QTest::qWait(ms);
    }
    if (recent.size() > 12)
        recent.pop_front();
}

void RandomClicksTest::randomPlayKeepsScreenAndChipsTrue()
{
    qint64 events = 0;
    for (std::uint64_t seed = FirstSeed; seed < FirstSeed + Sessions; ++seed) {
        start(seed);
        // The first "Play" makes the table, so the checks have a game to read.
        for (int i = 0; i < EventsPerSession; ++i, ++events) {
            const bool hadTable = table() != nullptr;
            const GameState was = hadTable ? table()->game().state() : GameState{};
            const Holdings before = hadTable ? holdings() : Holdings{};
            QList<QStringList> listsBefore;
            if (hadTable)
                listsBefore = {items(*screen.lists[0]), items(*screen.lists[1])};
            const bool tableUp = hadTable && table()->isVisible();

            playEvent();
            findControls();

            QString problem = qtComplaints.join("; ");
            if (problem.isEmpty())
                problem = checkScreen();
            if (problem.isEmpty() && hadTable)
                problem = checkChips(before, listsBefore, was);
            if (problem.isEmpty() && quitRequests != quitClicks)
                problem = QStringLiteral("%1 clicks on Quit asked %2 times to quit").arg(quitClicks).arg(quitRequests);
            if (!problem.isEmpty()) {
                QStringList trail(recent.begin(), recent.end());
                QFAIL(qPrintable(QStringLiteral("seed %1, event %2: %3\nstate: %4\nlast events:\n  %5")
                                     .arg(seed)
                                     .arg(i)
                                     .arg(problem, table() ? describe(table()->game().state()) : QString(),
                                          trail.join("\n  "))));
            }
            if (!hadTable)
                continue;
            const GameState& s = table()->game().state();
            laid += static_cast<int>(s.List1[s.CurrentPlayer].size() > was.List1[s.CurrentPlayer].size()
                                     && s.CurrentPlayer == was.CurrentPlayer);
            withdrawn += static_cast<int>(s.List1[s.CurrentPlayer].size() < was.List1[s.CurrentPlayer].size()
                                          && !s.spinning() && s.CurrentPlayer == was.CurrentPlayer);
            settled += static_cast<int>(s.CurrentPlayer == 0 && was.CurrentPlayer == 1);
            returnsDuringSpin += static_cast<int>(tableUp && !table()->isVisible() && s.spinning());
            refusedDuringSpin += static_cast<int>(was.spinning() && recent.back().contains("Label1("));
        }
        if (deleteHeld) {
            QTest::keyRelease(windowUp(), Qt::Key_Delete);
            deleteHeld = false;
        }
        title.reset();
    }
    qInfo("%lld events checked: %d bets laid, %d withdrawn, %d spins settled, %d returns to the title "
          "during a spin, %d cell clicks during a spin",
          events, laid, withdrawn, settled, returnsDuringSpin, refusedDuringSpin);
    // The play must have gone where the faults hide, or it proves little. The
    // floors sit well below a quiet machine's figures (about 650 bets, 130
    // withdrawals and 135 spins): a busy one spends more clicks inside spins.
    QVERIFY(laid > 250);
    QVERIFY(withdrawn > 30);
    QVERIFY(settled > 30);
    QVERIFY(returnsDuringSpin > 0);
    QVERIFY(refusedDuringSpin > 50);
}

// "X" and then "Play" before Timer1 ticks again: the table comes back exactly
// as it was, and its spin goes on.
void RandomClicksTest::xThenPlayInsideOneTickChangesNothing()
{
    start(FirstSeed);
    // Direct clicks on the controls run no event loop, so no tick comes between them.
    QTest::mouseClick(control<QWidget>(*title, "Label1(0)"), Qt::LeftButton);
    findControls();
    TableWindow& t = *table();
    for (const char* name : {"Image1(2)", "Label1(17)", "Label6", "Image1(0)", "Label2(3)", "Label6"})
        QTest::mouseClick(control<QWidget>(t, name), Qt::LeftButton);
    QVERIFY(t.game().state().spinning());
    const GameState before = t.game().state();

    QTest::mouseClick(control<QWidget>(t, "Label7"), Qt::LeftButton);
    QVERIFY(title->isVisible());
    QTest::mouseClick(control<QWidget>(*title, "Label1(0)"), Qt::LeftButton);

    QVERIFY(t.isVisible());
    QVERIFY(!title->isVisible());
    QVERIFY2(sameState(t.game().state(), before), qPrintable(describe(t.game().state())));
    QCOMPARE(checkScreen(), QString());
    QVERIFY(control<QTimer>(t, "Timer1")->isActive());
    QTRY_VERIFY(!t.game().state().spinning());
    QCOMPARE(t.game().state().CurrentPlayer, 0);
    QCOMPARE(checkScreen(), QString());
    QVERIFY2(qtComplaints.isEmpty(), qPrintable(qtComplaints.join("; ")));
}

// The program connects "Quit" to the end of its event loop. A spin still
// running on the hidden table when "Quit" comes is left unsettled: at most
// the tick that was already due runs before the loop ends.
void RandomClicksTest::quitDuringAHiddenSpinEndsBeforeTheSpinIsSettled()
{
    start(FirstSeed);
    QTest::mouseClick(control<QWidget>(*title, "Label1(0)"), Qt::LeftButton);
    findControls();
    TableWindow& t = *table();
    for (const char* name : {"Image1(5)", "Label5(1)", "Label6", "Image1(4)", "Label2(1)", "Label6", "Label7"})
        QTest::mouseClick(control<QWidget>(t, name), Qt::LeftButton);
    QVERIFY(t.game().state().spinning());
    QVERIFY(title->isVisible());

    QEventLoop program;
    connect(title.get(), &TitleWindow::quitRequested, &program, &QEventLoop::quit);
    QSignalSpy quit(title.get(), &TitleWindow::quitRequested);
    int ticksAtQuit = -1;
    connect(title.get(), &TitleWindow::quitRequested, this, [&] { ticksAtQuit = t.game().state().SpinTicks; });
    QTimer::singleShot(0, this, [&] { QTest::mouseClick(control<QWidget>(*title, "Label1(1)"), Qt::LeftButton); });
    program.exec();

    QCOMPARE(quit.count(), 1);
    QVERIFY(ticksAtQuit > 1);
    const GameState& s = t.game().state();
    QVERIFY2(s.SpinTicks + 1 >= ticksAtQuit, qPrintable(describe(s)));
    QCOMPARE(entryTexts(s.List1[0]), QStringList{"Red-100"});
    QCOMPARE(entryTexts(s.List1[1]), QStringList{"Small-50"});
    QVERIFY2(qtComplaints.isEmpty(), qPrintable(qtComplaints.join("; ")));
}

QTEST_MAIN(RandomClicksTest)
#include "random_clicks_test.moc"
