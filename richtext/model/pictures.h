#pragma once
// Pictures inside rich text: what kinds RTF carries, how they become images, and how a document
// keeps them (the picture's own bytes stay in the image format for writing back).
//
// PNG, JPEG and device-independent bitmaps are read with Qt. Metafiles need a decoder the
// program supplies (its picture decoder plays Windows metafiles): install it once with
// setPictureDecoder(). Without one a metafile shows as an empty frame of its size and is still
// written back unchanged.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <QTextImageFormat>

class QTextDocument;

namespace postavo::richtext::pictures {

enum class Kind { None = 0, Png = 1, Jpeg = 2, WindowsMetafile = 3, EnhancedMetafile = 4, Dib = 5 };

// The RTF control word of a kind: "pngblip", "jpegblip", "wmetafile", "emfblip", "dibitmap".
const char* controlWord(Kind kind);

class PictureDecoder {
public:
    virtual ~PictureDecoder() = default;
    // The picture as an image of `pixels` (an empty size: the picture's own size), or a null
    // image with a message when it cannot be read.
    virtual QImage decode(Kind kind, const QByteArray& data, QSize pixels, QString* error) const = 0;
};

// Reads PNG, JPEG and bitmaps; metafiles only through `metafiles` when one is given.
class StandardDecoder : public PictureDecoder {
public:
    // Without `metafiles`, the one installed with setPictureDecoder() (if any) plays them.
    explicit StandardDecoder(const PictureDecoder* metafiles = nullptr) : metafiles_(metafiles) {}
    QImage decode(Kind kind, const QByteArray& data, QSize pixels, QString* error) const override;

private:
    const PictureDecoder* metafiles_;
};

// The program's metafile decoder, used by every StandardDecoder made without one. Not owned;
// nullptr goes back to Qt's readers alone.
void setPictureDecoder(const PictureDecoder* metafileDecoder);
// The decoder readers use unless told otherwise: a StandardDecoder with the installed one.
const PictureDecoder& pictureDecoder();
// Pictures are shown no larger than word processors allow (22 inches each way): a larger size
// is scaled down to fit, keeping its proportions. Twips in and out; at least one twip each way.
inline constexpr int kMaxPictureTwips = 31680;
QSizeF fittedSize(double widthTwips, double heightTwips);

// The pixel size a metafile is played at for a picture shown at the given size in twips.
QSize renderPixels(int widthTwips, int heightTwips);

// A bare device-independent bitmap (header, colours, bits) with a BMP file header before it.
// Empty when the header is damaged.
QByteArray dibToBmpFile(const QByteArray& dib);

// The resource name of a picture: the same bytes give the same name in every document.
QString resourceName(const QByteArray& data);

// Puts an image into a document for `format` (which must carry the picture's bytes and kind)
// and returns the format to insert. `image` may be null: an empty frame of the format's size.
QTextImageFormat addPicture(QTextDocument* document, QTextImageFormat format, const QImage& image);

// Gives every picture of `document` its image again (after text was pasted or inserted from
// another document, which carries the formats but not the images). Pictures that cannot be
// decoded get an empty frame.
void restoreResources(QTextDocument* document);

} // namespace postavo::richtext::pictures
