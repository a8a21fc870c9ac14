// The game's own windows with a stopwatch on Timer1: opens the title window,
// presses "Play", lets the table idle, then plays a number of spins, and
// writes one record per tick of Timer1 as JSON. The product's executable is
// left as it is; this one only watches the events the game's windows get.
//
//   morvik-tick-profile OUTPUT.json [SPINS] [IDLE_MS]
//
// A tick's record spans from the timer event that starts it to the one that
// starts the next, so the repaint it asked for falls inside it:
//   busy   microseconds spent delivering events (the tick, the repaint, the
//          flush to the X server, anything else that came),
//   cpu    microseconds of the main thread's CPU time, event loop included,
//   paints paint events of Form1, Picture1, Cislo and of any other widget.
#include "game/wheel.h"
#include "screens/assets.h"
#include "screens/table_window.h"
#include "screens/title_window.h"
#include "toolkit/click_label.h"
#include "toolkit/fonts.h"
#include "toolkit/services.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

namespace {

using namespace morvik;

double wallUs()
{
    using namespace std::chrono;
    return duration<double, std::micro>(steady_clock::now().time_since_epoch()).count();
}

double threadCpuUs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

struct Tick {
    double start = 0; // wall, microseconds since the program started
    double busy = 0;
    double cpu = 0;
    int spinTicksBefore = 0; // SpinTicks as the tick began
    int paintsForm1 = 0, paintsPicture1 = 0, paintsCislo = 0, paintsOther = 0;
    QString others; // names of the other widgets painted
};

struct Spin {
    double started = 0; // the second "Next"
    double ended = 0; // the end of the tick that settled
    int ticks = 0;
};

class ProfiledApp : public QApplication {
public:
    using QApplication::QApplication;

    QObject* timer1 = nullptr;
    QObject* form1 = nullptr;
    QObject* picture1 = nullptr;
    QObject* cislo = nullptr;
    const TableWindow* table = nullptr;

    double origin = wallUs();
    std::vector<Tick> ticks;
    std::vector<Spin> spins;
    bool recording = false;
    // Called, through the event loop, when a spin has settled.
    std::function<void()> spinDone;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (depth > 0 || !recording) {
            countPaint(receiver, event);
            ++depth;
            const bool handled = QApplication::notify(receiver, event);
            --depth;
            return handled;
        }
        const double begin = wallUs();
        const bool isTick = receiver == timer1 && event->type() == QEvent::Timer;
        if (isTick) {
            const double cpu = threadCpuUs();
            if (!ticks.empty())
                ticks.back().cpu = cpu - cpuAtTick;
            cpuAtTick = cpu;
            Tick tick;
            tick.start = begin - origin;
            tick.spinTicksBefore = table->game().state().SpinTicks;
            ticks.push_back(tick);
        }
        ++depth;
        const bool handled = QApplication::notify(receiver, event);
        --depth;
        const double end = wallUs();
        if (!ticks.empty())
            ticks.back().busy += end - begin;
        if (isTick && ticks.back().spinTicksBefore > 0 && !spins.empty()) {
            ++spins.back().ticks;
            if (table->game().state().SpinTicks == 0) {
                spins.back().ended = end - origin;
                // Between spins the table idles a little, as it does between rounds.
                QTimer::singleShot(50, this, spinDone);
            }
        }
        return handled;
    }

private:
    void countPaint(QObject* receiver, QEvent* event)
    {
        if (!recording || event->type() != QEvent::Paint || ticks.empty())
            return;
        Tick& tick = ticks.back();
        if (receiver == form1)
            ++tick.paintsForm1;
        else if (receiver == picture1)
            ++tick.paintsPicture1;
        else if (receiver == cislo)
            ++tick.paintsCislo;
        else {
            ++tick.paintsOther;
            if (!tick.others.isEmpty())
                tick.others += QLatin1Char(' ');
            tick.others += receiver->objectName().isEmpty() ? QString::fromLatin1(receiver->metaObject()->className())
                                                            : receiver->objectName();
        }
    }

    int depth = 0;
    double cpuAtTick = 0;
};

// A left click as the window system would deliver it, straight to the label.
void click(QWidget* window, const char* name)
{
    auto* label = window->findChild<ClickLabel*>(QString::fromLatin1(name));
    if (!label) {
        std::fprintf(stderr, "morvik-tick-profile: no %s\n", name);
        std::exit(2);
    }
    const QPointF inside(label->width() / 2.0, label->height() / 2.0);
    const QPointF global = label->mapToGlobal(inside);
    QMouseEvent press(QEvent::MouseButtonPress, inside, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, inside, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(label, &press);
    QCoreApplication::sendEvent(label, &release);
}

void writeJson(const ProfiledApp& app, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "morvik-tick-profile: cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
    QByteArray out = "{\"ticks\": [\n";
    for (std::size_t i = 0; i < app.ticks.size(); ++i) {
        const Tick& t = app.ticks[i];
        out += QStringLiteral("[%1, %2, %3, %4, %5, %6, %7, %8, \"%9\"]%10\n")
                   .arg(t.start, 0, 'f', 1)
                   .arg(t.busy, 0, 'f', 2)
                   .arg(t.cpu, 0, 'f', 2)
                   .arg(t.spinTicksBefore)
                   .arg(t.paintsForm1)
                   .arg(t.paintsPicture1)
                   .arg(t.paintsCislo)
                   .arg(t.paintsOther)
                   .arg(t.others)
                   .arg(i + 1 < app.ticks.size() ? QStringLiteral(",") : QString())
                   .toUtf8();
    }
    out += "],\n\"spins\": [\n";
    for (std::size_t i = 0; i < app.spins.size(); ++i) {
        const Spin& s = app.spins[i];
        out += QStringLiteral("[%1, %2, %3]%4\n")
                   .arg(s.started, 0, 'f', 1)
                   .arg(s.ended, 0, 'f', 1)
                   .arg(s.ticks)
                   .arg(i + 1 < app.spins.size() ? QStringLiteral(",") : QString())
                   .toUtf8();
    }
    out += "]}\n";
    file.write(out);
}

} // namespace

int main(int argc, char* argv[])
{
    ProfiledApp app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    if (argc < 2) {
        std::fprintf(stderr, "usage: morvik-tick-profile OUTPUT.json [SPINS] [IDLE_MS]\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    const int spinCount = argc > 2 ? std::atoi(argv[2]) : 10;
    const int idleMs = argc > 3 ? std::atoi(argv[3]) : 1000;

    installLayoutFont(assets::Font);
    SystemClock clock;
    WheelRandom random;
    auto* keys = new DeleteKeyWatch(&app);
    TitleWindow title({clock, random, *keys});
    title.show();

    int spinsLeft = spinCount;
    // Lays one chip for each player and presses "Next" twice: the wheel spins.
    auto startSpin = [&] {
        TableWindow* table = title.tableWindow();
        for (int player = 0; player < 2; ++player) {
            click(table, "Image1(0)");
            click(table, player == 0 ? "Label1(17)" : "Label2(2)");
            if (player == 1)
                app.spins.push_back({wallUs() - app.origin, 0, 0});
            click(table, "Label6");
        }
        // The repaint of what "Next" hid belongs to the click, not to the
        // first tick of the spin.
        QCoreApplication::sendPostedEvents(table, QEvent::UpdateRequest);
        --spinsLeft;
    };

    QTimer::singleShot(300, &app, [&] {
        click(&title, "Label1(0)");
        TableWindow* table = title.tableWindow();
        app.table = table;
        app.form1 = table;
        app.timer1 = table->findChild<QTimer*>(QStringLiteral("Timer1"));
        app.picture1 = table->findChild<QWidget*>(QStringLiteral("Picture1"));
        app.cislo = table->findChild<QWidget*>(QStringLiteral("Cislo"));
        if (!app.timer1 || !app.picture1 || !app.cislo) {
            std::fprintf(stderr, "morvik-tick-profile: the table lacks Timer1, Picture1 or Cislo\n");
            std::exit(2);
        }
        // Let the first frame settle before the ticks are counted.
        QTimer::singleShot(200, &app, [&] {
            app.recording = true;
            QTimer::singleShot(idleMs, &app, [&] { startSpin(); });
        });
    });

    app.spinDone = [&] {
        if (spinsLeft > 0) {
            startSpin();
            return;
        }
        app.recording = false;
        writeJson(app, output);
        QCoreApplication::quit();
    };

    return app.exec();
}
