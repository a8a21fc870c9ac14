// The yardstick for the game's start-up, idle CPU and memory: the least Qt
// Widgets program that shows a window like the title window, frameless, black,
// of its size and centred. With the argument "timer" a 1 ms timer ticks into
// an empty slot, as the table's Timer1 is asked to tick.
#include <QApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setFixedSize(809, 505);
    QPalette black = window.palette();
    black.setColor(QPalette::Window, Qt::black);
    window.setPalette(black);
    window.setAutoFillBackground(true);
    window.move(window.screen()->availableGeometry().center() - window.rect().center());

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, [] {});
    if (argc > 1 && qstrcmp(argv[1], "timer") == 0)
        timer.start(1);

    window.show();
    return app.exec();
}
