// Small helpers for putting layout rows on the screen.
#pragma once

#include "toolkit/conversions.h"
#include "toolkit/palette.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QString>

#include <string_view>

namespace morvik {

// "Label1(17)" for element 17 of the group Label1, "Cislo" for a single control.
inline QString controlName(std::string_view group, int index = -1)
{
    const QString name = fromUtf8(group);
    return index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index);
}

// A caption with a transparent background; text wraps at spaces when it is
// wider than the label.
inline void setUpCaption(QLabel* label, const QString& name, Box rect, const QString& text, Rgb colour,
                         const QFont& font, Qt::Alignment alignment)
{
    label->setObjectName(name);
    label->setGeometry(toQRect(rect));
    label->setFont(font);
    label->setText(text);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    label->setWordWrap(true);
    setTextColour(label, colour);
}

// Places a window in the middle of the primary screen's work area.
inline void centreOnScreen(QWidget* window)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    window->move(area.x() + (area.width() - window->width()) / 2,
                 area.y() + (area.height() - window->height()) / 2);
}

// Both windows of the game: borderless, of a fixed size, centred when first
// shown, and named as the layout names them (the title is also what tests
// and the desktop find them by).
inline void setUpWindow(QWidget* window, const QString& name, const QString& accessibleName, int width, int height)
{
    window->setObjectName(name);
    window->setWindowTitle(name);
    window->setAccessibleName(accessibleName);
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window->setFixedSize(width, height);
    centreOnScreen(window);
}

} // namespace morvik
