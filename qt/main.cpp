// Morvik Roulette: two players, one table, one mouse.
#include "game/wheel.h"
#include "qt/assets.h"
#include "qt/screens.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Morvik Game"));
    QCoreApplication::setApplicationName(QStringLiteral("Morvik Roulette"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MORVIK_VERSION));
    // The installed desktop entry, whose icon and name the desktop shows.
    QGuiApplication::setDesktopFileName(QStringLiteral(MORVIK_APP_ID));
    // The two windows take turns on the screen: only "Quit" ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    morvik::installLayoutFont(morvik::assets::Font);

    morvik::LocalClock clock;
    morvik::WheelRandom random;
    morvik::Screens screens({clock, random});
    return app.exec();
}
