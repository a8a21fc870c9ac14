// Plays the game on a virtual X server of its own, under a real window manager
// (openbox), as a player would: the mouse, the Delete key and the desktop's
// close requests go through the X server (xdotool, wmctrl), and every step
// is checked on a screenshot (ImageMagick's import) at the places the layout
// tables give. The game is found only through the X server: its windows by
// their titles, "Form2" (title) and "Form1" (table). So any front end of the
// game can be driven, whatever it is built with.
//
//   e2e_driver <screenshot directory> -- <command that starts the game...>
//
// Prints "ok N - step" per step and keeps its screenshot. Exits 0 when every
// step passed, 1 on the first failure, 77 when the X tools are missing.
#include "layout/table.h"
#include "layout/title.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include <cstdio>
#include <functional>
#include <stdexcept>

using namespace morvik;

namespace {

// Long enough for a sanitizer build, or Wine, to start on a loaded machine.
constexpr int PatienceMs = 60'000;
constexpr QSize Screen(1280, 1024);

QRgb rgb(Rgb c) { return qRgb(c.r, c.g, c.b); }
QRect rect(Box b) { return QRect(b.x, b.y, b.width, b.height); }
QRect inTray(Box b) { return rect(b).translated(table::Picture2.x, table::Picture2.y); }
QPoint centre(QRect r) { return r.center(); }
QPoint point(Point p) { return QPoint(p.x, p.y); }

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};
[[noreturn]] void fail(const QString& why) { throw Failure(why.toStdString()); }

// The smallest rectangle around every pixel that is not the background,
// copied out, so that the same text compares equal wherever it stands.
QImage ink(const QImage& shot, QRect area, QRgb background)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (shot.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box.isEmpty() ? QImage() : shot.copy(box);
}

struct Driver {
    QDir shots;
    QStringList command;
    QProcess server, windowManager, game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QRect title, table;
    QPoint pointer{-1, -1};
    QImage shot; // the last screenshot
    // What the table showed after "Play": every counter "2", and "Player 1".
    QList<QImage> two;
    QImage player1;

    ~Driver()
    {
        for (QProcess* process : {&game, &windowManager, &server}) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
            process->waitForFinished(5000);
        }
    }

    QString run(const QString& program, const QStringList& args, QByteArray* out = nullptr)
    {
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, args);
        if (!process.waitForFinished(PatienceMs) || process.exitStatus() != QProcess::NormalExit)
            fail(program + ' ' + args.join(' ') + " did not finish");
        const QByteArray output = process.readAllStandardOutput();
        if (out)
            *out = output;
        return process.exitCode() == 0 ? QString::fromLocal8Bit(output).trimmed() : QString();
    }

    void start()
    {
        shots.removeRecursively();
        if (!QDir().mkpath(shots.path()))
            fail("cannot make " + shots.path());
        // -displayfd picks a free display and tells its number on standard output.
        server.start("Xvfb", {"-displayfd", "1", "-screen", "0", QStringLiteral("%1x%2x24").arg(Screen.width()).arg(Screen.height()),
                              "-nolisten", "tcp", "-br", "-noreset"});
        QByteArray number;
        while (!number.contains('\n')) {
            if (!server.waitForReadyRead(PatienceMs))
                fail("Xvfb told no display number");
            number += server.readAllStandardOutput();
        }
        env.insert("DISPLAY", ':' + QString::fromLatin1(number.trimmed()));
        env.remove("XAUTHORITY");
        env.remove("QT_QPA_PLATFORM");
        std::printf("# Xvfb on display %s; %s\n", number.trimmed().constData(), qPrintable(command.join(' ')));
        windowManager.setProcessEnvironment(env);
        windowManager.start("openbox", {});
        if (!windowManager.waitForStarted(PatienceMs))
            fail("cannot start openbox");
        // Taken as ready once it owns the screen: wmctrl then answers.
        QElapsedTimer clock;
        clock.start();
        while (run("wmctrl", {"-m"}).isEmpty() && clock.elapsed() < PatienceMs)
            QThread::msleep(50);
        launch();
    }

    void launch()
    {
        game.setProcessEnvironment(env);
        game.setProcessChannelMode(QProcess::ForwardedChannels);
        game.start(command.front(), command.mid(1));
        if (!game.waitForStarted(PatienceMs))
            fail("cannot start " + command.join(' '));
    }

    // The visible window of that title; waits for it to show. Both windows
    // are of the layout's size, in the middle of the screen.
    QRect window(const QString& name, QSize size)
    {
        QElapsedTimer clock;
        clock.start();
        QString id;
        while ((id = run("xdotool", {"search", "--onlyvisible", "--name", '^' + name + '$'}).section('\n', 0, 0)).isEmpty()) {
            if (game.state() == QProcess::NotRunning || clock.elapsed() > PatienceMs)
                fail("no window " + name);
            QThread::msleep(50);
        }
        QRect found;
        for (const QString& line : run("xdotool", {"getwindowgeometry", "--shell", id}).split('\n')) {
            const int value = line.section('=', 1).toInt();
            if (line.startsWith("X=")) found.moveLeft(value);
            if (line.startsWith("Y=")) found.moveTop(value);
            if (line.startsWith("WIDTH=")) found.setWidth(value);
            if (line.startsWith("HEIGHT=")) found.setHeight(value);
        }
        const QPoint middle((Screen.width() - size.width()) / 2, (Screen.height() - size.height()) / 2);
        if (found.size() != size || (found.topLeft() - middle).manhattanLength() > 2)
            fail(QStringLiteral("%1 is %2x%3 at %4,%5").arg(name).arg(found.width()).arg(found.height()).arg(found.x()).arg(found.y()));
        return found;
    }

    void waitFor(const QString& what, const std::function<bool(const QImage&)>& ready)
    {
        QElapsedTimer clock;
        clock.start();
        do {
            QByteArray ppm;
            run("import", {"-window", "root", "ppm:-"}, &ppm);
            shot = QImage::fromData(ppm, "PPM").convertToFormat(QImage::Format_RGB32);
            if (!shot.isNull() && ready(shot))
                return;
            QThread::msleep(30);
        } while (clock.elapsed() < PatienceMs);
        fail(what + " did not show");
    }

    void click(QPoint origin, std::initializer_list<QPoint> points)
    {
        // One xdotool run for the lot, so that clicks meant to be quick are quick.
        QStringList args;
        for (QPoint p : points) {
            // --sync waits for the pointer to move, which it never does when it is there already.
            if (origin + p != pointer)
                args << "mousemove" << "--sync" << QString::number(origin.x() + p.x()) << QString::number(origin.y() + p.y());
            args << "click" << "1";
            pointer = origin + p;
        }
        run("xdotool", args);
    }
    void clickTable(std::initializer_list<QPoint> points) { click(table.topLeft(), points); }
    void clickTitle(QPoint at) { click(title.topLeft(), {at}); }
    // What the desktop sends on Alt+F4 or the task bar's close: WM_DELETE_WINDOW.
    void closeRequest(const QString& name) { run("wmctrl", {"-F", "-c", name}); }
    void expectEnd()
    {
        if (!game.waitForFinished(PatienceMs))
            fail("the game did not end");
        if (game.exitStatus() != QProcess::NormalExit || game.exitCode() != 0)
            fail(QStringLiteral("the game ended with status %1").arg(game.exitCode()));
    }

    // Readings of a screenshot, in table coordinates.
    QRgb at(const QImage& s, QPoint p) const { return s.pixel(table.topLeft() + p); }
    QImage crop(const QImage& s, QRect r) const { return s.copy(r.translated(table.topLeft())); }
    QImage counter(const QImage& s, int chip) const { return crop(s, inTray(table::Label3[chip])); }
    bool trayUp(const QImage& s) const { return !ink(s, inTray(table::Label4).translated(table.topLeft()), rgb(table::Black)).isNull(); }

    // The text lines of the visible bet list, top to bottom, as ink on the
    // background of their row; a selected row has a background other than the list's.
    QList<QImage> listRows(const QImage& s, bool* selected = nullptr) const
    {
        const QRect area = rect(table::List1).adjusted(4, 4, -4, -4).translated(table.topLeft());
        QList<QImage> rows;
        int top = -1;
        bool anySelected = false;
        for (int y = area.top(); y <= area.bottom() + 1; ++y) {
            const QRgb background = y <= area.bottom() ? s.pixel(area.right(), y) : rgb(table::Black);
            anySelected |= background != rgb(table::Black);
            bool inked = false;
            for (int x = area.left(); y <= area.bottom() && x < area.right() && !inked; ++x)
                inked = s.pixel(x, y) != background;
            if (inked && top < 0)
                top = y;
            if (!inked && top >= 0) {
                rows << ink(s, QRect(area.left(), top, area.width() - 1, y - top), s.pixel(area.right(), top));
                top = -1;
            }
        }
        if (selected)
            *selected = anySelected;
        return rows;
    }

    bool titleUp(const QImage& s) const
    {
        const QRgb frame = rgb(title::Shape1.colour);
        // (20, 20) is a part of the table's green outside the title window.
        return s.pixel(title.topLeft()) == frame && s.pixel(title.bottomRight()) == frame
            && s.pixel(title.topLeft() + QPoint(title::Shape1.penWidth, title.height() / 2)) == rgb(title::Background)
            && at(s, QPoint(20, 20)) != rgb(table::Picture1Colour);
    }

    // The number in Cislo, found as the number cell whose caption has the
    // same pixels, colour included. -1 when none has.
    int drawn(const QImage& s) const
    {
        const QRgb green = rgb(table::Picture1Colour);
        const QImage shown = ink(s, rect(table::Cislo).adjusted(1, 1, -1, -1).translated(table.topLeft()), green);
        for (int number = 0; number < NumberCount; ++number)
            if (!shown.isNull() && shown == ink(s, rect(table::Label1[number]).translated(table.topLeft()), green))
                return number;
        return -1;
    }

    struct Step {
        const char* what;
        std::function<void()> run;
    };
    QList<Step> steps();
};

QList<Driver::Step> Driver::steps()
{
    const QPoint play = centre(rect(title::Label1[0].rect));
    const QPoint quit = centre(rect(title::Label1[1].rect));
    const QPoint next = centre(inTray(table::Label6));
    const QPoint closeX = centre(rect(table::Label7));
    auto chip = [](int i) { return centre(inTray(table::Image1[i])); };
    auto cell = [](int number) { return centre(rect(table::Label1[number])); };
    auto outside = [](int i) { return centre(rect(table::Label2[i].rect)); }; // Big, Small, Even, Odd
    // The first player is up again, with an empty list and every counter as
    // `counters` says: a round has ended.
    auto roundEnded = [this](const QImage& s, QList<int> unchanged) {
        if (!trayUp(s) || crop(s, inTray(table::Label4)) != player1 || !listRows(s).isEmpty() || drawn(s) < 0)
            return false;
        for (int i : unchanged)
            if (counter(s, i) != two[i])
                return false;
        return true;
    };

    return {
        {"a close request to the title window before the first Play ends the program with status 0", [=, this] {
             title = window("Form2", QSize(title::Width, title::Height));
             closeRequest("Form2");
             expectEnd();
             launch();
         }},
        {"the title window, of its size in the middle of the screen, drawn as laid out", [=, this] {
             title = window("Form2", QSize(title::Width, title::Height));
             const QRgb frame = rgb(title::Shape1.colour), black = rgb(title::Background);
             const int w = title::Shape1.penWidth;
             waitFor("the title's frame", [&](const QImage& s) {
                 auto px = [&](int x, int y) { return s.pixel(title.topLeft() + QPoint(x, y)); };
                 return px(0, 0) == frame && px(w - 1, 200) == frame && px(w, 200) == black
                     && px(title::Width - w, 200) == frame && px(title::Width - w - 1, 200) == black
                     && px(400, title::Height - 1) == frame;
             });
         }},
        {"Play shows the table as laid out: Player 1, every counter 2, Cislo a red 1", [=, this] {
             clickTitle(play);
             table = window("Form1", QSize(table::Width, table::Height));
             waitFor("the table", [&](const QImage& s) {
                 return trayUp(s) && listRows(s).isEmpty() && drawn(s) == 1
                     && at(s, point(table::Lines[0].from)) == rgb(table::Lines[0].colour)
                     && at(s, point(table::Lines[1].from) + QPoint(0, 100)) == rgb(table::Lines[1].colour)
                     && at(s, centre(rect(table::Shape1[0].bounds))) == rgb(table::Shape1[0].colour)
                     && at(s, centre(rect(table::Shape1[1].bounds))) == rgb(table::Shape1[1].colour)
                     && at(s, QPoint(table::Cislo.x + 4, table::Cislo.y + table::Cislo.height - 4)) == rgb(table::CisloBackground);
             });
             for (int i = 0; i < DenominationCount; ++i)
                 two << counter(shot, i);
             player1 = crop(shot, inTray(table::Label4));
         }},
        // Exactly one of Even and Odd wins whatever is drawn, so is one of
        // Big and Small: the stocks of the 1s and the 5s come back whole.
        {"Player 1 lays a 1 on Even and a 1 on Odd", [=, this] {
             clickTable({chip(0), outside(2), outside(3)});
             waitFor("two entries", [&](const QImage& s) { return listRows(s).size() == 2 && counter(s, 0) != two[0]; });
         }},
        {"a close request to the table during a turn brings back the title; Play shows the turn kept", [=, this] {
             closeRequest("Form1");
             waitFor("the title window", [&](const QImage& s) { return titleUp(s); });
             clickTitle(play);
             waitFor("the kept turn", [&](const QImage& s) {
                 return !titleUp(s) && listRows(s).size() == 2 && counter(s, 0) != two[0]
                     && crop(s, inTray(table::Label4)) == player1;
             });
         }},
        {"Next hands the table to Player 2", [=, this] {
             clickTable({next});
             waitFor("Player 2", [&](const QImage& s) {
                 return crop(s, inTray(table::Label4)) != player1 && listRows(s).isEmpty() && counter(s, 0) == two[0];
             });
         }},
        {"Player 2 lays a 5 on Big and a 5 on Small", [=, this] {
             clickTable({chip(1), outside(0), outside(1)});
             waitFor("two entries", [&](const QImage& s) { return listRows(s).size() == 2 && counter(s, 1) != two[1]; });
         }},
        {"Next spins; the round ends with Player 1, whose 1s came back whole", [=, this] {
             clickTable({next});
             waitFor("the end of the spin", [&](const QImage& s) { return roundEnded(s, {0, 1}); });
         }},
        {"Delete takes back the selected entry and its chip, a click below the entries notwithstanding", [=, this] {
             clickTable({chip(2), cell(7), outside(2)});
             QList<QImage> rows;
             waitFor("two entries", [&](const QImage& s) { rows = listRows(s); return rows.size() == 2; });
             const QImage second = rows[1];
             const QRect list = rect(table::List1);
             clickTable({QPoint(list.center().x(), list.top() + 4 + 5)}); // in the first row
             bool selected = false;
             waitFor("the first entry selected", [&](const QImage& s) { listRows(s, &selected); return selected; });
             clickTable({QPoint(list.center().x(), list.bottom() - 10)});
             run("xdotool", {"key", "Delete"});
             waitFor("the withdrawal", [&](const QImage& s) {
                 rows = listRows(s, &selected);
                 return rows.size() == 1 && rows[0] == second && !selected && counter(s, 2) != two[2];
             });
         }},
        {"X during a spin shows the title window", [=, this] {
             clickTable({outside(3), next, next, closeX}); // Even and Odd again
             waitFor("the title window", [&](const QImage& s) { return titleUp(s); });
         }},
        {"Play shows the spin settled behind the title: Player 1, the 10s whole", [=, this] {
             clickTitle(play);
             waitFor("the settled table", [&](const QImage& s) { return !titleUp(s) && roundEnded(s, {0, 1, 2}); });
         }},
        {"a close request to the table during a spin brings back the title; Play shows it settled", [=, this] {
             clickTable({outside(2), outside(3), next, next}); // Even and Odd with the 10s
             closeRequest("Form1");
             waitFor("the title window", [&](const QImage& s) { return titleUp(s); });
             clickTitle(play);
             waitFor("the settled table", [&](const QImage& s) { return !titleUp(s) && roundEnded(s, {0, 1, 2}); });
         }},
        {"X, then Quit ends the program with status 0", [=, this] {
             clickTable({closeX});
             waitFor("the title window", [&](const QImage& s) { return titleUp(s); });
             clickTitle(quit);
             expectEnd();
         }},
        {"a close request to the title window after Play and X ends the program with status 0", [=, this] {
             launch();
             title = window("Form2", QSize(title::Width, title::Height));
             clickTitle(play);
             window("Form1", QSize(table::Width, table::Height));
             clickTable({closeX});
             waitFor("the title window", [&](const QImage& s) { return titleUp(s); });
             closeRequest("Form2");
             expectEnd();
         }},
    };
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4 || args[2] != "--") {
        std::fprintf(stderr, "usage: %s <screenshot directory> -- <command...>\n", argv[0]);
        return 2;
    }
    for (const char* tool : {"Xvfb", "openbox", "wmctrl", "xdotool", "import"}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            std::printf("# skipped: %s is not installed (xvfb, openbox, wmctrl, xdotool, imagemagick)\n", tool);
            return 77;
        }
    }
    Driver driver;
    driver.shots.setPath(args[1]);
    driver.command = args.mid(3);
    int passed = 0;
    auto save = [&](const char* how) {
        driver.shot.save(driver.shots.filePath(QStringLiteral("%1-%2.png").arg(passed, 2, 10, QChar('0')).arg(how)));
    };
    try {
        driver.start();
        for (const Driver::Step& step : driver.steps()) {
            step.run();
            ++passed;
            save("ok");
            std::printf("ok %d - %s\n", passed, step.what);
            std::fflush(stdout);
        }
    } catch (const Failure& failure) {
        ++passed;
        save("failed");
        std::printf("not ok %d - %s\n", passed, failure.what());
        return 1;
    }
    return 0;
}
