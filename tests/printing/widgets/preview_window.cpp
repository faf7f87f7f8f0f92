// The preview window: captions, zoom, page buttons, mouse and keys, remembered placement.
#include "devices.h"
#include "messageboxes.h"
#include "previewwindow.h"
#include "printcanvas.h"
#include "testpage.h"
#include "testsupport.h"

#include "settings.h"

#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace postavo::printing;

namespace {

std::unique_ptr<RecordingDevice> document(int pages)
{
    auto doc = std::make_unique<RecordingDevice>(QSizeF(8.5, 11), 300);
    TPrintCanvas c;
    c.setDevice(doc.get());
    c.execute(nullptr, [pages](TPrintCanvas& c) {
        for (int p = 1; p <= pages; ++p) {
            if (p > 1)
                c.newPage();
            c.setFont("Times New Roman", 24);
            c.gotoXY(1, 1.5);
            c.print(QStringLiteral("Page %1").arg(p));
            c.setPen(Qt::black, PenStyle::Solid, -2);
            c.setBrush(QColor(200, 220, 255));
            c.roundRect(1, 2, 7.5, 4, 0.5, 0.5);
            c.ellipse(2, 5, 4, 6);
            c.setBrush(Qt::black);
            for (int i = 0; i < 20; ++i)
                c.rectangle(1 + i * 0.046, 7, 1.015 + i * 0.046, i % 3 ? 7.125 : 7.075);
        }
    });
    return doc;
}

} // namespace

TEST(PreviewWindow, CaptionText)
{
    EXPECT_EQ(previewCaption(1, 1, 3, 1.0), "Preview Page 1 of 3 ( 100% )");
    EXPECT_EQ(previewCaption(7, 5, 9, 0.625), "Preview Page 3 of 9 ( 62% )"); // 62.5 to even
    EXPECT_EQ(previewCaption(1, 1, 1, 0.635), "Preview Page 1 of 1 ( 64% )");
}

TEST(PreviewWindow, ZoomSteps)
{
    PreviewZoom z;
    z.zoomIn();
    EXPECT_DOUBLE_EQ(z.zoom(), 1.25);
    z.setZoom(0.63);
    z.zoomOut();
    EXPECT_DOUBLE_EQ(z.zoom(), 0.5);
    z.setZoom(100);
    EXPECT_DOUBLE_EQ(z.zoom(), 4.0);
    z.zoomIn();
    EXPECT_DOUBLE_EQ(z.zoom(), 4.0);
    EXPECT_NEAR(PreviewZoom::wholePage(QSizeF(8.5, 11), QSize(432, 600), 96), 0.5, 1e-9);
}

TEST(PreviewWindow, OnePageHidesThePageButtons)
{
    auto doc = document(1);
    TPreviewForm form(doc.get(), "Preview Report", PreviewZoom::Start::Percent, nullptr, nullptr, 100);
    EXPECT_EQ(form.windowTitle(), "Preview Report");
    form.show();
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(form.pageButton(i)->isHidden()) << i;
    EXPECT_EQ(form.windowTitle(), "Preview Page 1 of 1 ( 100% )");
}

TEST(PreviewWindow, PagingZoomMouseKeysAndHelp)
{
    auto doc = document(3);
    const QString dir = postavo::testing::scratchDir("preview");
    postavo::Settings settings(dir + "/postav.ini");
    TPreviewForm form(doc.get(), "Preview Report", PreviewZoom::Start::WholePage, &settings);
    form.show();
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(form.pageButton(i)->isHidden()) << i;
    EXPECT_TRUE(form.windowTitle().startsWith("Preview Page 1 of 3 ( ")) << form.windowTitle().toStdString();
    EXPECT_LT(form.zoom(), 1.0);
    // What the user sees, kept beside the test's scratch files.
    form.grab().save(dir + "/preview-whole-page.png");

    form.zoom100();
    EXPECT_EQ(form.windowTitle(), "Preview Page 1 of 3 ( 100% )");
    form.pageButton(2)->click();
    form.pageButton(2)->click();
    EXPECT_EQ(form.windowTitle(), "Preview Page 3 of 3 ( 100% )");
    form.pageButton(2)->click(); // already on the last page
    EXPECT_EQ(form.pageIndex(), 2);
    form.pageButton(0)->click();
    EXPECT_EQ(form.windowTitle(), "Preview Page 1 of 3 ( 100% )");

    QTest::mouseClick(form.pageWidget(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(form.windowTitle(), "Preview Page 1 of 3 ( 125% )");
    QTest::mouseClick(form.pageWidget(), Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseClick(form.pageWidget(), Qt::RightButton, {}, QPoint(100, 100));
    EXPECT_EQ(form.windowTitle(), "Preview Page 1 of 3 ( 75% )");
    EXPECT_EQ(form.pageWidget()->cursor().shape(), Qt::BitmapCursor);

    form.zoom100();
    QScrollBar* bar = form.scrollArea()->verticalScrollBar();
    const int before = bar->value();
    QTest::keyClick(&form, Qt::Key_Down);
    EXPECT_EQ(bar->value(), before + bar->singleStep());
    QTest::keyClick(&form, Qt::Key_Up);
    EXPECT_EQ(bar->value(), before);

    for (QPushButton* b : form.findChildren<QPushButton*>())
        if (b->text() == "Help")
            b->click();
    EXPECT_EQ(postavo::lastHelpTopic(), 1074);

    for (QPushButton* b : form.findChildren<QPushButton*>())
        if (b->text() == "Ok")
            b->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(settings.hasSection("TPreviewForm_Placement"));
}

TEST(PreviewWindow, ShowsTheTestPageAsItPrints)
{
    RecordingDevice doc(QSizeF(8.5, 11), 600);
    TPrintCanvas c(CanvasKind::Preview);
    c.setDevice(&doc);
    ASSERT_TRUE(c.execute(nullptr, [](TPrintCanvas& c) {
        drawTestPage(c, {"Preview", "none", QMarginsF(0.25, 0.2, 0.25, 0.5)});
        c.newPage();
        c.setFont("Arial", 12);
        for (int r : {0, 90, 180, 270}) {
            c.setFontRotation(r);
            c.gotoXY(4.25, 5.5);
            c.print(QStringLiteral("Rotated %1").arg(r));
        }
        c.setFontRotation(0);
    }));
    TPreviewForm form(&doc, "Preview Test Page", PreviewZoom::Start::Percent, nullptr, nullptr, 50);
    form.resize(520, 700);
    form.show();
    EXPECT_EQ(form.windowTitle(), "Preview Page 1 of 2 ( 50% )");
    const QString dir = postavo::testing::scratchDir("preview-test-page");
    QImage page = form.pageWidget()->grab().toImage();
    page.save(dir + "/page1.png");
    // The page is white with ink on it: the title line at 1.5 in, 1.55 in.
    const double dpi = form.logicalDpiX() * 0.5;
    int ink = 0;
    for (int x = int(1.5 * dpi); x < int(3.5 * dpi); ++x)
        for (int y = int(1.35 * dpi); y < int(1.6 * dpi); ++y)
            ink += qGray(page.pixel(x + 12, y + 12)) < 128;
    EXPECT_GT(ink, 50);
    form.nextPage();
    form.pageWidget()->grab().save(dir + "/page2.png");
}
