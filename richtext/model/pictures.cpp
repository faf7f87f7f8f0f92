#include "pictures.h"

#include "formatproperties.h"
#include "layoutunits.h"

#include <QCryptographicHash>
#include <QPainter>
#include <QTextDocument>
#include <QUrl>
#include <QVector>
#include <QtEndian>
#include <algorithm>
#include <atomic>

namespace postavo::richtext::pictures {

namespace {

std::atomic<const PictureDecoder*> g_metafileDecoder{nullptr};

quint32 le32(const QByteArray& b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 le16(const QByteArray& b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }

// Metafiles are played at this resolution for the screen and the printer alike.
constexpr double kMetafileDpi = 200.0;
constexpr int kMaxMetafilePixels = 4000;

QImage emptyFrame()
{
    QImage frame(64, 64, QImage::Format_ARGB32_Premultiplied);
    frame.fill(Qt::transparent);
    QPainter p(&frame);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(0, 0, 63, 63);
    return frame;
}

} // namespace

const char* controlWord(Kind kind)
{
    switch (kind) {
    case Kind::Png: return "pngblip";
    case Kind::Jpeg: return "jpegblip";
    case Kind::WindowsMetafile: return "wmetafile";
    case Kind::EnhancedMetafile: return "emfblip";
    case Kind::Dib: return "dibitmap";
    case Kind::None: break;
    }
    return "";
}

QByteArray dibToBmpFile(const QByteArray& dib)
{
    if (dib.size() < 16)
        return {};
    const quint32 headerSize = le32(dib, 0);
    if (headerSize < 12 || headerSize > quint32(dib.size()))
        return {};
    quint32 bitCount = 0, colorsUsed = 0, compression = 0;
    if (headerSize == 12) {
        bitCount = le16(dib, 10);
    } else {
        if (headerSize < 40 || dib.size() < 40)
            return {};
        bitCount = le16(dib, 14);
        compression = le32(dib, 16);
        colorsUsed = le32(dib, 32);
    }
    if (bitCount == 0 || bitCount > 32)
        return {};
    quint32 palette = colorsUsed ? colorsUsed : (bitCount <= 8 ? (1u << bitCount) : 0);
    if (palette > 256)
        return {};
    const quint32 entrySize = headerSize == 12 ? 3 : 4;
    quint32 masks = (headerSize == 40 && (compression == 3 || compression == 6)) ? 12 : 0;
    const quint32 offset = 14 + headerSize + masks + palette * entrySize;
    QByteArray file;
    file.reserve(14 + dib.size());
    file.append("BM", 2);
    char buf[4];
    qToLittleEndian<quint32>(quint32(14 + dib.size()), buf);
    file.append(buf, 4);
    file.append(QByteArray(4, '\0'));
    qToLittleEndian<quint32>(offset, buf);
    file.append(buf, 4);
    file.append(dib);
    return file;
}

QImage StandardDecoder::decode(Kind kind, const QByteArray& data, QSize pixels, QString* error) const
{
    QImage image;
    switch (kind) {
    case Kind::Png:
        image = QImage::fromData(data, "PNG");
        break;
    case Kind::Jpeg:
        image = QImage::fromData(data, "JPG");
        break;
    case Kind::Dib: {
        const QByteArray bmp = dibToBmpFile(data);
        if (!bmp.isEmpty())
            image = QImage::fromData(bmp, "BMP");
        break;
    }
    case Kind::WindowsMetafile:
    case Kind::EnhancedMetafile:
        if (const PictureDecoder* metafiles = metafiles_ ? metafiles_ : g_metafileDecoder.load())
            return metafiles->decode(kind, data, pixels, error);
        {
            if (error)
                *error = QStringLiteral("no metafile decoder");
            return {};
        }
    case Kind::None:
        break;
    }
    if (image.isNull()) {
        // The kind named in the file may be wrong; try what the bytes say.
        image = QImage::fromData(data);
    }
    if (image.isNull() && error)
        *error = QStringLiteral("the picture data cannot be read");
    return image;
}

void setPictureDecoder(const PictureDecoder* metafileDecoder)
{
    g_metafileDecoder.store(metafileDecoder);
}

const PictureDecoder& pictureDecoder()
{
    static const StandardDecoder standard;
    return standard;
}

QString resourceName(const QByteArray& data)
{
    return QStringLiteral("rtfpict:")
           + QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha1).toHex());
}

QTextImageFormat addPicture(QTextDocument* document, QTextImageFormat format, const QImage& image)
{
    const QByteArray data = format.property(props::PictureData).toByteArray();
    const QString name = resourceName(data);
    format.setName(name);
    const QUrl url(name);
    if (!document->resource(QTextDocument::ImageResource, url).isValid()) {
        if (!image.isNull())
            document->addResource(QTextDocument::ImageResource, url, image);
        else
            document->addResource(QTextDocument::ImageResource, url, emptyFrame());
    }
    return format;
}

QSizeF fittedSize(double w, double h)
{
    w = std::max(1.0, w);
    h = std::max(1.0, h);
    const double scale = std::min({1.0, kMaxPictureTwips / w, kMaxPictureTwips / h});
    return QSizeF(std::max(1.0, w * scale), std::max(1.0, h * scale));
}

QSize renderPixels(int widthTwips, int heightTwips)
{
    const double w = widthTwips * kMetafileDpi / kTwipsPerInch;
    const double h = heightTwips * kMetafileDpi / kTwipsPerInch;
    if (w < 1 || h < 1)
        return {};
    return QSize(std::min(kMaxMetafilePixels, int(w + 0.5)), std::min(kMaxMetafilePixels, int(h + 0.5)));
}

void restoreResources(QTextDocument* document)
{
    const QVector<QTextFormat> formats = document->allFormats();
    for (const QTextFormat& f : formats) {
        if (!f.isImageFormat() || !f.hasProperty(props::PictureData))
            continue;
        const QTextImageFormat format = f.toImageFormat();
        const QUrl url(format.name());
        if (document->resource(QTextDocument::ImageResource, url).isValid())
            continue;
        const QByteArray data = format.property(props::PictureData).toByteArray();
        const auto kind = Kind(format.intProperty(props::PictureKind));
        const QImage image = pictureDecoder().decode(kind, data, renderPixels(scaledToTwips(format.width()), scaledToTwips(format.height())), nullptr);
        document->addResource(QTextDocument::ImageResource, url, image.isNull() ? emptyFrame() : image);
    }
}

} // namespace postavo::richtext::pictures
