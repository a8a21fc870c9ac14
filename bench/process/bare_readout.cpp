// The floor for a spin tick: a bare Qt window with one opaque, framed label
// the size of the drawn-number display, whose number a 1 ms timer changes at
// every tick, as a spin does. Prints the median main-thread CPU time of a tick
// that repaints, measured from one timer event to the next as the game's tick
// profile does.
//
//   morvik-bare-readout [TICKS]
#include <QApplication>
#include <QLabel>
#include <QRandomGenerator>
#include <QTimer>

#include <algorithm>
#include <cstdio>
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
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 3000;

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
        const QString number = QString::number(QRandomGenerator::global()->bounded(37));
        changed = number != readout.text();
        readout.setText(number);
        if (++tick == ticks)
            app.quit();
    });
    timer.start();
    app.exec();

    std::sort(repainting.begin(), repainting.end());
    std::printf("%zu repainting ticks, median %.3f ms of main-thread CPU\n", repainting.size(),
                repainting.empty() ? 0.0 : repainting[repainting.size() / 2] / 1000);
    return 0;
}
