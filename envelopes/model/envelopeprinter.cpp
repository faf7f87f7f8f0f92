#include "envelopeprinter.h"

#include "envelopesizes.h"
#include "papercodes.h"
#include "printers.h"
#include "settings.h"

#include <QPrinterInfo>
#include <cmath>

namespace postavo::envelopes {

namespace {

QString inches(double v) { return QString::number(v, 'g', 4); }

} // namespace

void loadEnvelopePrinter(printing::TPrinters& printers, const Settings& s)
{
    QString name = keys::EnvelopePrinter.read(s);
    if (!name.isEmpty()) {
        const int on = name.indexOf(QLatin1String(" on "));
        if (on >= 0)
            name.truncate(on);
        printers.selectPrinter(name);
    }
    const QString bin = keys::EnvelopeBin.read(s);
    if (!bin.isEmpty())
        printers.selectPaperSource(bin);
    const QString paper = keys::EnvelopePaper.read(s);
    if (!paper.isEmpty())
        printers.selectPaperName(paper);
    const int current = printers.orientation() == QPageLayout::Landscape ? 1 : 0;
    const int o = s.readInteger(QString::fromLatin1(keys::EnvelopePrinterSection),
                                QString::fromLatin1(keys::EnvelopeOrientationKey), current);
    printers.setOrientation(o == 1 ? QPageLayout::Landscape : QPageLayout::Portrait);
}

bool saveEnvelopePrinter(Settings& s, const printing::TPrinters& printers, const FeedMethod& feed)
{
    return writeFeedMethod(s, feed) && keys::EnvelopePrinter.write(s, printers.printerName())
        && keys::EnvelopeBin.write(s, printers.paperSource()) && keys::EnvelopePaper.write(s, printers.paperName())
        && s.writeInteger(QString::fromLatin1(keys::EnvelopePrinterSection),
                          QString::fromLatin1(keys::EnvelopeOrientationKey),
                          printers.orientation() == QPageLayout::Landscape ? 1 : 0);
}

bool pageSizeOffered(const QList<QPageSize>& supported, const QPageSize& wanted, QPageSize* match)
{
    if (!wanted.isValid())
        return false;
    const QSizeF w = wanted.size(QPageSize::Point);
    for (const QPageSize& s : supported) {
        const QSizeF p = s.size(QPageSize::Point);
        const bool same = (wanted.id() != QPageSize::Custom && s.id() == wanted.id())
                       || (std::abs(p.width() - w.width()) <= 2 && std::abs(p.height() - w.height()) <= 2)
                       || (std::abs(p.width() - w.height()) <= 2 && std::abs(p.height() - w.width()) <= 2);
        if (same) {
            if (match)
                *match = s;
            return true;
        }
    }
    return false;
}

PaperChoice chooseEnvelopePaper(printing::TPrinters& printers, int code, const FeedMethod& feed)
{
    PaperChoice choice;
    const auto wanted = printing::pageSizeForCode(code);
    const EnvelopeSize* size = findEnvelopeSize(code);
    const QString sizeName = size ? QString::fromLatin1(size->caption).trimmed() : QStringLiteral("size %1").arg(code);
    if (!wanted || !size) {
        choice.note = QStringLiteral("The envelope size %1 has no paper of its own; the printer keeps its %2 paper.")
                          .arg(sizeName, printers.paperName());
    } else if (printers.isPdfPrinter()) {
        choice.envelopePaper = printers.setPaperCode(code);
    } else {
        QPageSize match;
        const QList<QPageSize> supported = QPrinterInfo::printerInfo(printers.printerName()).supportedPageSizes();
        if (pageSizeOffered(supported, *wanted, &match) && printers.selectPaperName(match.name())) {
            choice.envelopePaper = true;
        } else {
            choice.note = QStringLiteral("The printer \"%1\" does not offer the paper %2. The envelope is placed on its "
                                         "%3 paper as the paper feed method says.")
                              .arg(printers.printerName(), sizeName, printers.paperName());
        }
    }
    printers.setOrientation(feed.pageOrientation());
    return choice;
}

QString pageMismatchWarning(double ew, double eh, double pw, double ph)
{
    const auto hundredths = [](double v) { return long(std::trunc(v * 100)); };
    const long dw = std::labs(hundredths(ew) - hundredths(pw));
    const long dh = std::labs(hundredths(eh) - hundredths(ph));
    if (dw > 100 || dh > 100)
        return QStringLiteral("WARNING: Printer PAPER SIZE and ORIENTATION do not match selected Envelope.\r\n"
                              "Use Printer Setup to correct this.");
    return {};
}

QString placementProblem(double ew, double eh, double pw, double ph, const FeedMethod& feed)
{
    const FeedOffsets at = feedOffsets(pw, ph, ew, eh, feed);
    const double slackW = 0.02 * ew, slackH = 0.02 * eh;
    if (envelopeFitsPage(pw + slackW, ph + slackH, ew, eh, at))
        return {};
    return QStringLiteral("The envelope (%1 x %2 inches) does not fit on the printer's page (%3 x %4 inches) where "
                          "the paper feed method puts it: part of every envelope would not print. Change the "
                          "paper or its orientation with Printer Setup, or the paper feed method.")
        .arg(inches(ew), inches(eh), inches(pw), inches(ph));
}

} // namespace postavo::envelopes
