// Times the ticks of Timer1 and counts what they repaint, for run.py: the
// game's table window plays four spins. Prints one line of JSON: the main
// thread's CPU time, in microseconds, of every spin tick that repainted Cislo,
// from its timer event to the next one so that the repaint it asked for falls
// inside; the ticks of each spin; the paint events of the spin ticks by widget
// (the settling tick left out).
#include "game/wheel.h"
#include "qt/assets.h"
#include "qt/screens.h"

#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>
#include <ctime>
#include <functional>

namespace {

using namespace morvik;

double threadCpuUs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

class Profiler : public QApplication {
public:
    using QApplication::QApplication;

    QObject* timer1 = nullptr;
    const Session* session = nullptr;
    std::function<void()> spinEnded;
    bool recording = false;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (!recording)
            return QApplication::notify(receiver, event);
        if (receiver == timer1 && event->type() == QEvent::Timer) {
            const double now = threadCpuUs();
            if (drawing && cisloPainted)
                repaints.append(now - tickStarted);
            tickStarted = now;
            cisloPainted = false;
            const int left = session->game()->state().SpinTicks; // what is left of the spin as the tick begins
            drawing = left > 1;
            ticks += left > 0;
            const bool handled = QApplication::notify(receiver, event);
            if (left == 1) {
                spins.append(ticks);
                ticks = 0;
                spinEnded();
            }
            return handled;
        }
        if (drawing && event->type() == QEvent::Paint) {
            const QString name = receiver->objectName();
            const QString widget = name.isEmpty() ? QString::fromLatin1(receiver->metaObject()->className()) : name;
            paints[widget] = paints[widget].toInt() + 1;
            cisloPainted |= name == QLatin1String("Cislo");
        }
        return QApplication::notify(receiver, event);
    }

    void print() const
    {
        const QJsonObject all{{QStringLiteral("repaints"), repaints}, {QStringLiteral("spins"), spins},
                              {QStringLiteral("paints"), paints}};
        std::puts(QJsonDocument(all).toJson(QJsonDocument::Compact).constData());
    }

private:
    QJsonArray repaints, spins;
    QJsonObject paints;
    double tickStarted = 0;
    bool drawing = false;
    bool cisloPainted = false;
    int ticks = 0;
};

} // namespace

int main(int argc, char* argv[])
{
    Profiler app(argc, argv);
    installLayoutFont(assets::Font);
    LocalClock clock;
    WheelRandom random;
    Screens screens({clock, random});
    Session& session = screens.session();
    session.click(ids::title::Label1); // Play
    app.timer1 = screens.findChild<QTimer*>(QStringLiteral("Timer1"));
    app.session = &session;

    // One chip for each player, and the second "Next" spins the wheel.
    auto spin = [&] {
        for (int control : {ids::table::Image1, ids::table::Label1 + 17, ids::table::Label6, ids::table::Image1,
                            ids::table::Label2 + 2, ids::table::Label6})
            session.click(control);
        // What "Next" hid is repainted with the click, not in the spin's first tick.
        QCoreApplication::sendPostedEvents(screens.widget(ids::table::Form1), QEvent::UpdateRequest);
    };
    int spinsLeft = 4;
    app.spinEnded = [&] {
        // Between spins the table idles a little, as it does between rounds.
        QTimer::singleShot(50, &app, [&] {
            if (--spinsLeft > 0)
                return spin();
            app.recording = false;
            app.print();
            QCoreApplication::quit();
        });
    };
    QTimer::singleShot(500, &app, [&] {
        app.recording = true;
        spin();
    });
    return app.exec();
}
