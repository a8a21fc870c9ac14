// morvik-bake-picture IN OUT: decodes a picture of the game at build time and
// stores its pixels as the game draws them, so that start-up copies nothing
// and decodes nothing (the title's GIF alone took about 5 ms to decode, and
// Qt loaded its image plugins to do it).
//
// OUT is the layout assets::picture() reads (baked_picture.h): a header of four
// 32-bit words and then the rows, four bytes a pixel, with no padding, all in
// the byte order of the machine that builds the game. Pictures with transparency are stored
// premultiplied, the form Qt converts them to before it scales or draws them,
// others as RGB32.
#include "screens/baked_picture.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: morvik-bake-picture IN OUT\n");
        return 2;
    }
    const QString in = QFile::decodeName(argv[1]);
    const QString out = QFile::decodeName(argv[2]);

    QImageReader reader(in, QFileInfo(in).suffix().toLatin1());
    reader.setAutoDetectImageFormat(false);
    const QImage decoded = reader.read();
    if (decoded.isNull()) {
        std::fprintf(stderr, "morvik-bake-picture: %s: %s\n", argv[1], qPrintable(reader.errorString()));
        return 1;
    }
    const QImage image = decoded.convertToFormat(decoded.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                                            : QImage::Format_RGB32);

    const morvik::BakedPictureHeader header{morvik::BakedPictureMagic, static_cast<quint32>(image.width()),
                                            static_cast<quint32>(image.height()),
                                            static_cast<quint32>(image.format())};
    QFile file(out);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "morvik-bake-picture: cannot write %s\n", argv[2]);
        return 1;
    }
    bool ok = file.write(reinterpret_cast<const char*>(&header), sizeof header) == qint64(sizeof header);
    const qsizetype rowBytes = qsizetype(image.width()) * 4;
    for (int y = 0; ok && y < image.height(); ++y)
        ok = file.write(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes) == rowBytes;
    if (!ok || !file.flush()) {
        std::fprintf(stderr, "morvik-bake-picture: cannot write %s\n", argv[2]);
        file.remove();
        return 1;
    }
    return 0;
}
