// The image browser's preview and the report designer's inch ruler.
#include "horizontalruler.h"
#include "imagebrowser.h"
#include "testsupport.h"

#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

using namespace postavo::design;

TEST(ImageBrowser, PreviewByExtension)
{
    const QString dir = postavo::testing::scratchDir("objects-browser");
    bool report = false;
    QFile bad(dir + "/bad.bmp");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a bitmap");
    bad.close();
    EXPECT_TRUE(TGImageBrowser::previewPicture(dir + "/bad.bmp", &report).isEmpty());
    EXPECT_TRUE(report);
    QFile badJpg(dir + "/bad.jpg");
    ASSERT_TRUE(badJpg.open(QIODevice::WriteOnly));
    badJpg.write("not a jpeg");
    badJpg.close();
    EXPECT_TRUE(TGImageBrowser::previewPicture(dir + "/bad.jpg", &report).isEmpty());
    EXPECT_FALSE(report); // other kinds fail silently
    QImage ico(16, 16, QImage::Format_ARGB32);
    ico.fill(qRgba(0, 0, 255, 255));
    ASSERT_TRUE(ico.save(dir + "/blue.ico", "ICO"));
    const pictures::Picture p = TGImageBrowser::previewPicture(dir + "/blue.ico", &report);
    EXPECT_EQ(p.kind, pictures::Kind::Bitmap); // the icon drawn on a bitmap
    ASSERT_TRUE(ico.save(dir + "/pic.jpg", "JPG"));

    TGImageBrowser browser;
    browser.setFolder(dir);
    browser.selectFile("pic.jpg");
    EXPECT_EQ(browser.preview().kind, pictures::Kind::Bitmap);
    browser.setOptions(false, true);
    EXPECT_TRUE(browser.autoSize());
    browser.setOptions(true, false);
    EXPECT_FALSE(browser.autoSize());
}

TEST(Ruler, PaintsTicksEverySixteenth)
{
    THRuler r;
    r.resize(200, 32);
    QImage img(200, 32, QImage::Format_RGB32);
    r.render(&img);
    const QRgb grey = qRgb(128, 128, 128), yellow = qRgb(255, 255, 0);
    EXPECT_EQ(img.pixel(3, 20), yellow);
    EXPECT_EQ(img.pixel(6, 2), grey);   // a sixteenth at 96 ppi
    EXPECT_EQ(img.pixel(6, 12), yellow); // short tick: a quarter of the height
    EXPECT_EQ(img.pixel(48, 12), grey);  // half inch: half the height
    EXPECT_EQ(img.pixel(96, 30), grey);  // whole inch: full height
    r.setAlignHRuler(alLeft);
    EXPECT_EQ(r.AlignHRuler(), alNone);
    r.setAlignHRuler(alTop);
    EXPECT_EQ(r.AlignHRuler(), alTop);
}
