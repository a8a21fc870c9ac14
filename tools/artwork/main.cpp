// morvik-artwork: paints the game's pictures and writes them into an assets
// directory. Run it again after changing any drawing; the results are
// committed, so the game itself never needs this tool.

#include "artwork.h"
#include "bmp.h"
#include "gif.h"
#include "quantise.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

// Liberation fonts from Debian's fonts-liberation2; overridable at configure
// time through MORVIK_ARTWORK_FONT_DIR.
#ifndef MORVIK_ARTWORK_FONT_DIR
#define MORVIK_ARTWORK_FONT_DIR "/usr/share/fonts/truetype/liberation2"
#endif
constexpr const char* kSansBoldFile = "LiberationSans-Bold.ttf";

// Players' viewers treat this entry as see-through.
constexpr int kTitleTransparentIndex = 8;

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

QString loadFamily(const QString& file)
{
    const int id = QFontDatabase::addApplicationFont(file);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.front();
}

bool report(bool ok, const QString& path)
{
    if (ok)
        QTextStream(stdout) << "wrote " << path << Qt::endl;
    else
        err() << "morvik-artwork: cannot write " << path << Qt::endl;
    return ok;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Nothing is ever shown, and the tool must run on machines without a
    // display, such as build servers.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    if (argc != 2) {
        err() << "usage: morvik-artwork <output-assets-dir>" << Qt::endl;
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));

    artwork::Fonts fonts;
    const QString sansFile = QDir(QStringLiteral(MORVIK_ARTWORK_FONT_DIR)).filePath(QLatin1String(kSansBoldFile));
    fonts.sans = loadFamily(sansFile);
    if (fonts.sans.isEmpty()) {
        err() << "morvik-artwork: cannot load " << sansFile << " (Debian package fonts-liberation2)" << Qt::endl;
        return 1;
    }

    if (!out.mkpath(QStringLiteral("."))) {
        err() << "morvik-artwork: cannot create " << out.path() << Qt::endl;
        return 1;
    }

    bool ok = true;
    const QString titlePath = out.filePath(QStringLiteral("title.gif"));
    const artwork::IndexedImage title = artwork::quantiseOnBlack(artwork::drawTitle(fonts), kTitleTransparentIndex);
    ok &= report(artwork::writeGif(title, kTitleTransparentIndex, titlePath), titlePath);

    const QString logoPath = out.filePath(QStringLiteral("logo.bmp"));
    ok &= report(artwork::writeBmp24(artwork::drawLogo(fonts), logoPath), logoPath);

    for (const artwork::ChipDesign& chip : artwork::kChips) {
        const QString path = out.filePath(QStringLiteral("chip-%1.bmp").arg(chip.value));
        ok &= report(artwork::writeBmp24(artwork::drawChip(chip, fonts), path), path);
    }

    for (const int size : artwork::kIconSizes) {
        const QString dir = QStringLiteral("icons/hicolor/%1x%1/apps").arg(size);
        const QString path = out.filePath(dir + QStringLiteral("/morvik-roulette.png"));
        out.mkpath(dir);  // a failure shows up as the save failing
        ok &= report(artwork::drawAppIcon(size).save(path, "PNG"), path);
    }
    return ok ? 0 : 1;
}
