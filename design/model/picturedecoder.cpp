#include "picturedecoder.h"

#include <Magick++.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QtEndian>
#include <mutex>

namespace postavo::design::pictures {

namespace {

void initMagick()
{
    static std::once_flag once;
    std::call_once(once, [] { Magick::InitializeMagick(nullptr); });
}

quint32 le32(const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 le16(const QByteArray& b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }
qint16 les16(const QByteArray& b, int at) { return qFromLittleEndian<qint16>(b.constData() + at); }

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

QImage readWithQt(const QByteArray& bytes, const char* format)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    QImageReader reader(&buf, format);
    reader.setDecideFormatFromContent(format == nullptr);
    QImage img = reader.read();
    return img;
}

QImage readWithMagick(const QByteArray& bytes, const char* magick, QString* error, const QString& density = {})
{
    initMagick();
    try {
        Magick::Blob in(bytes.constData(), size_t(bytes.size()));
        Magick::Image img;
        if (!density.isEmpty())
            img.density(Magick::Geometry(density.toStdString()));
        if (magick)
            img.magick(magick);
        img.read(in);
        Magick::Blob out;
        img.write(&out, "PNG");
        QImage q = QImage::fromData(static_cast<const uchar*>(out.data()), int(out.length()), "PNG");
        if (q.isNull())
            setError(error, QStringLiteral("The picture could not be converted."));
        return q;
    } catch (const std::exception& e) {
        setError(error, QString::fromLocal8Bit(e.what()));
        return {};
    }
}

bool isBareDib(const QByteArray& b)
{
    if (b.size() < 16)
        return false;
    const quint32 size = le32(b, 0);
    if (size != 12 && size != 40 && size != 52 && size != 56 && size != 64 && size != 108 && size != 124)
        return false;
    if (b.size() < int(size))
        return false;
    const int bits = size == 12 ? le16(b, 10) : le16(b, 14);
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

bool isPcx(const QByteArray& b)
{
    return b.size() >= 128 && uchar(b[0]) == 0x0A && uchar(b[1]) <= 5 && uchar(b[2]) <= 1
        && (uchar(b[3]) == 1 || uchar(b[3]) == 2 || uchar(b[3]) == 4 || uchar(b[3]) == 8);
}

bool isPlaceableWmf(const QByteArray& b) { return b.size() >= 22 && le32(b, 0) == 0x9AC6CDD7u; }
bool isWmf(const QByteArray& b)
{
    if (isPlaceableWmf(b))
        return true;
    // A bare metafile: type 1 or 2, header of 9 words, version 0x300 or 0x100.
    return b.size() >= 18 && (le16(b, 0) == 1 || le16(b, 0) == 2) && le16(b, 2) == 9
        && (le16(b, 4) == 0x300 || le16(b, 4) == 0x100);
}
bool isEmf(const QByteArray& b) { return b.size() >= 44 && le32(b, 0) == 1 && le32(b, 40) == 0x464D4520u; }
bool isIco(const QByteArray& b) { return b.size() >= 6 && le16(b, 0) == 0 && le16(b, 2) == 1 && le16(b, 4) > 0; }

QImage onWhite(const QImage& img, QSize size)
{
    QImage out(size, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(QPoint(0, 0), size), img);
    return out;
}

} // namespace

int extensionKind(const QString& fileName)
{
    const int dot = int(fileName.lastIndexOf(QLatin1Char('.')));
    const QString ext = dot < 0 ? QString() : fileName.mid(dot + 1).toUpper();
    static const char* const kinds[] = {"JPG", "GIF", "JIF", "BMP", "DIB", "RLE", "TGA", "PCX"};
    for (int i = 0; i < 8; ++i)
        if (ext == QLatin1String(kinds[i]))
            return i + 1;
    return 0;
}

bool usesImageDecoder(const QString& fileName)
{
    const int k = extensionKind(fileName);
    return k != 0 && k != 4;
}

QByteArray dibToBmpFile(const QByteArray& dib)
{
    if (!isBareDib(dib))
        return {};
    const quint32 headerSize = le32(dib, 0);
    int colours = 0, colourBytes = 4, masks = 0;
    int bits;
    if (headerSize == 12) {
        bits = le16(dib, 10);
        colourBytes = 3;
        if (bits <= 8)
            colours = 1 << bits;
    } else {
        bits = le16(dib, 14);
        const quint32 compression = le32(dib, 16);
        const quint32 used = dib.size() >= 36 ? le32(dib, 32) : 0;
        colours = used ? int(std::min<quint32>(used, 256)) : (bits <= 8 ? 1 << bits : 0);
        if (headerSize == 40 && (compression == 3 || compression == 6))
            masks = compression == 3 ? 12 : 16;
    }
    const quint32 offset = 14 + headerSize + quint32(masks + colours * colourBytes);
    QByteArray out(14, '\0');
    out[0] = 'B';
    out[1] = 'M';
    qToLittleEndian<quint32>(quint32(14 + dib.size()), out.data() + 2);
    qToLittleEndian<quint32>(offset, out.data() + 10);
    return out + dib;
}

QImage decodeImageData(const QByteArray& bytes, QString* error)
{
    QImage img;
    if (bytes.startsWith("BM"))
        img = readWithQt(bytes, "bmp");
    else if (isBareDib(bytes))
        img = readWithQt(dibToBmpFile(bytes), "bmp");
    else if (bytes.startsWith("\xFF\xD8\xFF"))
        img = readWithQt(bytes, "jpeg");
    else if (bytes.startsWith("GIF8"))
        img = readWithQt(bytes, "gif");
    else if (isPcx(bytes))
        return readWithMagick(bytes, "PCX", error);
    else if (isIco(bytes))
        img = readWithQt(bytes, "ico");
    else if (isWmf(bytes))
        return readWithMagick(bytes, "WMF", error);
    else {
        img = readWithQt(bytes, nullptr);
        // Targa files carry no signature: what nothing else knows is tried as one.
        if (img.isNull())
            return readWithMagick(bytes, "TGA", error);
    }
    if (img.isNull())
        setError(error, QStringLiteral("The picture could not be read."));
    return img;
}

QImage decodeImageFile(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        setError(error, f.errorString());
        return {};
    }
    return decodeImageData(f.readAll(), error);
}

Picture loadPictureFile(const QString& path, QString* error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        setError(error, f.errorString());
        return {};
    }
    const QByteArray bytes = f.readAll();
    // Decided by content: a metafile or an icon stays what it is, anything else readable as a
    // BMP file is a bitmap.
    Picture p;
    if (isWmf(bytes) || isEmf(bytes))
        p = {Kind::Metafile, bytes};
    else if (isIco(bytes))
        p = {Kind::Icon, bytes};
    else if (bytes.startsWith("BM") && !readWithQt(bytes, "bmp").isNull())
        p = {Kind::Bitmap, bytes};
    if (p.isEmpty()) {
        setError(error, QStringLiteral("The file is not a picture this loader reads."));
        return {};
    }
    return p;
}

Picture bitmapPicture(const QImage& image)
{
    if (image.isNull())
        return {};
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    // A layout's bitmap has no alpha: what was transparent is drawn on white.
    const QImage opaque = image.hasAlphaChannel() ? onWhite(image, image.size()) : image;
    if (!opaque.save(&buf, "BMP"))
        return {};
    return {Kind::Bitmap, bytes};
}

QByteArray toPayload(const Picture& picture)
{
    if (picture.isEmpty())
        return {};
    QByteArray out;
    auto shortString = [&](const char* s) {
        out.append(char(qstrlen(s)));
        out.append(s);
    };
    QByteArray count(4, '\0');
    switch (picture.kind) {
    case Kind::Bitmap:
        shortString("TBitmap");
        qToLittleEndian<quint32>(quint32(picture.file.size()), count.data());
        out += count + picture.file;
        break;
    case Kind::Metafile:
        shortString("TMetafile");
        qToLittleEndian<quint32>(quint32(picture.file.size() + 4), count.data());
        out += count + picture.file;
        break;
    case Kind::Icon:
        shortString("TIcon");
        out += picture.file;
        break;
    case Kind::None:
        break;
    }
    return out;
}

Picture fromPayload(const QByteArray& payload, QString* error)
{
    if (payload.isEmpty())
        return {};
    const int n = uchar(payload[0]);
    if (payload.size() < 1 + n) {
        setError(error, QStringLiteral("Damaged picture data"));
        return {};
    }
    const QByteArray kind = payload.mid(1, n);
    const QByteArray rest = payload.mid(1 + n);
    auto counted = [&](qint64 extra) -> QByteArray {
        if (rest.size() < 4)
            return {};
        const qint64 count = qint64(le32(rest, 0)) - extra;
        if (count < 0 || count > rest.size() - 4)
            return {};
        return rest.mid(4, count);
    };
    Picture p;
    if (kind.compare("TBitmap", Qt::CaseInsensitive) == 0)
        p = {Kind::Bitmap, counted(0)};
    else if (kind.compare("TMetafile", Qt::CaseInsensitive) == 0)
        p = {Kind::Metafile, counted(4)};
    else if (kind.compare("TIcon", Qt::CaseInsensitive) == 0)
        p = {Kind::Icon, rest};
    if (p.isEmpty()) {
        setError(error, QStringLiteral("Damaged picture data"));
        return {};
    }
    return p;
}

QSizeF metafileInches(const QByteArray& wmf)
{
    if (isPlaceableWmf(wmf)) {
        const int w = std::abs(les16(wmf, 10) - les16(wmf, 6));
        const int h = std::abs(les16(wmf, 12) - les16(wmf, 8));
        const int unitsPerInch = le16(wmf, 14);
        if (unitsPerInch > 0)
            return QSizeF(double(w) / unitsPerInch, double(h) / unitsPerInch);
    }
    if (isEmf(wmf)) {
        // The frame, in hundredths of a millimetre.
        const double w = qint32(le32(wmf, 32)) - qint32(le32(wmf, 24));
        const double h = qint32(le32(wmf, 36)) - qint32(le32(wmf, 28));
        return QSizeF(std::abs(w) / 2540.0, std::abs(h) / 2540.0);
    }
    return {};
}

QImage renderMetafile(const QByteArray& wmf, QSize pixels, QString* error)
{
    if (!isWmf(wmf)) {
        setError(error, isEmf(wmf) ? QStringLiteral("Enhanced metafiles cannot be played here.")
                                   : QStringLiteral("Damaged metafile"));
        return {};
    }
    QString density;
    const QSizeF inches = metafileInches(wmf);
    if (pixels.isValid() && inches.width() > 0 && inches.height() > 0)
        density = QStringLiteral("%1x%2")
                      .arg(pixels.width() / inches.width(), 0, 'f', 3)
                      .arg(pixels.height() / inches.height(), 0, 'f', 3);
    const QImage img = readWithMagick(wmf, "WMF", error, density);
    if (img.isNull())
        return {};
    return onWhite(img, pixels.isValid() ? pixels : img.size());
}

QSize naturalSize(const Picture& picture, double ppi)
{
    if (picture.kind == Kind::Metafile) {
        const QSizeF in = metafileInches(picture.file);
        if (in.width() > 0 && in.height() > 0)
            return QSize(int(std::nearbyint(in.width() * ppi)), int(std::nearbyint(in.height() * ppi)));
        return render(picture, {}, ppi).size();
    }
    return render(picture, {}, ppi).size();
}

QImage render(const Picture& picture, QSize pixels, double ppi, QString* error)
{
    switch (picture.kind) {
    case Kind::Bitmap: {
        QImage img = readWithQt(picture.file, "bmp");
        if (img.isNull())
            setError(error, QStringLiteral("Damaged bitmap"));
        return img;
    }
    case Kind::Icon: {
        QImage img = readWithQt(picture.file, "ico");
        if (img.isNull())
            setError(error, QStringLiteral("Damaged icon"));
        return img;
    }
    case Kind::Metafile: {
        if (!pixels.isValid()) {
            const QSizeF in = metafileInches(picture.file);
            if (in.width() > 0 && in.height() > 0)
                pixels = QSize(int(std::nearbyint(in.width() * ppi)), int(std::nearbyint(in.height() * ppi)));
        }
        return renderMetafile(picture.file, pixels, error);
    }
    case Kind::None:
        break;
    }
    return {};
}

} // namespace postavo::design::pictures
