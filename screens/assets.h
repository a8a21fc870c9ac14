// Where the pictures and the font live inside the program's resources.
#pragma once

#include "rules.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QString>

namespace morvik::assets {

inline const QString Font = QStringLiteral(":/fonts/LiberationMono-Bold.ttf");
inline const QString Title = QStringLiteral(":/title.gif");
inline const QString Logo = QStringLiteral(":/logo.bmp");

// The chip picture of denomination index i is named after its value.
inline QString chip(int denomination)
{
    return QStringLiteral(":/chip-%1.bmp").arg(ChipValues[denomination]);
}

// Reads a picture in the format its name says. Left to guess, Qt loads every
// image plugin it has and asks each whether it reads BMP better than its own
// reader: three libraries loaded at start-up for nothing.
inline QImage picture(const QString& file)
{
    QImageReader reader(file, QFileInfo(file).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace morvik::assets
