#include "artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace artwork {
namespace {

struct GradientStop {
    double position;
    QRgb colour;
};

// ---- title -----------------------------------------------------------------

constexpr QSize kTitleSize{1004, 515};
constexpr double kTitleMargin = 8.0;
constexpr double kTitleLineGap = 14.0;
// Taller-than-normal letters fill the two-line frame better than the font's
// own proportions would; beyond this they start to look squashed sideways.
constexpr double kTitleMaxStretch = 1.3;
// Morvik is the shorter word; letting it span the full width would dwarf
// "Roulette" underneath.
constexpr double kTitleTopWidthShare = 0.86;
constexpr int kTitleDepth = 18;  // extrusion steps, one pixel each
constexpr double kShadowNearBrightness = 0.55;
constexpr double kShadowFarBrightness = 0.18;
constexpr double kTitleOutlineWidth = 3.0;
constexpr QRgb kTitleOutline = 0xff1a0c24;

constexpr std::array<GradientStop, 6> kRainbow = {{
    {0.00, 0xffff2a2a},
    {0.20, 0xffff8c1a},
    {0.40, 0xffffe81a},
    {0.60, 0xff3fe04a},
    {0.80, 0xff1a9cff},
    {1.00, 0xffb040ff},
}};

// ---- logo ------------------------------------------------------------------

constexpr QSize kLogoSize{222, 100};
constexpr QRectF kLogoBanner{3.0, 3.0, 216.0, 29.0};
constexpr double kLogoBannerRadius = 6.0;
constexpr QRectF kLogoBannerText{14.0, 8.0, 194.0, 19.0};
constexpr QRgb kBannerTop = 0xff3d74ff;
constexpr QRgb kBannerBottom = 0xff0f2f9e;
constexpr QRgb kBannerEdge = 0xff8fb0ff;
constexpr QPointF kEmblemCentre{33.0, 67.0};
constexpr double kEmblemRadius = 28.0;
// Outermost first; each ring covers the previous one up to its radius.
constexpr std::array<GradientStop, 5> kEmblemRings = {{
    {1.00, 0xffff7a10},
    {0.78, 0xffffd21a},
    {0.56, 0xffffffff},
    {0.36, 0xffff7a10},
    {0.16, 0xffffd21a},
}};
constexpr double kEmblemDotRadius = 3.0;
constexpr QRgb kEmblemDot = 0xffc01808;
constexpr QRectF kLogoWordmark{70.0, 40.0, 146.0, 54.0};
constexpr QRgb kWordmarkTop = 0xffffee30;
constexpr QRgb kWordmarkBottom = 0xffff6a00;
constexpr QRgb kWordmarkEdge = 0xff7a2a00;

// ---- chips -----------------------------------------------------------------

constexpr QSize kChipSize{60, 60};
constexpr QPointF kChipCentre{30.0, 30.0};
constexpr double kChipRadius = 28.5;
constexpr double kChipSpotInner = 21.0;
constexpr double kChipSpotOuter = 27.3;
constexpr double kChipFaceRadius = 19.5;
constexpr int kChipSpots = 6;
constexpr double kChipSpotSpanDegrees = 22.0;
constexpr QRgb kChipSpot = 0xfff6f1e4;
constexpr double kChipFaceWhiteness = 0.28;
// Digits stay inside the face; "100" may be narrowed this much before it
// has to shrink as a whole.
constexpr QRectF kChipDigits{14.0, 20.0, 32.0, 20.0};
constexpr double kChipDigitMinAspect = 0.8;

// ---- application icon --------------------------------------------------------

// Fractions of the wheel radius.
constexpr double kWheelPocketOuter = 0.84;
constexpr double kWheelPocketInner = 0.56;
constexpr double kWheelHub = 0.13;
constexpr double kWheelBall = 0.085;
constexpr QRgb kWheelWoodLight = 0xff9a5426;
constexpr QRgb kWheelWoodDark = 0xff4a200a;
constexpr QRgb kWheelRed = 0xffd81e1e;
constexpr QRgb kWheelBlack = 0xff1c1c1c;
constexpr QRgb kWheelGreen = 0xff1aa03a;
constexpr QRgb kGoldLight = 0xffffeaa0;
constexpr QRgb kGold = 0xffdaa520;
constexpr QRgb kGoldDark = 0xff8a5a10;

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

}  // namespace

QImage drawTitle(const Fonts& fonts)
{
    QImage image = blankImage(kTitleSize, Qt::transparent);
    QPainter painter(&image);
    smooth(painter);

    const QRectF area(kTitleMargin, kTitleMargin, kTitleSize.width() - 2 * kTitleMargin - kTitleDepth,
                      kTitleSize.height() - 2 * kTitleMargin - kTitleDepth);
    const QPainterPath top = textPath(fonts.sans, QStringLiteral("Morvik"));
    const QPainterPath bottom = textPath(fonts.sans, QStringLiteral("Roulette"));

    // Width decides the size of each word; spare height is then used to make
    // both words taller, the same amount each.
    const double topScale = area.width() * kTitleTopWidthShare / top.boundingRect().width();
    const double bottomScale = area.width() / bottom.boundingRect().width();
    const double naturalHeight = top.boundingRect().height() * topScale + bottom.boundingRect().height() * bottomScale;
    const double fill = (area.height() - kTitleLineGap) / naturalHeight;
    const double shrink = std::min(1.0, fill);
    const double stretch = std::min(fill, kTitleMaxStretch * shrink);

    const double topHeight = top.boundingRect().height() * topScale * stretch;
    const double bottomHeight = bottom.boundingRect().height() * bottomScale * stretch;
    const double blockTop = area.top() + (area.height() - topHeight - kTitleLineGap - bottomHeight) / 2;
    const QRectF topBox(area.left(), blockTop, area.width(), topHeight);
    const QRectF bottomBox(area.left(), blockTop + topHeight + kTitleLineGap, area.width(), bottomHeight);

    const std::array<QPainterPath, 2> lines = {
        placed(top, topScale * shrink, topScale * stretch, topBox),
        placed(bottom, bottomScale * shrink, bottomScale * stretch, bottomBox),
    };

    // Extrusion first, farthest step first, so nearer steps cover it and the
    // letters read as solid blocks receding down-right.
    for (int step = kTitleDepth; step >= 1; --step) {
        const double t = static_cast<double>(step - 1) / (kTitleDepth - 1);
        const double brightness = kShadowNearBrightness + (kShadowFarBrightness - kShadowNearBrightness) * t;
        for (const QPainterPath& line : lines) {
            const QRectF span = line.boundingRect().translated(step, step);
            painter.setPen(Qt::NoPen);
            painter.setBrush(horizontalGradient(span, kRainbow, brightness));
            painter.drawPath(line.translated(step, step));
        }
    }

    for (const QPainterPath& line : lines) {
        const QRectF span = line.boundingRect();
        painter.setPen(Qt::NoPen);
        painter.setBrush(horizontalGradient(span, kRainbow));
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
        painter.setPen(QPen(colour(kTitleOutline), kTitleOutlineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(line);
    }
    return image;
}

QImage drawLogo(const Fonts& fonts)
{
    QImage image = blankImage(kLogoSize, Qt::black);
    QPainter painter(&image);
    smooth(painter);

    QLinearGradient banner(0, kLogoBanner.top(), 0, kLogoBanner.bottom());
    banner.setColorAt(0.0, colour(kBannerTop));
    banner.setColorAt(1.0, colour(kBannerBottom));
    painter.setPen(QPen(colour(kBannerEdge), 1.0));
    painter.setBrush(banner);
    painter.drawRoundedRect(kLogoBanner, kLogoBannerRadius, kLogoBannerRadius);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPath(fitted(textPath(fonts.sans, QStringLiteral("MORVIK"), 125.0), kLogoBannerText));

    painter.setPen(QPen(Qt::black, 1.0));
    for (const GradientStop& ring : kEmblemRings) {
        const double radius = kEmblemRadius * ring.position;
        painter.setBrush(colour(ring.colour));
        painter.drawEllipse(kEmblemCentre, radius, radius);
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour(kEmblemDot));
    painter.drawEllipse(kEmblemCentre, kEmblemDotRadius, kEmblemDotRadius);
    lightDisc(painter, kEmblemCentre, kEmblemRadius, 110, 60);

    const QPainterPath game = fitted(textPath(fonts.sans, QStringLiteral("GAME"), 104.0), kLogoWordmark);
    const QRectF ink = game.boundingRect();
    QLinearGradient wordmark(0, ink.top(), 0, ink.bottom());
    wordmark.setColorAt(0.0, colour(kWordmarkTop));
    wordmark.setColorAt(0.45, colour(kWordmarkTop));
    wordmark.setColorAt(1.0, colour(kWordmarkBottom));
    painter.setPen(QPen(colour(kWordmarkEdge), 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(wordmark);
    painter.drawPath(game);
    return image;
}

QImage drawChip(const ChipDesign& chip, const Fonts& fonts)
{
    QImage image = blankImage(kChipSize, Qt::black);
    QPainter painter(&image);
    smooth(painter);

    painter.setPen(Qt::NoPen);
    painter.setBrush(colour(chip.colour));
    painter.drawEllipse(kChipCentre, kChipRadius, kChipRadius);

    // The edge inserts of a casino chip, spread evenly around the rim.
    painter.setBrush(colour(kChipSpot));
    const double spacing = 360.0 / kChipSpots;
    for (int i = 0; i < kChipSpots; ++i) {
        const double start = 90.0 + i * spacing - kChipSpotSpanDegrees / 2;
        painter.drawPath(ringSector(kChipCentre, kChipSpotOuter, kChipSpotInner, start, kChipSpotSpanDegrees));
    }

    // A paler centre keeps the black digits readable on the darker colours.
    painter.setPen(QPen(scaled(chip.colour, 0.55), 1.2));
    painter.setBrush(mixed(chip.colour, 0xffffffff, kChipFaceWhiteness));
    painter.drawEllipse(kChipCentre, kChipFaceRadius, kChipFaceRadius);

    lightDisc(painter, kChipCentre, kChipRadius, 120, 150);

    painter.setPen(QPen(scaled(chip.colour, 0.4), 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(kChipCentre, kChipRadius - 0.5, kChipRadius - 0.5);

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPath(fitted(textPath(fonts.sans, QString::number(chip.value)), kChipDigits, kChipDigitMinAspect));
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
    wood.setColorAt(0.8, colour(kWheelWoodLight));
    wood.setColorAt(1.0, colour(kWheelWoodDark));
    painter.setPen(Qt::NoPen);
    painter.setBrush(wood);
    painter.drawEllipse(centre, radius, radius);

    const double pocketOuter = radius * kWheelPocketOuter;
    const double pocketInner = radius * kWheelPocketInner;
    // Black underneath, then the coloured pockets: antialiased seams between
    // neighbouring slices then fade to black instead of showing the wood.
    painter.setBrush(colour(kWheelBlack));
    painter.drawEllipse(centre, pocketOuter, pocketOuter);
    const double span = 360.0 / pockets;
    for (int i = 0; i < pockets; ++i) {
        if (i != 0 && i % 2 == 0)
            continue;
        painter.setBrush(colour(i == 0 ? kWheelGreen : kWheelRed));
        painter.drawPath(ringSector(centre, pocketOuter, pocketInner * 0.9, 90.0 - span / 2 + i * span, span));
    }
    if (detailed) {
        painter.setPen(QPen(colour(kGold), size / 160.0));
        for (int i = 0; i < pockets; ++i) {
            const double angle = (90.0 - span / 2 + i * span) * std::numbers::pi / 180.0;
            const QPointF direction(std::cos(angle), -std::sin(angle));
            painter.drawLine(centre + direction * pocketInner, centre + direction * pocketOuter);
        }
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, pocketOuter, pocketOuter);
    }

    QRadialGradient cone(centre, pocketInner, centre - QPointF(pocketInner * 0.3, pocketInner * 0.35));
    cone.setColorAt(0.0, colour(kGoldLight));
    cone.setColorAt(0.6, colour(kGold));
    cone.setColorAt(1.0, colour(kGoldDark));
    painter.setPen(size >= 32 ? QPen(colour(kGoldDark), size / 96.0) : QPen(Qt::NoPen));
    painter.setBrush(cone);
    painter.drawEllipse(centre, pocketInner, pocketInner);

    if (size >= 32) {
        // The turret handle in the middle of the wheel.
        const double arm = pocketInner * 0.7;
        painter.setPen(QPen(colour(kGoldDark), std::max(1.0, size / 40.0), Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre - QPointF(arm, 0), centre + QPointF(arm, 0));
        painter.drawLine(centre - QPointF(0, arm), centre + QPointF(0, arm));
        QRadialGradient hub(centre, radius * kWheelHub, centre - QPointF(radius * 0.04, radius * 0.04));
        hub.setColorAt(0.0, colour(kGoldLight));
        hub.setColorAt(1.0, colour(kGoldDark));
        painter.setPen(Qt::NoPen);
        painter.setBrush(hub);
        painter.drawEllipse(centre, radius * kWheelHub, radius * kWheelHub);
    }

    lightDisc(painter, centre, radius, 70, 90);

    if (size >= 32) {
        // The ball resting in a pocket, upper right.
        const double angle = 40.0 * std::numbers::pi / 180.0;
        const double track = (pocketOuter + pocketInner) / 2;
        const QPointF ballCentre = centre + QPointF(std::cos(angle), -std::sin(angle)) * track;
        const double ballRadius = radius * kWheelBall;
        QRadialGradient ball(ballCentre, ballRadius, ballCentre - QPointF(ballRadius * 0.4, ballRadius * 0.4));
        ball.setColorAt(0.0, Qt::white);
        ball.setColorAt(1.0, QColor(170, 170, 180));
        painter.setBrush(ball);
        painter.drawEllipse(ballCentre, ballRadius, ballRadius);
    }
    return image;
}

}  // namespace artwork
