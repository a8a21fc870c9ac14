// The yardstick for the game's start-up, idle CPU and memory: the least a Qt
// Widgets program can be that shows a window like the title window, frameless,
// black, of the same size and centred. Built three times: bare, with a 1 ms
// timer that does nothing, as the table window's Timer1 is asked to tick, and
// with the title window's three captions in the system's Liberation Mono: the
// least any window that shows text pays for fontconfig and FreeType.
#include <QApplication>
#include <QLabel>
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

#ifdef MORVIK_BARE_TEXT
    const struct {
        QRect rect;
        const char* text;
        int pixelSize;
        QColor colour;
    } captions[] = {
        {{56, 312, 233, 105}, "Play", 96, QColor(255, 255, 255)},
        {{504, 312, 233, 105}, "Quit", 96, QColor(255, 255, 255)},
        {{224, 464, 429, 22}, "Tato ruleta se hraje jako b\u011b\u017en\u00e1 ruleta.", 19, QColor(239, 239, 239)},
    };
    for (const auto& caption : captions) {
        auto* label = new QLabel(QString::fromUtf8(caption.text), &window);
        label->setGeometry(caption.rect);
        QFont font(QStringLiteral("Liberation Mono"));
        font.setPixelSize(caption.pixelSize);
        font.setBold(true);
        label->setFont(font);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setWordWrap(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, caption.colour);
        label->setPalette(palette);
    }
#endif

    window.show();
    return app.exec();
}
