// The floor for a spin tick: a bare Qt window with one opaque, framed label
// the size of the drawn-number display, and a 1 ms timer that shows a new
// number whenever the time of day, as a float of seconds since midnight,
// changes: the cadence at which a spin's draws change, since the wheel is
// seeded from that time. Writes the main-thread CPU time of every tick that
// repainted, measured from one timer event to the next as the game's tick
// profile does, as a JSON list of microseconds.
//
//   morvik-bare-readout OUTPUT.json [TICKS]
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTime>
#include <QTimer>

#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

double threadCpuUs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString output = QString::fromLocal8Bit(argv[1]);
    const int ticks = argc > 2 ? std::atoi(argv[2]) : 3000;

    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setFixedSize(859, 669);
    QPalette black = window.palette();
    black.setColor(QPalette::Window, Qt::black);
    window.setPalette(black);
    window.setAutoFillBackground(true);

    QLabel readout(QStringLiteral("1"), &window);
    readout.setGeometry(656, 72, 73, 33);
    QFont font(QStringLiteral("Liberation Mono"));
    font.setPixelSize(27);
    font.setBold(true);
    readout.setFont(font);
    readout.setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    readout.setFrameStyle(QFrame::Panel | QFrame::Sunken);
    readout.setLineWidth(1);
    QPalette green = readout.palette();
    green.setColor(QPalette::Window, QColor(0, 128, 0));
    green.setColor(QPalette::WindowText, QColor(192, 0, 0));
    readout.setPalette(green);
    readout.setAutoFillBackground(true);
    window.show();

    std::vector<double> repainting;
    double tickStarted = 0;
    float shownTime = -1;
    int number = 1;
    bool changed = false;
    int tick = 0;
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(1);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        const double now = threadCpuUs();
        if (changed && tick > 500) // past the first paints of the window
            repainting.push_back(now - tickStarted);
        tickStarted = now;
        const float time = static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0f;
        changed = time != shownTime;
        if (changed) {
            shownTime = time;
            number = (number + 17) % 37; // never the number before
            readout.setText(QString::number(number));
        }
        if (++tick == ticks)
            app.quit();
    });
    timer.start();
    app.exec();

    QFile file(output);
    if (!file.open(QIODevice::WriteOnly))
        return 1;
    QByteArray json = "[";
    for (std::size_t i = 0; i < repainting.size(); ++i)
        json += (i ? "," : "") + QByteArray::number(repainting[i], 'f', 2);
    json += "]\n";
    file.write(json);
    return 0;
}
