// The yardstick for the game's start-up, idle CPU and memory: the least a Qt
// Widgets program can be that shows a window like the title window, frameless,
// black, of the same size and centred. Built twice: bare, and with a 1 ms
// timer that does nothing, as the table window's Timer1 is asked to tick.
#include <QApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);

    QWidget window;
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(809, 505);
    QPalette black = window.palette();
    black.setColor(QPalette::Window, Qt::black);
    window.setPalette(black);
    window.setAutoFillBackground(true);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window.move(area.x() + (area.width() - window.width()) / 2,
                    area.y() + (area.height() - window.height()) / 2);
    }

#ifdef MORVIK_BARE_TIMER
    // The same kind of timer as Timer1, ticking into an empty slot.
    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    timer.setInterval(1);
    unsigned long ticks = 0;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start();
#endif

    window.show();
    return app.exec();
}
