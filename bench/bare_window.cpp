// The yardstick for the game's start-up, idle CPU and memory: the least Qt
// Widgets program that shows a window like the title window, frameless, black,
// of its size and centred. With the argument "timer" a 1 ms timer ticks into
// an empty slot, as the table's Timer1 is asked to tick; with "text" it shows
// the title's three captions in the system's Liberation Mono Bold, the least
// any window with text pays for fontconfig, the font database and FreeType.
#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <tuple>

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
    if (argc > 1 && qstrcmp(argv[1], "text") == 0) {
        for (auto [x, y, text, pixels] : {std::tuple{56, 312, "Play", 96}, {504, 312, "Quit", 96},
                                          {224, 464, "Tato ruleta se hraje jako b\u011b\u017en\u00e1 ruleta.", 19}}) {
            auto* label = new QLabel(QString::fromUtf8(text), &window);
            QFont font(QStringLiteral("Liberation Mono"));
            font.setPixelSize(pixels);
            font.setBold(true);
            label->setFont(font);
            label->move(x, y);
            label->setStyleSheet(QStringLiteral("color: white"));
        }
    }

    window.show();
    return app.exec();
}
