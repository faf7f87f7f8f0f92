#pragma once
// Reading picture files into the forms a layout keeps: bitmaps, icons and Windows metafiles.
// Qt's readers take BMP (RLE too), DIB, JPEG, GIF and ICO; GraphicsMagick takes PCX, Targa and
// metafiles. Metafiles stay metafiles in a layout and are played into a bitmap only to be shown
// or printed, at the resolution asked for.

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

namespace postavo::design::pictures {

// The extension rule of the picture loader: the text after the last "." upper-cased: "JPG" 1,
// "GIF" 2, "JIF" 3, "BMP" 4, "DIB" 5, "RLE" 6, "TGA" 7, "PCX" 8, anything else 0. Kinds 0 and 4
// go to the picture's own file loader, the others to the image decoder.
int extensionKind(const QString& fileName);
bool usesImageDecoder(const QString& fileName);

// The image decoder: a file in, a bitmap or nothing out. Which reader is decided by the file's
// content, not its name (a .DIB may be a BMP file or a bare device-independent bitmap).
QImage decodeImageFile(const QString& path, QString* error = nullptr);
QImage decodeImageData(const QByteArray& bytes, QString* error = nullptr);
// A bare device-independent bitmap (header, colours, bits) with the BMP file header put before it.
QByteArray dibToBmpFile(const QByteArray& dib);

// What a picture holds, as a layout stores it.
enum class Kind { None, Bitmap, Icon, Metafile };
struct Picture {
    Kind kind = Kind::None;
    QByteArray file;    // the picture's own file form: a BMP file, an ICO file or a metafile
    bool isEmpty() const { return kind == Kind::None || file.isEmpty(); }
};

// The picture's own file loader: .BMP as a bitmap, .ICO as an icon, .WMF and .EMF as a
// metafile (anything else by its content). An empty picture and a message when unreadable.
Picture loadPictureFile(const QString& path, QString* error = nullptr);
// A bitmap picture holding `image` as a BMP file.
Picture bitmapPicture(const QImage& image);

// The "Picture.Data" payload: the kind's class name as a short string, then its data (a
// bitmap's and a metafile's with their byte counts).
QByteArray toPayload(const Picture& picture);
// Nothing (an empty picture) when the payload is damaged.
Picture fromPayload(const QByteArray& payload, QString* error = nullptr);

// The picture's natural size in screen pixels at `ppi`.
QSize naturalSize(const Picture& picture, double ppi);
// The picture as an image: bitmaps and icons as they are; metafiles played at `pixels` size
// (their natural size at `ppi` when pixels is empty). A null image when it cannot be drawn.
QImage render(const Picture& picture, QSize pixels = {}, double ppi = 96.0, QString* error = nullptr);

// A Windows metafile (placeable or not) played into a bitmap of `pixels`; a white background.
QImage renderMetafile(const QByteArray& wmf, QSize pixels, QString* error = nullptr);
// Width and height of a metafile in inches (0 when unknown).
QSizeF metafileInches(const QByteArray& wmf);

} // namespace postavo::design::pictures
