// Times the ticks of Timer1 and counts what they repaint, for run.py.
//
//   morvik-tick-profile [SPINS]  the game's table window plays SPINS spins (4)
//   morvik-tick-profile bare     the floor: a framed label like Cislo in an
//                                otherwise empty window, shown a new number
//                                at the cadence of a spin's draws, 3,000 ticks
//   morvik-tick-profile places   where run.py clicks: the middle of "Play" and
//                                of "X" in their windows, from the layout
//
// Prints one line of JSON: the main thread's CPU time, in microseconds, of
// every spin tick that repainted Cislo, from its timer event to the next one
// so that the repaint it asked for falls inside; the ticks of each spin; the
// paint events of the spin ticks by widget (the settling tick left out).
#include "game/wheel.h"
#include "qt/assets.h"
#include "qt/fonts.h"
#include "qt/screens.h"

#include <QApplication>
#include <QLabel>
#include <QTime>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>
#include <vector>

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
    std::function<int()> spinTicks; // what is left of the spin as a tick begins
    std::function<void()> spinEnded;
    bool recording = false;

    std::vector<double> repaints;
    std::vector<int> spinLengths;
    std::map<QString, int> paints;

    bool notify(QObject* receiver, QEvent* event) override
    {
        if (!recording)
            return QApplication::notify(receiver, event);
        if (receiver == timer1 && event->type() == QEvent::Timer) {
            const double now = threadCpuUs();
            if (drawing && cisloPainted)
                repaints.push_back(now - tickStarted);
            tickStarted = now;
            cisloPainted = false;
            const int left = spinTicks();
            drawing = left > 1;
            ticks += left > 0;
            const bool handled = QApplication::notify(receiver, event);
            if (left == 1) {
                spinLengths.push_back(ticks);
                ticks = 0;
                spinEnded();
            }
            return handled;
        }
        if (drawing && event->type() == QEvent::Paint) {
            const QString name = receiver->objectName();
            ++paints[name.isEmpty() ? QString::fromLatin1(receiver->metaObject()->className()) : name];
            cisloPainted |= name == QLatin1String("Cislo");
        }
        return QApplication::notify(receiver, event);
    }

    void print() const
    {
        std::printf("{\"repaints\": [");
        for (std::size_t i = 0; i < repaints.size(); ++i)
            std::printf("%s%.2f", i ? ", " : "", repaints[i]);
        std::printf("], \"spins\": [");
        for (std::size_t i = 0; i < spinLengths.size(); ++i)
            std::printf("%s%d", i ? ", " : "", spinLengths[i]);
        std::printf("], \"paints\": {");
        for (auto p = paints.begin(); p != paints.end(); ++p)
            std::printf("%s\"%s\": %d", p == paints.begin() ? "" : ", ", qPrintable(p->first), p->second);
        std::printf("}}\n");
    }

private:
    double tickStarted = 0;
    bool drawing = false;
    bool cisloPainted = false;
    int ticks = 0;
};

// The floor: the display's size, font, frame and colours, a new number
// whenever the time of day as a float changes, as the wheel is seeded from it.
int bare(Profiler& app)
{
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setFixedSize(859, 669);
    QLabel readout(QStringLiteral("1"), &window);
    readout.setObjectName(QStringLiteral("Cislo"));
    readout.setGeometry(656, 72, 73, 33);
    QFont font(QStringLiteral("Liberation Mono"));
    font.setPixelSize(27);
    font.setBold(true);
    readout.setFont(font);
    readout.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    readout.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QPalette green = readout.palette();
    green.setColor(QPalette::Window, QColor(0, 128, 0));
    green.setColor(QPalette::WindowText, QColor(192, 0, 0));
    readout.setPalette(green);
    readout.setAutoFillBackground(true);
    window.show();

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    int tick = 0;
    float shown = -1;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const float time = static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
        if (time != shown) {
            shown = time;
            readout.setText(QString::number(tick % 37));
        }
        app.recording = ++tick > 500; // past the window's first paints
        if (tick == 3500)
            app.quit();
    });
    app.timer1 = &timer;
    app.spinTicks = [] { return 2; };
    timer.start(1);
    app.exec();
    app.print();
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && qstrcmp(argv[1], "places") == 0) {
        const Box play = Controls[ids::title::Label1].box, cross = Controls[ids::table::Label7].box;
        std::printf(R"j({"Form2.Label1(0)": [%d, %d], "Form1.Label7": [%d, %d]})j" "\n", play.x + play.width / 2,
                    play.y + play.height / 2, cross.x + cross.width / 2, cross.y + cross.height / 2);
        return 0;
    }
    Profiler app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "bare") == 0)
        return bare(app);
    int spinsLeft = argc > 1 ? std::atoi(argv[1]) : 4;

    installLayoutFont(assets::Font);
    SystemClock clock;
    WheelRandom random;
    Screens screens({clock, random});
    Session& session = screens.session();
    session.click(ids::title::Label1); // Play
    QWidget* table = screens.widget(ids::table::Form1);

    app.timer1 = screens.findChild<QTimer*>(QStringLiteral("Timer1"));
    app.spinTicks = [&] { return session.game()->state().SpinTicks; };
    // One chip for each player, and the second "Next" spins the wheel.
    auto spin = [&] {
        for (int control : {ids::table::Image1, ids::table::Label1 + 17, ids::table::Label6, ids::table::Image1,
                            ids::table::Label2 + 2, ids::table::Label6})
            session.click(control);
        // What "Next" hid is repainted with the click, not in the spin's first tick.
        QCoreApplication::sendPostedEvents(table, QEvent::UpdateRequest);
    };
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
