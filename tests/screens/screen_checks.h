// What the screen tests look at: pixels of a rendered window, and captions
// laid out the way their labels lay them out.
#pragma once

#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QTest>
#include <QWidget>

namespace morvik::testing {

template <typename W>
W* control(const QWidget& window, const char* name)
{
    auto* found = window.findChild<W*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no control %s", name);
    return found;
}

inline QImage render(QWidget& window)
{
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline bool regionHasColour(const QImage& image, const QRect& region, QRgb colour)
{
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            if (image.pixel(x, y) == colour)
                return true;
        }
    }
    return false;
}

// Checks that a label's caption, word-wrapped at the label's width, is no
// wider than the label, takes `expectedLines` lines and has the baseline of
// its last line inside the label (descenders may be cut, as the layout was
// drawn for a font taller than some labels).
inline void verifyCaptionFits(const QLabel& label, int expectedLines)
{
    const QRect area = label.contentsRect();
    const QFontMetrics metrics(label.font());
    const QRect laidOut = metrics.boundingRect(QRect(0, 0, area.width(), 10000),
                                               int(label.alignment()) | Qt::TextWordWrap, label.text());
    const int lines = (laidOut.height() + metrics.leading()) / metrics.lineSpacing();
    const QByteArray what = label.objectName().toUtf8() + " \"" + label.text().toUtf8() + '"';
    QVERIFY2(laidOut.width() <= area.width(), what.constData());
    QVERIFY2(lines == expectedLines, (what + " lines " + QByteArray::number(lines)).constData());
    QVERIFY2((lines - 1) * metrics.lineSpacing() + metrics.ascent() <= area.height(), what.constData());
}

inline QStringList items(const QListWidget& list)
{
    QStringList texts;
    for (int row = 0; row < list.count(); ++row)
        texts << list.item(row)->text();
    return texts;
}

} // namespace morvik::testing
