// Plays the real program on a virtual X server of its own: the mouse and the
// Delete key come through the X server (xdotool), and every step is checked
// on a photograph of the screen (ImageMagick's import) at the pixels of the
// table's layout. Each step prints "ok N - what" and the photograph it kept.
//
//   e2e_driver <morvik-roulette> <directory for the screenshots>
//
// Exits 0 when every step passed, 1 on the first failure, 77 when the X
// tools are not installed.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>

#include <array>
#include <cstdio>
#include <functional>
#include <stdexcept>

namespace {

// Long enough for a program built with sanitizers to start on a loaded machine.
constexpr int PatienceMs = 30'000;

const QRgb Green = qRgb(0, 128, 0);
const QRgb Black = qRgb(0, 0, 0);
const QRgb Navy = qRgb(0, 0, 128); // a selected list row
const QRgb Yellow = qRgb(255, 238, 0); // the title window's frame
const QRgb White = qRgb(255, 255, 255);
const QRgb Grey = qRgb(239, 239, 239);
const QRgb Red = qRgb(192, 0, 0);

// Pixels whose colour the layout fixes, relative to their window.
struct LayoutPixel {
    const char* what;
    QPoint at;
    QRgb colour;
};

const std::array<LayoutPixel, 8> TitlePixels{{
    {"frame, top left corner", {0, 0}, Yellow},
    {"frame, tenth pixel from the left", {9, 250}, Yellow},
    {"inside the frame, left", {10, 250}, Black},
    {"frame, tenth pixel from the right", {799, 250}, Yellow},
    {"inside the frame, right", {798, 250}, Black},
    {"frame, bottom right corner", {808, 504}, Yellow},
    {"frame, tenth pixel from the bottom", {400, 495}, Yellow},
    {"between Play and Quit", {400, 360}, Black},
}};

const std::array<LayoutPixel, 24> TablePixels{{
    {"Line1, top end", {136, 16}, White},
    {"Line1, bottom end", {136, 577}, White},
    {"below Line1", {136, 578}, Green},
    {"Line2, light grey", {376, 300}, Grey},
    {"Line3", {200, 16}, White},
    {"above Line3", {200, 15}, Green},
    {"Line4", {200, 576}, White},
    {"Line8, light grey", {250, 176}, Grey},
    {"Line9, right end", {504, 216}, White},
    {"right of Line9", {505, 216}, Green},
    {"Line13", {300, 376}, White},
    {"Line18", {216, 300}, White},
    {"Line19", {296, 300}, White},
    {"Line22, light grey", {8, 300}, Grey},
    {"Line25", {504, 300}, White},
    {"Line28", {48, 545}, White},
    {"Line31", {416, 550}, White},
    {"black disc, centre", {72, 448}, Black},
    {"red disc, centre", {440, 448}, Red},
    {"outside the red disc's corner", {409, 417}, Green},
    {"the table's green", {20, 60}, Green},
    {"window right of the table", {515, 100}, Black},
    {"Cislo's opaque green", {660, 100}, Green},
    {"tray's black under Label4", {60, 660}, Black},
}};

// The layout, in pixels relative to each window.
const QPoint PlayCaption(56 + 116, 312 + 52);
const QPoint QuitCaption(504 + 116, 312 + 52);
const QPoint TableGreen(20, 60); // Picture1, outside the title window when both are up
const QRect ListInside(524, 244, 321, 337); // List1, inside its sunken edge
const QRect CisloInside(657, 73, 71, 31); // inside its thin edge
const QRect Label4(8, 616, 129, 25);
const QPoint CloseX(816 + 16, 8 + 12);
const QPoint Next(8 + 768 + 32, 600 + 28);

QRect counter(int chip) { return QRect(8 + 200 + 104 * chip, 616, 33, 25); }
QPoint chipCentre(int chip) { return QPoint(8 + 136 + 104 * chip + 30, 600 + 30); }
QRect cell(int number)
{
    return number == 0 ? QRect(224, 24, 65, 25) : QRect(144 + 80 * ((number - 1) % 3), 64 + 40 * ((number - 1) / 3), 65, 25);
}
const QPoint Even(24 + 44, 280 + 16), Odd(400 + 44, 280 + 16);
const QPoint Big(24 + 44, 96 + 48), Small(400 + 44, 96 + 48);
const QPoint RedDisc(408 + 32, 416 + 32);

bool isRed(int number)
{
    constexpr std::array<int, 18> red{1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36};
    for (int r : red) {
        if (r == number)
            return true;
    }
    return false;
}

struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const QString& why) { throw Failure(why.toStdString()); }

QString run(const QString& program, const QStringList& args, const QProcessEnvironment& env, QByteArray* out = nullptr)
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(PatienceMs) || process.exitStatus() != QProcess::NormalExit)
        fail(program + ' ' + args.join(' ') + " did not finish");
    const QByteArray output = process.readAllStandardOutput();
    if (out)
        *out = output;
    if (process.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(output).trimmed();
}

// An ink crop: the smallest rectangle around every pixel that is not the
// background, copied out, so that the same text compares equal wherever it stands.
QImage ink(const QImage& shot, const QRect& area, QRgb background)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (shot.pixel(x, y) != background)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box.isEmpty() ? QImage() : shot.copy(box);
}

int differences(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.width() * a.height() + b.width() * b.height() + 1;
    int count = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    }
    return count;
}

class Driver {
public:
    Driver(QString program, QString shotDirectory)
        : program(std::move(program))
        , shots(std::move(shotDirectory))
    {
    }
    ~Driver() { stop(); }

    void play();
    int passed = 0;
    int planned = 11;

private:
    void startServer();
    void stop();
    QPoint waitForWindow(const QString& name);
    QImage photograph();
    QImage waitFor(const QString& what, const std::function<bool(const QImage&)>& ready);
    void pass(const QString& what, const QImage& shot);
    void click(std::initializer_list<QPoint> points); // in table coordinates
    void clickTitle(QPoint at);

    // Readings of a photograph of the table.
    QRgb at(const QImage& shot, QPoint p) const { return shot.pixel(table + p); }
    template <std::size_t N>
    void expectLayout(const QImage& shot, QPoint window, const std::array<LayoutPixel, N>& pixels) const
    {
        for (const LayoutPixel& pixel : pixels) {
            const QRgb seen = shot.pixel(window + pixel.at);
            if (seen != pixel.colour)
                fail(QStringLiteral("%1 at (%2, %3) is #%4, not #%5")
                         .arg(QLatin1StringView(pixel.what))
                         .arg(pixel.at.x())
                         .arg(pixel.at.y())
                         .arg(seen & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                         .arg(pixel.colour & 0xFFFFFF, 6, 16, QLatin1Char('0')));
        }
    }
    QImage crop(const QImage& shot, const QRect& r) const { return shot.copy(r.translated(table)); }
    QList<QRect> listRows(const QImage& shot) const;
    bool rowSelected(const QImage& shot) const;
    bool trayUp(const QImage& shot) const;
    bool titleUp(const QImage& shot) const;
    int cisloNumber(const QImage& shot) const;

    QString program;
    QDir shots;
    QProcess server;
    QProcess game;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QPoint title, table;
    QPoint pointer{-1, -1};
};

void Driver::startServer()
{
    // -displayfd picks a free display and tells its number on standard output.
    server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                                          "-br", "-noreset"});
    QElapsedTimer clock;
    clock.start();
    QByteArray number;
    while (!number.contains('\n') && clock.elapsed() < PatienceMs) {
        if (!server.waitForReadyRead(200) && server.state() == QProcess::NotRunning)
            fail("Xvfb ended: " + QString::fromLocal8Bit(server.readAllStandardError()));
        number += server.readAllStandardOutput();
    }
    if (!number.contains('\n'))
        fail(QStringLiteral("Xvfb told no display number"));
    env.insert(QStringLiteral("DISPLAY"), ':' + QString::fromLatin1(number.trimmed()));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("XAUTHORITY"));
    std::printf("# Xvfb on display %s\n", number.trimmed().constData());
}

void Driver::stop()
{
    for (QProcess* process : {&game, &server}) {
        if (process->state() != QProcess::NotRunning) {
            process->terminate();
            if (!process->waitForFinished(5000)) {
                process->kill();
                process->waitForFinished(5000);
            }
        }
    }
}

QPoint Driver::waitForWindow(const QString& name)
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < PatienceMs) {
        const QString id = run("xdotool", {"search", "--onlyvisible", "--name", '^' + name + '$'}, env).section('\n', 0, 0);
        if (!id.isEmpty()) {
            QPoint origin;
            const QString geometry = run("xdotool", {"getwindowgeometry", "--shell", id}, env);
            for (const QString& line : geometry.split('\n')) {
                if (line.startsWith("X="))
                    origin.setX(line.mid(2).toInt());
                if (line.startsWith("Y="))
                    origin.setY(line.mid(2).toInt());
            }
            return origin;
        }
        if (game.state() == QProcess::NotRunning)
            fail("the game ended: " + QString::fromLocal8Bit(game.readAllStandardError()));
        QThread::msleep(50);
    }
    fail("no window " + name);
}

QImage Driver::photograph()
{
    QByteArray ppm;
    run("import", {"-window", "root", "ppm:-"}, env, &ppm);
    QImage shot;
    if (!shot.loadFromData(ppm, "PPM"))
        fail(QStringLiteral("import gave no picture"));
    return shot.convertToFormat(QImage::Format_RGB32);
}

QImage Driver::waitFor(const QString& what, const std::function<bool(const QImage&)>& ready)
{
    QElapsedTimer clock;
    clock.start();
    QImage shot;
    do {
        shot = photograph();
        if (ready(shot))
            return shot;
        QThread::msleep(30);
    } while (clock.elapsed() < PatienceMs);
    const QString path = shots.filePath(QStringLiteral("%1-failed.png").arg(passed + 1, 2, 10, QChar('0')));
    shot.save(path);
    fail(what + " did not show within " + QString::number(PatienceMs / 1000) + " s; last screenshot " + path);
}

void Driver::pass(const QString& what, const QImage& shot)
{
    ++passed;
    QString slug = what.toLower();
    slug.replace(QRegularExpression(QStringLiteral("[^a-z0-9]+")), QStringLiteral("-"));
    const QString path = shots.filePath(QStringLiteral("%1-%2.png").arg(passed, 2, 10, QChar('0')).arg(slug.left(40)));
    shot.save(path);
    std::printf("ok %d - %s\n#   %s\n", passed, qPrintable(what), qPrintable(path));
    std::fflush(stdout);
}

void Driver::click(std::initializer_list<QPoint> points)
{
    // One xdotool run for the lot, so clicks meant to be quick are quick.
    QStringList args;
    for (QPoint p : points) {
        const QPoint screen = table + p;
        // --sync waits for the pointer to move, which it never does when it
        // is already there.
        if (screen != pointer)
            args << "mousemove" << "--sync" << QString::number(screen.x()) << QString::number(screen.y());
        args << "click" << "1";
        pointer = screen;
    }
    run("xdotool", args, env);
}

void Driver::clickTitle(QPoint p)
{
    const QPoint old = table;
    table = title;
    click({p});
    table = old;
}

// The text lines of the visible bet list, top to bottom: bands of rows that
// hold any pixel besides the list's black and the selection's navy.
QList<QRect> Driver::listRows(const QImage& shot) const
{
    QList<QRect> rows;
    const QRect area = ListInside.translated(table);
    int top = -1;
    for (int y = area.top(); y <= area.bottom() + 1; ++y) {
        bool inked = false;
        for (int x = area.left(); y <= area.bottom() && x <= area.right() && !inked; ++x) {
            const QRgb p = shot.pixel(x, y);
            inked = p != Black && p != Navy;
        }
        if (inked && top < 0)
            top = y;
        if (!inked && top >= 0) {
            rows << QRect(area.left(), top, area.width(), y - top).translated(-table);
            top = -1;
        }
    }
    return rows;
}

bool Driver::rowSelected(const QImage& shot) const
{
    const QRect area = ListInside.translated(table);
    int navy = 0;
    for (int y = area.top(); y <= area.bottom(); y += 2) {
        for (int x = area.left(); x <= area.right(); x += 2)
            navy += shot.pixel(x, y) == Navy;
    }
    return navy > 200;
}

// The chips are coloured discs; the tray's black and the window's are alike.
bool Driver::trayUp(const QImage& shot) const
{
    for (int chip = 0; chip < 6; ++chip) {
        if (at(shot, chipCentre(chip) + QPoint(-20, 0)) == Black)
            return false;
    }
    return true;
}

bool Driver::titleUp(const QImage& shot) const
{
    return shot.pixel(title) == Yellow && shot.pixel(title + QPoint(808, 504)) == Yellow
        && shot.pixel(title + QPoint(12, 300)) == Black && at(shot, TableGreen) != Green;
}

// Reads the drawn number by finding the table cell whose caption has the same
// pixels, colour included, as Cislo's. -1 when none does.
int Driver::cisloNumber(const QImage& shot) const
{
    const QImage shown = ink(shot, CisloInside.translated(table), Green);
    for (int number = 0; number <= 36; ++number) {
        if (differences(shown, ink(shot, cell(number).translated(table), Green)) == 0)
            return number;
    }
    return -1;
}

void Driver::play()
{
    shots.removeRecursively();
    if (!QDir().mkpath(shots.path()))
        fail("cannot make " + shots.path());
    startServer();

    game.setProcessEnvironment(env);
    game.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    game.start(program, {});
    if (!game.waitForStarted(PatienceMs))
        fail("cannot start " + program);

    // 1. The title window.
    title = waitForWindow("Form2");
    QImage shot = waitFor("the title window", [&](const QImage& s) {
        return s.pixel(title) == Yellow && s.pixel(title + QPoint(808, 504)) == Yellow
            && s.pixel(title + QPoint(12, 300)) == Black;
    });
    expectLayout(shot, title, TitlePixels);
    pass("title window with its yellow frame, drawn as laid out", shot);

    // 2. "Play" brings up the table with the first player's starting stock.
    clickTitle(PlayCaption);
    table = waitForWindow("Form1");
    shot = waitFor("the table", [&](const QImage& s) {
        return at(s, TableGreen) == Green && trayUp(s) && listRows(s).isEmpty() && cisloNumber(s) == 1;
    });
    std::array<QImage, 6> two; // every counter shows "2" now
    for (int chip = 0; chip < 6; ++chip)
        two[chip] = crop(shot, counter(chip));
    const QImage player1 = crop(shot, Label4);
    expectLayout(shot, table, TablePixels);
    pass("Play shows the table as laid out: tray up, empty list, Cislo shows a red 1", shot);

    // 3. The first player lays a 1 on Even and a 1 on Odd: exactly one of them
    //    wins whatever is drawn, so the stock must come back whole.
    click({chipCentre(0), Even, Odd});
    shot = waitFor("two entries in the first list", [&](const QImage& s) {
        return listRows(s).size() == 2 && crop(s, counter(0)) != two[0];
    });
    pass("first player bets 1 on Even and 1 on Odd", shot);

    // 4. "Next": the second player, with a stock of its own and an empty list.
    click({Next});
    shot = waitFor("the second player's turn", [&](const QImage& s) {
        return crop(s, Label4) != player1 && listRows(s).isEmpty() && crop(s, counter(0)) == two[0];
    });
    pass("Next hands the table to Player 2", shot);

    // 5. The second player: a 5 on Big and a 5 on Small (one of them wins),
    //    and a 100 on 17.
    click({chipCentre(1), Big, Small, chipCentre(5), cell(17).center()});
    shot = waitFor("three entries in the second list", [&](const QImage& s) {
        return listRows(s).size() == 3 && crop(s, counter(1)) != two[1] && crop(s, counter(5)) != two[5];
    });
    const QImage one100 = crop(shot, counter(5)); // "1"
    pass("second player bets 5 on Big, 5 on Small and 100 on 17", shot);

    // 6. "Next" spins; the first player's stock comes back whole.
    click({Next});
    int drawn = -1;
    shot = waitFor("the end of the spin", [&](const QImage& s) {
        drawn = cisloNumber(s);
        return trayUp(s) && crop(s, Label4) == player1 && listRows(s).isEmpty() && drawn >= 0;
    });
    for (int chip = 0; chip < 6; ++chip) {
        if (crop(shot, counter(chip)) != two[chip])
            fail(QStringLiteral("after the spin the first player's counter %1 does not show 2 again").arg(chip));
    }
    pass(QStringLiteral("Next spins: %1 drawn, the first player's stock is whole").arg(drawn), shot);

    // 7. Withdrawal: a 10 on 7 and a 10 on the red disc, then the first entry
    //    is selected and Delete takes it back.
    click({chipCentre(2), cell(7).center()});
    shot = waitFor("one entry", [&](const QImage& s) { return listRows(s).size() == 1; });
    const QImage one10 = crop(shot, counter(2)); // "1"
    click({RedDisc});
    QList<QRect> rows;
    shot = waitFor("two entries", [&](const QImage& s) {
        rows = listRows(s);
        return rows.size() == 2 && crop(s, counter(2)) != one10;
    });
    const QImage secondEntry = ink(shot, rows[1].translated(table), Black);
    click({rows[0].center()});
    shot = waitFor("the first entry selected", [&](const QImage& s) { return rowSelected(s); });
    run("xdotool", {"key", "Delete"}, env);
    shot = waitFor("the withdrawal", [&](const QImage& s) {
        const QList<QRect> left = listRows(s);
        return left.size() == 1 && !rowSelected(s) && crop(s, counter(2)) == one10
            && differences(ink(s, left[0].translated(table), Black), secondEntry) == 0;
    });
    pass("Delete withdraws the selected entry and returns its chip", shot);

    // 8. "Next": the second player's 5s came back whole; the 100 on 17 paid
    //    36 only if 17 was drawn.
    click({Next});
    shot = waitFor("the second player's turn", [&](const QImage& s) {
        return crop(s, Label4) != player1 && listRows(s).isEmpty() && crop(s, counter(1)) == two[1]
            && (crop(s, counter(5)) == one100) == (drawn != 17);
    });
    pass("the second player's winnings are in the store", shot);

    // 9. "Next" and at once "X": the title comes back while the wheel spins.
    click({Next, CloseX});
    shot = waitFor("the title window", [&](const QImage& s) { return titleUp(s); });
    pass("X during the spin brings back the title window", shot);

    // 10. "Play": the spin went on behind the title and is settled.
    clickTitle(PlayCaption);
    shot = waitFor("the table after the spin", [&](const QImage& s) {
        drawn = cisloNumber(s);
        return !titleUp(s) && at(s, TableGreen) == Green && trayUp(s) && crop(s, Label4) == player1
            && listRows(s).isEmpty() && drawn >= 0;
    });
    // The 10 on red paid 2 if red came up.
    if ((crop(shot, counter(2)) == one10) == isRed(drawn))
        fail(QStringLiteral("the 10 on red was not settled against %1").arg(drawn));
    pass(QStringLiteral("Play shows the settled spin (%1 drawn) and Player 1").arg(drawn), shot);

    // 11. "X", then "Quit" ends the program at once and cleanly.
    click({CloseX});
    waitFor("the title window", [&](const QImage& s) { return titleUp(s); });
    clickTitle(QuitCaption);
    QElapsedTimer quitting;
    quitting.start();
    if (!game.waitForFinished(PatienceMs))
        fail(QStringLiteral("the game did not end after Quit"));
    if (game.exitStatus() != QProcess::NormalExit || game.exitCode() != 0)
        fail(QStringLiteral("the game ended with status %1").arg(game.exitCode()));
    shot = photograph();
    if (titleUp(shot) || shot.pixel(title + QPoint(0, 0)) == Yellow)
        fail(QStringLiteral("a window is still on the screen after Quit"));
    pass(QStringLiteral("Quit ends the program with status 0 after %1 ms").arg(quitting.elapsed()), shot);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <morvik-roulette> <screenshot directory>\n", argv[0]);
        return 2;
    }
    for (const char* tool : {"Xvfb", "xdotool", "import"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty()) {
            std::printf("# skipped: %s is not installed (packages xvfb, xdotool, imagemagick)\n", tool);
            return 77;
        }
    }
    Driver driver(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    try {
        driver.play();
    } catch (const Failure& failure) {
        std::printf("not ok %d - %s\n", driver.passed + 1, failure.what());
        std::printf("# %d of %d steps passed\n", driver.passed, driver.planned);
        return 1;
    }
    std::printf("# %d of %d steps passed\n", driver.passed, driver.planned);
    return driver.passed == driver.planned ? 0 : 1;
}
