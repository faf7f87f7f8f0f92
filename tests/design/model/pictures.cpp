// Picture files: which reader takes which file, RLE bitmaps and bare DIBs by content, PCX and
// Targa, metafiles played into bitmaps, and the layout payload of each picture kind.
#include "picturedecoder.h"
#include "testsupport.h"

#include <QFile>
#include <QtEndian>
#include <gtest/gtest.h>

using namespace postavo::design::pictures;
using postavo::testing::scratchDir;

namespace {

void put16(QByteArray& b, int v) { char c[2]; qToLittleEndian<quint16>(quint16(v), c); b.append(c, 2); }
void put32(QByteArray& b, qint64 v) { char c[4]; qToLittleEndian<quint32>(quint32(v), c); b.append(c, 4); }

// A 4 x 2 bitmap compressed with RLE8 (header, palette blue then red, bits), top row red.
QByteArray rle8Dib()
{
    QByteArray b;
    put32(b, 40); put32(b, 4); put32(b, 2); put16(b, 1); put16(b, 8);
    const QByteArray bits = QByteArray::fromHex("04000000" "04010001");
    put32(b, 1); put32(b, bits.size()); put32(b, 2835); put32(b, 2835); put32(b, 2); put32(b, 0);
    b += QByteArray::fromHex("FF000000" "0000FF00");
    return b + bits;
}

QByteArray bmpFileOf(const QByteArray& dib)
{
    QByteArray b("BM");
    put32(b, 14 + dib.size()); put32(b, 0); put32(b, 14 + 40 + 8);
    return b + dib;
}

// A 2 x 2 PCX: 8 bits, one plane; top row palette entry 1 (red), bottom row entry 0 (blue).
QByteArray pcx()
{
    QByteArray b;
    b += char(0x0A); b += char(5); b += char(1); b += char(8);
    put16(b, 0); put16(b, 0); put16(b, 1); put16(b, 1); put16(b, 72); put16(b, 72);
    b += QByteArray(48, '\0');
    b += char(0); b += char(1); put16(b, 2); put16(b, 1);
    b += QByteArray(128 - b.size(), '\0');
    b += QByteArray::fromHex("C201" "C200");
    b += char(0x0C);
    QByteArray pal(768, '\0');
    pal[2] = char(0xFF);       // entry 0 blue
    pal[3] = char(0xFF);       // entry 1 red
    return b + pal;
}

// A 2 x 1 uncompressed Targa, top-left origin: red, green.
QByteArray tga()
{
    QByteArray b = QByteArray::fromHex("000002" "0000000000");
    put16(b, 0); put16(b, 0); put16(b, 2); put16(b, 1); b += char(24); b += char(0x20);
    return b + QByteArray::fromHex("0000FF" "00FF00");
}

// A placeable metafile one inch by half an inch (100 units per inch) with a red rectangle over
// its right half.
QByteArray wmf()
{
    QByteArray recs;
    auto rec = [&](int func, std::initializer_list<int> words) {
        put32(recs, 3 + qint64(words.size()));
        put16(recs, func);
        for (int w : words)
            put16(recs, w);
    };
    rec(0x020B, {0, 0});                  // SetWindowOrg(y, x)
    rec(0x020C, {50, 100});               // SetWindowExt(y, x)
    rec(0x02FA, {5, 0, 0, 0, 0});         // CreatePenIndirect: no pen
    rec(0x012D, {0});                     // SelectObject(0)
    rec(0x02FC, {0, 0xFFFF, 0x00FF, 0});  // CreateBrushIndirect: solid, white
    rec(0x012D, {1});
    rec(0x041B, {50, 100, 0, 0});         // Rectangle(bottom, right, top, left): the whole frame
    rec(0x02FC, {0, 0x00FF, 0x0000, 0});  // CreateBrushIndirect: solid, red (COLORREF 0x000000FF)
    rec(0x012D, {2});
    rec(0x041B, {50, 100, 0, 50});        // the right half
    rec(0x0000, {});                      // end
    QByteArray header;
    put16(header, 1); put16(header, 9); put16(header, 0x300);
    put32(header, (18 + recs.size()) / 2); put16(header, 3); put32(header, 7); put16(header, 0);
    QByteArray place;
    put32(place, 0x9AC6CDD7); put16(place, 0);
    put16(place, 0); put16(place, 0); put16(place, 100); put16(place, 50); put16(place, 100); put32(place, 0);
    quint16 sum = 0;
    for (int i = 0; i < 20; i += 2)
        sum ^= qFromLittleEndian<quint16>(place.constData() + i);
    put16(place, sum);
    return place + header + recs;
}

QString writeFile(const QString& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir + "/" + name;
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

bool isRed(QRgb c) { return qRed(c) > 200 && qGreen(c) < 60 && qBlue(c) < 60; }
bool isBlue(QRgb c) { return qBlue(c) > 200 && qRed(c) < 60 && qGreen(c) < 60; }
bool isWhite(QRgb c) { return qRed(c) > 240 && qGreen(c) > 240 && qBlue(c) > 240; }

} // namespace

TEST(Pictures, ExtensionRule)
{
    EXPECT_EQ(extensionKind("a.jpg"), 1);
    EXPECT_EQ(extensionKind("A.GIF"), 2);
    EXPECT_EQ(extensionKind("x.y.Jif"), 3);
    EXPECT_EQ(extensionKind("pic.bmp"), 4);
    EXPECT_EQ(extensionKind("pic.DIB"), 5);
    EXPECT_EQ(extensionKind("pic.rle"), 6);
    EXPECT_EQ(extensionKind("pic.tga"), 7);
    EXPECT_EQ(extensionKind("pic.pcx"), 8);
    EXPECT_EQ(extensionKind("pic.wmf"), 0);
    EXPECT_EQ(extensionKind("noext"), 0);
    EXPECT_TRUE(usesImageDecoder("x.DIB"));
    EXPECT_TRUE(usesImageDecoder("x.rle"));
    EXPECT_FALSE(usesImageDecoder("x.bmp"));
    EXPECT_FALSE(usesImageDecoder("x.ico"));
}

TEST(Pictures, RleAndBareDibGoThroughTheDecoderByContent)
{
    const QString dir = scratchDir("pictures");
    // An .RLE file is a BMP file with run-length bits.
    QImage img = decodeImageFile(writeFile(dir, "run.rle", bmpFileOf(rle8Dib())));
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.size(), QSize(4, 2));
    EXPECT_TRUE(isRed(img.pixel(0, 0)));
    EXPECT_TRUE(isBlue(img.pixel(3, 1)));
    // A .DIB may hold the bitmap without its file header.
    img = decodeImageFile(writeFile(dir, "bare.dib", rle8Dib()));
    ASSERT_FALSE(img.isNull());
    EXPECT_TRUE(isRed(img.pixel(2, 0)));
    EXPECT_TRUE(isBlue(img.pixel(2, 1)));
    // ... or a whole BMP file.
    EXPECT_FALSE(decodeImageFile(writeFile(dir, "whole.dib", bmpFileOf(rle8Dib()))).isNull());
}

TEST(Pictures, PcxAndTargaThroughGraphicsMagick)
{
    const QString dir = scratchDir("pictures-gm");
    QString error;
    QImage img = decodeImageFile(writeFile(dir, "p.pcx", pcx()), &error);
    ASSERT_FALSE(img.isNull()) << error.toStdString();
    EXPECT_EQ(img.size(), QSize(2, 2));
    EXPECT_TRUE(isRed(img.pixel(0, 0)));
    EXPECT_TRUE(isBlue(img.pixel(1, 1)));
    img = decodeImageFile(writeFile(dir, "t.tga", tga()), &error);
    ASSERT_FALSE(img.isNull()) << error.toStdString();
    EXPECT_EQ(img.size(), QSize(2, 1));
    EXPECT_TRUE(isRed(img.pixel(0, 0)));
    EXPECT_EQ(qGreen(img.pixel(1, 0)), 255);
}

TEST(Pictures, DamagedFilesGiveNothing)
{
    const QString dir = scratchDir("pictures-bad");
    QString error;
    EXPECT_TRUE(decodeImageFile(writeFile(dir, "bad.jpg", "\xFF\xD8\xFF garbage"), &error).isNull());
    EXPECT_TRUE(decodeImageFile(writeFile(dir, "empty.pcx", QByteArray()), &error).isNull());
    EXPECT_TRUE(decodeImageFile(dir + "/missing.gif", &error).isNull());
    QByteArray cut = bmpFileOf(rle8Dib());
    cut.truncate(30);
    EXPECT_TRUE(decodeImageFile(writeFile(dir, "cut.bmp", cut), &error).isNull());
    EXPECT_TRUE(loadPictureFile(writeFile(dir, "cut2.bmp", cut), &error).isEmpty());
    EXPECT_TRUE(loadPictureFile(writeFile(dir, "text.wmf", "not a metafile"), &error).isEmpty());
}

TEST(Pictures, MetafilePlaysAtTheAskedSize)
{
    const QByteArray m = wmf();
    EXPECT_EQ(metafileInches(m), QSizeF(1.0, 0.5));
    QString error;
    const QImage img = renderMetafile(m, QSize(300, 150), &error);
    ASSERT_FALSE(img.isNull()) << error.toStdString();
    EXPECT_EQ(img.size(), QSize(300, 150));
    EXPECT_TRUE(isWhite(img.pixel(60, 75)));
    EXPECT_TRUE(isRed(img.pixel(240, 75)));
    const Picture p = loadPictureFile(writeFile(scratchDir("pictures-wmf"), "r.wmf", m), &error);
    EXPECT_EQ(p.kind, Kind::Metafile);
    EXPECT_EQ(naturalSize(p, 96), QSize(96, 48));
}

TEST(Pictures, PayloadOfEveryKind)
{
    const Picture bmp{Kind::Bitmap, bmpFileOf(rle8Dib())};
    QByteArray payload = toPayload(bmp);
    EXPECT_TRUE(payload.startsWith("\x07TBitmap"));
    EXPECT_EQ(qFromLittleEndian<quint32>(payload.constData() + 8), quint32(bmp.file.size()));
    Picture back = fromPayload(payload);
    EXPECT_EQ(back.kind, Kind::Bitmap);
    EXPECT_EQ(back.file, bmp.file);

    const Picture meta{Kind::Metafile, wmf()};
    payload = toPayload(meta);
    EXPECT_TRUE(payload.startsWith("\x09TMetafile"));
    EXPECT_EQ(qFromLittleEndian<quint32>(payload.constData() + 10), quint32(meta.file.size() + 4));
    EXPECT_EQ(fromPayload(payload).file, meta.file);

    const Picture icon{Kind::Icon, QByteArray::fromHex("000001000100") + QByteArray(16, 'x')};
    payload = toPayload(icon);
    EXPECT_TRUE(payload.startsWith("\x05TIcon"));
    EXPECT_EQ(fromPayload(payload).file, icon.file);

    // A count beyond the data, an unknown kind and a cut name are damage, not a crash.
    QString error;
    QByteArray bad = toPayload(bmp);
    qToLittleEndian<quint32>(0x7FFFFFFF, bad.data() + 8);
    EXPECT_TRUE(fromPayload(bad, &error).isEmpty());
    EXPECT_TRUE(fromPayload("\x06TThing1234", &error).isEmpty());
    EXPECT_TRUE(fromPayload("\x20TBit", &error).isEmpty());
    EXPECT_TRUE(fromPayload("\x09TMetafile\x02\x00\x00\x00", &error).isEmpty());
}

TEST(Pictures, BitmapPictureIsABmpFile)
{
    QImage img(3, 2, QImage::Format_ARGB32);
    img.fill(qRgba(255, 0, 0, 255));
    const Picture p = bitmapPicture(img);
    EXPECT_EQ(p.kind, Kind::Bitmap);
    EXPECT_TRUE(p.file.startsWith("BM"));
    const QImage back = render(p);
    EXPECT_EQ(back.size(), QSize(3, 2));
    EXPECT_TRUE(isRed(back.pixel(1, 1)));
}
