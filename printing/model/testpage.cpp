#include "testpage.h"
#include "printcanvas.h"
#include "printers.h"

#include <cmath>
#include <vector>

namespace postavo::printing {

namespace {

QString inches(double v) { return QString::number(v, 'f', 2); }

void rulers(TPrintCanvas& c, double w, double h)
{
    c.setPen(Qt::black, PenStyle::Solid, -1);
    c.setFont(QStringLiteral("Arial"), 7);
    // Ticks every eighth of an inch, longer at quarters, halves and whole inches.
    auto tick = [](int eighths) {
        if (eighths % 8 == 0) return 0.3;
        if (eighths % 4 == 0) return 0.2;
        if (eighths % 2 == 0) return 0.15;
        return 0.1;
    };
    for (int i = 1; i < int(w * 8); ++i) {
        const double x = i / 8.0, len = tick(i);
        c.moveTo(x, 0);
        c.lineTo(x, len);
        c.moveTo(x, h);
        c.lineTo(x, h - len);
        if (i % 8 == 0) {
            const QString n = QString::number(i / 8);
            c.gotoXY(x + 0.03, 0.3);
            c.print(n);
            c.gotoXY(x + 0.03, h - 0.22);
            c.print(n);
        }
    }
    for (int i = 1; i < int(h * 8); ++i) {
        const double y = i / 8.0, len = tick(i);
        c.moveTo(0, y);
        c.lineTo(len, y);
        c.moveTo(w, y);
        c.lineTo(w - len, y);
        if (i % 8 == 0) {
            const QString n = QString::number(i / 8);
            // Below the tick, clear of the crosshair labels that sit above the line.
            c.gotoXY(0.05, y + 0.13);
            c.print(n);
            c.printRight(n, w - 0.05);
        }
    }
}

void crosshairs(TPrintCanvas& c, double w, double h)
{
    c.setPen(Qt::black, PenStyle::Solid, -1);
    c.setFont(QStringLiteral("Arial"), 6);
    for (int x = 1; x < w - 0.01; ++x)
        for (int y = 1; y < h - 0.01; ++y) {
            c.moveTo(x - 0.1, y);
            c.lineTo(x + 0.1, y);
            c.moveTo(x, y - 0.1);
            c.lineTo(x, y + 0.1);
            c.gotoXY(x + 0.03, y - 0.03);
            c.print(QStringLiteral("%1,%2").arg(x).arg(y));
        }
}

} // namespace

std::vector<bool> postnetBars(const QString& zip)
{
    static const char* codes[10] = {"11000", "00011", "00101", "00110", "01001",
                                    "01010", "01100", "10001", "10010", "10100"};
    std::vector<bool> bars{true};
    int sum = 0;
    auto digit = [&](int d) {
        for (int k = 0; k < 5; ++k)
            bars.push_back(codes[d][k] == '1');
    };
    for (QChar ch : zip)
        if (ch >= u'0' && ch <= u'9') {
            sum += ch.unicode() - '0';
            digit(ch.unicode() - '0');
        }
    digit((10 - sum % 10) % 10);
    bars.push_back(true);
    return bars;
}

void drawTestPage(TPrintCanvas& c, const TestPageInfo& info)
{
    using L = TestPageLayout;
    const double w = c.pageWidth(), h = c.pageHeight();
    rulers(c, w, h);
    crosshairs(c, w, h);

    // The printable area as the printer reports it.
    const QMarginsF m = info.unprintable;
    c.setPen(Qt::red, PenStyle::Dot, -1);
    c.setBrush(Qt::white, BrushStyle::Clear);
    c.rectangle(m.left(), m.top(), w - m.right(), h - m.bottom());

    c.setFont(QStringLiteral("Arial"), 14);
    c.setBold(true);
    c.gotoXY(1.5, 1.55);
    c.print(QStringLiteral("Postavo printer test page"));
    c.setFont(QStringLiteral("Arial"), 9);
    c.gotoXY(1.5, 1.75);
    c.print(QStringLiteral("Rulers along the edges in inches, ticks every 1/8 inch; crosshairs every inch."));
    // Between the crosshair rows at 2 and 3 inches.
    const QStringList lines = {
        QStringLiteral("Printer: %1").arg(info.printerName),
        QStringLiteral("Driver: %1").arg(info.driverName),
        QStringLiteral("Paper: %1 x %2 in, %3 dots per inch").arg(inches(w), inches(h)).arg(c.pixelsPerInchX()),
        QStringLiteral("Unprintable margins (red dotted outline): left %1, top %2, right %3, bottom %4 in")
            .arg(inches(m.left()), inches(m.top()), inches(m.right()), inches(m.bottom())),
    };
    double y = 2.35;
    for (const QString& line : lines) {
        c.gotoXY(1.5, y);
        c.print(line);
        y += c.lineHeight();
    }

    // Text samples: the text's origin (left end of its baseline) at the stated position, marked
    // with a short stroke in front of it.
    auto sample = [&](const QString& face, double points, double x, double baseline) {
        c.setPen(Qt::black, PenStyle::Solid, 0);
        c.moveTo(x - 0.2, baseline);
        c.lineTo(x - 0.05, baseline);
        c.setFont(face, points);
        c.gotoXY(x, baseline);
        c.print(QStringLiteral("%1 %2 pt starts at x %3 in on the baseline y %4 in")
                    .arg(face).arg(points).arg(inches(x), inches(baseline)));
    };
    sample(QStringLiteral("Arial"), 10, L::arialX, L::arialBaseline);
    sample(QStringLiteral("Times New Roman"), 14, L::timesX, L::timesBaseline);

    // POSTNET-sized bars, bottoms aligned.
    c.setFont(QStringLiteral("Arial"), 9);
    c.gotoXY(L::barsX, L::barsBottom - 0.2);
    c.print(QStringLiteral("POSTNET bars for %1: %2 x %3 in (half bars %4 in) on a %5 in pitch, from x %6 in")
                .arg(QString::fromLatin1(L::barsZip))
                .arg(L::barWidth).arg(L::fullBar).arg(L::halfBar).arg(L::barPitch).arg(inches(L::barsX)));
    c.setPen(Qt::black, PenStyle::Clear, 0);
    c.setBrush(Qt::black, BrushStyle::Solid);
    const std::vector<bool> bars = postnetBars(QString::fromLatin1(L::barsZip));
    for (size_t i = 0; i < bars.size(); ++i) {
        const double x = L::barsX + i * L::barPitch;
        c.rectangle(x, L::barsBottom - (bars[i] ? L::fullBar : L::halfBar), x + L::barWidth, L::barsBottom);
    }
    c.setBrush(Qt::white, BrushStyle::Clear);
    c.setPen(Qt::black);
}

bool printTestPage(TPrinters& printers, QString* error)
{
    std::unique_ptr<CanvasDevice> device = printers.createDevice(error);
    if (!device)
        return false;
    TestPageInfo info{printers.printerName(), printers.driverName(), printers.unprintableMargins()};
    TPrintCanvas canvas;
    canvas.setDevice(device.get());
    canvas.title = QStringLiteral("Postavo test page");
    const bool ok = canvas.execute(nullptr, [&](TPrintCanvas& c) { drawTestPage(c, info); });
    if (!ok && error)
        *error = canvas.lastError();
    return ok;
}

} // namespace postavo::printing
