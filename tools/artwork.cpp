// morvik-artwork DIR: paints the game's pictures (the title, the maker's
// logo, the chips and the application icon) and writes them into DIR, the
// source tree's assets/. Qt writes the BMPs and PNGs; ImageMagick's convert
// reduces the title to a GIF of 256 colours, one of them transparent. The
// results are committed, so the game itself never needs this tool.
#include <QDir>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProcess>
#include <QRadialGradient>
#include <QTemporaryDir>
#include <QTransform>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace morvik::artwork {

namespace {

struct ChipDesign {
    int value;
    QRgb colour;
};

// The chip denominations the game offers, in the colours players learn to
// recognise at a glance.
constexpr std::array<ChipDesign, 6> Chips = {{
    {1, 0xffd62828},    // red
    {5, 0xff14a3a0},    // teal
    {10, 0xff9b4fd8},   // purple
    {20, 0xff2fa844},   // green
    {50, 0xfff27f16},   // orange
    {100, 0xff2f6ae0},  // blue
}};

constexpr std::array<int, 6> IconSizes = {16, 32, 48, 64, 128, 256};

struct GradientStop {
    double position;
    QRgb colour;
};

// ---- title -----------------------------------------------------------------

constexpr QSize TitleSize{1004, 515};
constexpr double TitleMargin = 8.0;
constexpr double TitleLineGap = 14.0;
// Taller-than-normal letters fill the two-line frame better than the font's
// own proportions would; beyond this they start to look squashed sideways.
constexpr double TitleMaxStretch = 1.3;
// Morvik is the shorter word; letting it span the full width would dwarf
// "Roulette" underneath.
constexpr double TitleTopWidthShare = 0.86;
constexpr int TitleDepth = 18;  // extrusion steps, one pixel each
constexpr double ShadowNearBrightness = 0.55;
constexpr double ShadowFarBrightness = 0.18;
constexpr double TitleOutlineWidth = 3.0;
constexpr QRgb TitleOutline = 0xff1a0c24;

constexpr std::array<GradientStop, 6> Rainbow = {{
    {0.00, 0xffff2a2a},
    {0.20, 0xffff8c1a},
    {0.40, 0xffffe81a},
    {0.60, 0xff3fe04a},
    {0.80, 0xff1a9cff},
    {1.00, 0xffb040ff},
}};

// ---- logo ------------------------------------------------------------------

constexpr QSize LogoSize{222, 100};
constexpr QRectF LogoBanner{3.0, 3.0, 216.0, 29.0};
constexpr double LogoBannerRadius = 6.0;
constexpr QRectF LogoBannerText{14.0, 8.0, 194.0, 19.0};
constexpr QRgb BannerTop = 0xff3d74ff;
constexpr QRgb BannerBottom = 0xff0f2f9e;
constexpr QRgb BannerEdge = 0xff8fb0ff;
constexpr QPointF EmblemCentre{33.0, 67.0};
constexpr double EmblemRadius = 28.0;
// Outermost first; each ring covers the previous one up to its radius.
constexpr std::array<GradientStop, 5> EmblemRings = {{
    {1.00, 0xffff7a10},
    {0.78, 0xffffd21a},
    {0.56, 0xffffffff},
    {0.36, 0xffff7a10},
    {0.16, 0xffffd21a},
}};
constexpr double EmblemDotRadius = 3.0;
constexpr QRgb EmblemDot = 0xffc01808;
constexpr QRectF LogoWordmark{70.0, 40.0, 146.0, 54.0};
constexpr QRgb WordmarkTop = 0xffffee30;
constexpr QRgb WordmarkBottom = 0xffff6a00;
constexpr QRgb WordmarkEdge = 0xff7a2a00;

// ---- chips -----------------------------------------------------------------

constexpr QSize ChipSize{60, 60};
constexpr QPointF ChipCentre{30.0, 30.0};
constexpr double ChipRadius = 28.5;
constexpr double ChipSpotInner = 21.0;
constexpr double ChipSpotOuter = 27.3;
constexpr double ChipFaceRadius = 19.5;
constexpr int ChipSpots = 6;
constexpr double ChipSpotSpanDegrees = 22.0;
constexpr QRgb ChipSpot = 0xfff6f1e4;
constexpr double ChipFaceWhiteness = 0.28;
// Digits stay inside the face; "100" may be narrowed this much before it
// has to shrink as a whole.
constexpr QRectF ChipDigits{14.0, 20.0, 32.0, 20.0};
constexpr double ChipDigitMinAspect = 0.8;

// ---- application icon --------------------------------------------------------

// Fractions of the wheel radius.
constexpr double WheelPocketOuter = 0.84;
constexpr double WheelPocketInner = 0.56;
constexpr double WheelHub = 0.13;
constexpr double WheelBall = 0.085;
constexpr QRgb WheelWoodLight = 0xff9a5426;
constexpr QRgb WheelWoodDark = 0xff4a200a;
constexpr QRgb WheelRed = 0xffd81e1e;
constexpr QRgb WheelBlack = 0xff1c1c1c;
constexpr QRgb WheelGreen = 0xff1aa03a;
constexpr QRgb GoldLight = 0xffffeaa0;
constexpr QRgb Gold = 0xffdaa520;
constexpr QRgb GoldDark = 0xff8a5a10;

// ---- helpers -----------------------------------------------------------------

QColor colour(QRgb rgb)
{
    return QColor::fromRgba(rgb);
}

QColor scaled(QRgb rgb, double brightness)
{
    return QColor(static_cast<int>(qRed(rgb) * brightness), static_cast<int>(qGreen(rgb) * brightness),
                  static_cast<int>(qBlue(rgb) * brightness));
}

QColor mixed(QRgb a, QRgb b, double t)
{
    auto blend = [t](int x, int y) { return static_cast<int>(std::lround(x + (y - x) * t)); };
    return QColor(blend(qRed(a), qRed(b)), blend(qGreen(a), qGreen(b)), blend(qBlue(a), qBlue(b)));
}

QImage blankImage(QSize size, Qt::GlobalColor background)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(background);
    return image;
}

void smooth(QPainter& painter)
{
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

// Text as outlines, so it can be stretched, filled with gradients and
// extruded like any other shape.
QPainterPath textPath(const QString& family, const QString& text, double letterSpacingPercent = 100.0)
{
    QFont font(family);
    font.setPixelSize(200);
    font.setWeight(QFont::Bold);
    font.setLetterSpacing(QFont::PercentageSpacing, letterSpacingPercent);
    font.setKerning(true);
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

// Scales `path` by (sx, sy) and centres its ink in `box`.
QPainterPath placed(const QPainterPath& path, double sx, double sy, const QRectF& box)
{
    const QRectF ink = path.boundingRect();
    QTransform transform;
    transform.translate(box.center().x(), box.center().y());
    transform.scale(sx, sy);
    transform.translate(-ink.center().x(), -ink.center().y());
    return transform.map(path);
}

// Largest uniform scale that fits, except that wide text may be narrowed
// down to `minAspect` of its height scale first.
QPainterPath fitted(const QPainterPath& path, const QRectF& box, double minAspect = 1.0)
{
    const QRectF ink = path.boundingRect();
    const double byHeight = box.height() / ink.height();
    const double sx = std::min(byHeight, box.width() / ink.width());
    const double sy = std::min(byHeight, sx / minAspect);
    return placed(path, sx, sy, box);
}

QLinearGradient horizontalGradient(const QRectF& span, const auto& stops, double brightness = 1.0)
{
    QLinearGradient gradient(span.left(), 0, span.right(), 0);
    for (const GradientStop& stop : stops)
        gradient.setColorAt(stop.position, scaled(stop.colour, brightness));
    return gradient;
}

// A slice of a ring, angles in degrees counter-clockwise from three o'clock.
QPainterPath ringSector(QPointF centre, double outer, double inner, double startDegrees, double spanDegrees)
{
    const QRectF outerBox(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer);
    const QRectF innerBox(centre.x() - inner, centre.y() - inner, 2 * inner, 2 * inner);
    QPainterPath path;
    path.arcMoveTo(outerBox, startDegrees);
    path.arcTo(outerBox, startDegrees, spanDegrees);
    path.arcTo(innerBox, startDegrees + spanDegrees, -spanDegrees);
    path.closeSubpath();
    return path;
}

// Light from the upper left: a soft highlight fading into a darker lower
// right, laid over flat colours so every part of a disc is lit alike.
void lightDisc(QPainter& painter, QPointF centre, double radius, int highlight, int shade)
{
    QRadialGradient light(centre, radius, centre + QPointF(-0.35 * radius, -0.4 * radius));
    light.setColorAt(0.0, QColor(255, 255, 255, highlight));
    light.setColorAt(0.55, QColor(255, 255, 255, 0));
    light.setColorAt(0.8, QColor(0, 0, 0, shade / 3));
    light.setColorAt(1.0, QColor(0, 0, 0, shade));
    painter.setPen(Qt::NoPen);
    painter.setBrush(light);
    painter.drawEllipse(centre, radius, radius);
}

QImage drawTitle(const QString& family)
{
    QImage image = blankImage(TitleSize, Qt::transparent);
    QPainter painter(&image);
    smooth(painter);

    const QRectF area(TitleMargin, TitleMargin, TitleSize.width() - 2 * TitleMargin - TitleDepth,
                      TitleSize.height() - 2 * TitleMargin - TitleDepth);
    const QPainterPath top = textPath(family, QStringLiteral("Morvik"));
    const QPainterPath bottom = textPath(family, QStringLiteral("Roulette"));

    // Width decides the size of each word; spare height is then used to make
    // both words taller, the same amount each.
    const double topScale = area.width() * TitleTopWidthShare / top.boundingRect().width();
    const double bottomScale = area.width() / bottom.boundingRect().width();
    const double naturalHeight = top.boundingRect().height() * topScale + bottom.boundingRect().height() * bottomScale;
    const double fill = (area.height() - TitleLineGap) / naturalHeight;
    const double shrink = std::min(1.0, fill);
    const double stretch = std::min(fill, TitleMaxStretch * shrink);

    const double topHeight = top.boundingRect().height() * topScale * stretch;
    const double bottomHeight = bottom.boundingRect().height() * bottomScale * stretch;
    const double blockTop = area.top() + (area.height() - topHeight - TitleLineGap - bottomHeight) / 2;
    const QRectF topBox(area.left(), blockTop, area.width(), topHeight);
    const QRectF bottomBox(area.left(), blockTop + topHeight + TitleLineGap, area.width(), bottomHeight);

    const std::array<QPainterPath, 2> lines = {
        placed(top, topScale * shrink, topScale * stretch, topBox),
        placed(bottom, bottomScale * shrink, bottomScale * stretch, bottomBox),
    };

    // Extrusion first, farthest step first, so nearer steps cover it and the
    // letters read as solid blocks receding down-right.
    for (int step = TitleDepth; step >= 1; --step) {
        const double t = static_cast<double>(step - 1) / (TitleDepth - 1);
        const double brightness = ShadowNearBrightness + (ShadowFarBrightness - ShadowNearBrightness) * t;
        for (const QPainterPath& line : lines) {
            const QRectF span = line.boundingRect().translated(step, step);
            painter.setPen(Qt::NoPen);
            painter.setBrush(horizontalGradient(span, Rainbow, brightness));
            painter.drawPath(line.translated(step, step));
        }
    }

    for (const QPainterPath& line : lines) {
        const QRectF span = line.boundingRect();
        painter.setPen(Qt::NoPen);
        painter.setBrush(horizontalGradient(span, Rainbow));
        painter.drawPath(line);

        // Glossy top half, slightly shaded bottom: makes the faces look
        // rounded rather than flat paper cut-outs.
        QLinearGradient gloss(0, span.top(), 0, span.bottom());
        gloss.setColorAt(0.0, QColor(255, 255, 255, 150));
        gloss.setColorAt(0.48, QColor(255, 255, 255, 20));
        gloss.setColorAt(0.52, QColor(0, 0, 0, 0));
        gloss.setColorAt(1.0, QColor(0, 0, 0, 70));
        painter.save();
        painter.setClipPath(line);
        painter.fillRect(span, gloss);
        painter.restore();

        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(colour(TitleOutline), TitleOutlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(line);
    }
    return image;
}

QImage drawLogo(const QString& family)
{
    QImage image = blankImage(LogoSize, Qt::black);
    QPainter painter(&image);
    smooth(painter);

    QLinearGradient banner(0, LogoBanner.top(), 0, LogoBanner.bottom());
    banner.setColorAt(0.0, colour(BannerTop));
    banner.setColorAt(1.0, colour(BannerBottom));
    painter.setPen(QPen(colour(BannerEdge), 1.0));
    painter.setBrush(banner);
    painter.drawRoundedRect(LogoBanner, LogoBannerRadius, LogoBannerRadius);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(fitted(textPath(family, QStringLiteral("MORVIK"), 125.0), LogoBannerText));

    painter.setPen(QPen(Qt::black, 1.0));
    for (const GradientStop& ring : EmblemRings) {
        const double radius = EmblemRadius * ring.position;
        painter.setBrush(colour(ring.colour));
        painter.drawEllipse(EmblemCentre, radius, radius);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour(EmblemDot));
    painter.drawEllipse(EmblemCentre, EmblemDotRadius, EmblemDotRadius);
    lightDisc(painter, EmblemCentre, EmblemRadius, 110, 60);

    const QPainterPath game = fitted(textPath(family, QStringLiteral("GAME"), 104.0), LogoWordmark);
    const QRectF ink = game.boundingRect();
    QLinearGradient wordmark(0, ink.top(), 0, ink.bottom());
    wordmark.setColorAt(0.0, colour(WordmarkTop));
    wordmark.setColorAt(0.45, colour(WordmarkTop));
    wordmark.setColorAt(1.0, colour(WordmarkBottom));
    painter.setPen(QPen(colour(WordmarkEdge), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(wordmark);
    painter.drawPath(game);
    return image;
}

QImage drawChip(const ChipDesign& chip, const QString& family)
{
    QImage image = blankImage(ChipSize, Qt::black);
    QPainter painter(&image);
    smooth(painter);

    painter.setPen(Qt::NoPen);
    painter.setBrush(colour(chip.colour));
    painter.drawEllipse(ChipCentre, ChipRadius, ChipRadius);

    // The edge inserts of a casino chip, spread evenly around the rim.
    painter.setBrush(colour(ChipSpot));
    const double spacing = 360.0 / ChipSpots;
    for (int i = 0; i < ChipSpots; ++i) {
        const double start = 90.0 + i * spacing - ChipSpotSpanDegrees / 2;
        painter.drawPath(ringSector(ChipCentre, ChipSpotOuter, ChipSpotInner, start, ChipSpotSpanDegrees));
    }

    // A paler centre keeps the black digits readable on the darker colours.
    painter.setPen(QPen(scaled(chip.colour, 0.55), 1.2));
    painter.setBrush(mixed(chip.colour, 0xffffffff, ChipFaceWhiteness));
    painter.drawEllipse(ChipCentre, ChipFaceRadius, ChipFaceRadius);

    lightDisc(painter, ChipCentre, ChipRadius, 120, 150);

    painter.setPen(QPen(scaled(chip.colour, 0.4), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(ChipCentre, ChipRadius - 0.5, ChipRadius - 0.5);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(fitted(textPath(family, QString::number(chip.value)), ChipDigits, ChipDigitMinAspect));
    return image;
}

QImage drawAppIcon(int size)
{
    QImage image = blankImage(QSize(size, size), Qt::transparent);
    QPainter painter(&image);
    smooth(painter);

    const QPointF centre(size / 2.0, size / 2.0);
    const double radius = size / 2.0 - std::max(0.5, size / 64.0);
    // Fewer, bigger pockets at small sizes: a 37-pocket ring turns into grey
    // mush below about a hundred pixels. Odd counts keep red and black
    // alternating all the way round the single green pocket.
    const int pockets = size <= 16 ? 9 : size <= 32 ? 13 : size <= 64 ? 19 : 37;
    const bool detailed = size >= 48;

    QRadialGradient wood(centre, radius);
    wood.setColorAt(0.8, colour(WheelWoodLight));
    wood.setColorAt(1.0, colour(WheelWoodDark));
    painter.setPen(Qt::NoPen);
    painter.setBrush(wood);
    painter.drawEllipse(centre, radius, radius);

    const double pocketOuter = radius * WheelPocketOuter;
    const double pocketInner = radius * WheelPocketInner;
    // Black underneath, then the coloured pockets: antialiased seams between
    // neighbouring slices then fade to black instead of showing the wood.
    painter.setBrush(colour(WheelBlack));
    painter.drawEllipse(centre, pocketOuter, pocketOuter);
    const double span = 360.0 / pockets;
    for (int i = 0; i < pockets; ++i) {
        if (i != 0 && i % 2 == 0)
            continue;
        painter.setBrush(colour(i == 0 ? WheelGreen : WheelRed));
        painter.drawPath(ringSector(centre, pocketOuter, pocketInner * 0.9, 90.0 - span / 2 + i * span, span));
    }
    if (detailed) {
        painter.setPen(QPen(colour(Gold), size / 160.0));
        for (int i = 0; i < pockets; ++i) {
            const double angle = (90.0 - span / 2 + i * span) * std::numbers::pi / 180.0;
            const QPointF direction(std::cos(angle), -std::sin(angle));
            painter.drawLine(centre + direction * pocketInner, centre + direction * pocketOuter);
        }
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, pocketOuter, pocketOuter);
    }

    QRadialGradient cone(centre, pocketInner, centre - QPointF(pocketInner * 0.3, pocketInner * 0.35));
    cone.setColorAt(0.0, colour(GoldLight));
    cone.setColorAt(0.6, colour(Gold));
    cone.setColorAt(1.0, colour(GoldDark));
    painter.setPen(size >= 32 ? QPen(colour(GoldDark), size / 96.0) : QPen(Qt::NoPen));
    painter.setBrush(cone);
    painter.drawEllipse(centre, pocketInner, pocketInner);

    if (size >= 32) {
        // The turret handle in the middle of the wheel.
        const double arm = pocketInner * 0.7;
        painter.setPen(QPen(colour(GoldDark), std::max(1.0, size / 40.0), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
        painter.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
        QRadialGradient hub(centre, radius * WheelHub, centre - QPointF(radius * 0.04, radius * 0.04));
        hub.setColorAt(0.0, colour(GoldLight));
        hub.setColorAt(1.0, colour(GoldDark));
        painter.setPen(Qt::NoPen);
        painter.setBrush(hub);
        painter.drawEllipse(centre, radius * WheelHub, radius * WheelHub);
    }

    lightDisc(painter, centre, radius, 70, 90);

    if (size >= 32) {
        // The ball resting in a pocket, upper right.
        const double angle = 40.0 * std::numbers::pi / 180.0;
        const double track = (pocketOuter + pocketInner) / 2;
        const QPointF ballCentre = centre + QPointF(std::cos(angle), -std::sin(angle)) * track;
        const double ballRadius = radius * WheelBall;
        QRadialGradient ball(ballCentre, ballRadius, ballCentre - QPointF(ballRadius * 0.4, ballRadius * 0.4));
        ball.setColorAt(0.0, Qt::white);
        ball.setColorAt(1.0, QColor(170, 170, 180));
        painter.setBrush(ball);
        painter.drawEllipse(ballCentre, ballRadius, ballRadius);
    }
    return image;
}

// The GIF has one transparent colour and the game shows the title on black:
// pixels at least half covered are blended onto black, the others are clear.
QImage onBlack(QImage image)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y)); // premultiplied: the colour on black
        for (int x = 0; x < image.width(); ++x)
            line[x] = qAlpha(line[x]) < 128 ? 0 : line[x] | 0xff000000;
    }
    return image;
}

bool saved(bool ok, const QString& path)
{
    std::fprintf(ok ? stdout : stderr, ok ? "wrote %s\n" : "morvik-artwork: cannot write %s\n", qPrintable(path));
    return ok;
}

} // namespace

} // namespace morvik::artwork

int main(int argc, char* argv[])
{
    using namespace morvik::artwork;
    // Nothing is shown: the tool runs on machines without a display too.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: morvik-artwork ASSETS-DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString fontFile = QStringLiteral(MORVIK_ARTWORK_FONT);
    const QStringList families =
        QFontDatabase::applicationFontFamilies(QFontDatabase::addApplicationFont(fontFile));
    if (families.isEmpty()) {
        std::fprintf(stderr, "morvik-artwork: cannot load %s (Debian package fonts-liberation2)\n",
                     qPrintable(fontFile));
        return 1;
    }
    const QString& family = families.front();

    bool ok = out.mkpath(QStringLiteral("."));
    QTemporaryDir scratch;
    const QString png = scratch.filePath(QStringLiteral("title.png"));
    const QString gif = out.filePath(QStringLiteral("title.gif"));
    ok &= saved(onBlack(drawTitle(family)).save(png, "PNG") &&
                    QProcess::execute(QStringLiteral("convert"), {png, QStringLiteral("-colors"),
                                                                  QStringLiteral("256"), gif}) == 0,
                gif);

    const QString logo = out.filePath(QStringLiteral("logo.bmp"));
    ok &= saved(drawLogo(family).convertToFormat(QImage::Format_RGB32).save(logo, "BMP"), logo);
    for (const ChipDesign& chip : Chips) {
        const QString path = out.filePath(QStringLiteral("chip-%1.bmp").arg(chip.value));
        ok &= saved(drawChip(chip, family).convertToFormat(QImage::Format_RGB32).save(path, "BMP"), path);
    }
    for (const int size : IconSizes) {
        const QString dir = QStringLiteral("icons/hicolor/%1x%1/apps").arg(size);
        const QString path = out.filePath(dir + QStringLiteral("/morvik-roulette.png"));
        out.mkpath(dir); // a failure shows as the save failing
        ok &= saved(drawAppIcon(size).save(path, "PNG"), path);
    }
    return ok ? 0 : 1;
}
