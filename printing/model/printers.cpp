#include "printers.h"
#include "devices.h"
#include "papercodes.h"

#include <QLocale>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>

namespace postavo::printing {

namespace {

// The print engine key under which Qt's CUPS engine takes job options ("InputSlot", "Tray2", ...).
constexpr auto kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

QPageSize localDefaultPaper()
{
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                             : QPageSize(QPageSize::A4);
}

QPageLayout layoutFor(const QPageSize& size, QPageLayout::Orientation o)
{
    return QPageLayout(size, o, QMarginsF(), QPageLayout::Inch);
}

} // namespace

QSizeF paperInches(const QPageLayout& layout)
{
    const QPageSize page = layout.pageSize();
    QSizeF d = page.definitionSize();
    double factor = 1.0;
    switch (page.definitionUnits()) {
    case QPageSize::Millimeter: factor = 1 / 25.4; break;
    case QPageSize::Point: factor = 1 / 72.0; break;
    case QPageSize::Inch: {
        if (page.id() == QPageSize::Custom)
            break;
        // Qt keeps inch sizes to two decimals (Envelope #10 4.12 wide) but their points exactly:
        // the inch papers are whole eighths of an inch, whole multiples of 9 points.
        const QSize points = page.sizePoints();
        d = QSizeF(points.width(), points.height());
        factor = 1 / 72.0;
        break;
    }
    case QPageSize::Pica: factor = 1 / 6.0; break;
    case QPageSize::Didot: factor = 0.376 / 25.4; break;
    case QPageSize::Cicero: factor = 4.512 / 25.4; break;
    }
    QSizeF inches(d.width() * factor, d.height() * factor);
    if (!page.isValid())
        inches = layout.fullRect(QPageLayout::Inch).size();
    else if (layout.orientation() == QPageLayout::Landscape)
        inches.transpose();
    return inches;
}

TPrinters::TPrinters()
{
    const QList<QPrinterInfo> infos = QPrinterInfo::availablePrinters();
    for (const QPrinterInfo& info : infos)
        names_ << info.printerName();
    const QString def = QPrinterInfo::defaultPrinterName();
    names_ << pdfPrinterName();
    index_ = names_.size() - 1;
    if (!def.isEmpty() && names_.indexOf(def) >= 0)
        index_ = names_.indexOf(def);
    else if (names_.size() > 1)
        index_ = 0;
    loadPrinter();
}

TPrinters::TPrinters(QStringList systemPrinters, const QString& systemDefault)
{
    names_ = std::move(systemPrinters);
    names_.removeAll(pdfPrinterName());
    names_ << pdfPrinterName();
    const int def = names_.indexOf(systemDefault);
    index_ = def >= 0 && def < names_.size() - 1 ? def : (names_.size() > 1 ? 0 : names_.size() - 1);
    loadPrinter();
}

TPrinters::~TPrinters() = default;

bool TPrinters::selectPrinter(int index)
{
    if (index < 0 || index >= names_.size())
        return false;
    if (index != index_) {
        index_ = index;
        loadPrinter();
    }
    return true;
}

bool TPrinters::selectPrinter(const QString& name)
{
    for (int i = 0; i < names_.size(); ++i)
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0)
            return selectPrinter(i);
    return false;
}

void TPrinters::loadPrinter()
{
    source_.clear();
    if (isPdfPrinter()) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        layout_ = layoutFor(localDefaultPaper(), QPageLayout::Portrait);
        return;
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName());
    printer_ = info.isNull() ? std::make_unique<QPrinter>(QPrinter::HighResolution)
                             : std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    // Qt opens every CUPS printer at A4; the printer's own default paper is what the user set up.
    QPageSize paper = info.isNull() ? QPageSize() : info.defaultPageSize();
    if (!paper.isValid())
        paper = localDefaultPaper();
    layout_ = layoutFor(paper, QPageLayout::Portrait);
    QString current;
    lpOptionValues(QStringLiteral("InputSlot"), &current);
    source_ = current;
}

QString TPrinters::driverName() const
{
    if (isPdfPrinter())
        return QStringLiteral("PDF");
    return QPrinterInfo::printerInfo(printerName()).makeAndModel();
}

QString TPrinters::portName() const
{
    if (isPdfPrinter())
        return pdfFile_;
    return QPrinterInfo::printerInfo(printerName()).location();
}

QStringList TPrinters::lpOptionValues(const QString& option, QString* current) const
{
    // CUPS lists a printer's choices as "InputSlot/Paper Source: Auto *Tray1 Tray2"; the starred
    // one is the printer's default.
    QStringList values;
    if (isPdfPrinter() || printerName().isEmpty())
        return values;
    QProcess p;
    p.start(QStringLiteral("lpoptions"), {QStringLiteral("-p"), printerName(), QStringLiteral("-l")});
    if (!p.waitForFinished(5000) || p.exitStatus() != QProcess::NormalExit)
        return values;
    const QStringList lines = QString::fromLocal8Bit(p.readAllStandardOutput()).split(u'\n');
    for (const QString& line : lines) {
        const int colon = line.indexOf(u':');
        if (colon < 0 || line.section(u'/', 0, 0).compare(option, Qt::CaseInsensitive) != 0)
            continue;
        for (QString v : line.mid(colon + 1).split(u' ', Qt::SkipEmptyParts)) {
            if (v.startsWith(u'*')) {
                v.remove(0, 1);
                if (current)
                    *current = v;
            }
            values << v;
        }
    }
    return values;
}

QStringList TPrinters::paperSources() const
{
    return lpOptionValues(QStringLiteral("InputSlot"), nullptr);
}

bool TPrinters::selectPaperSource(const QString& name)
{
    for (const QString& s : paperSources())
        if (s.compare(name, Qt::CaseInsensitive) == 0) {
            source_ = s;
            return true;
        }
    return false;
}

QStringList TPrinters::paperNames() const
{
    QStringList names;
    if (isPdfPrinter()) {
        for (const auto& row : paperCodes())
            if (!names.contains(QPageSize(row.id).name()))
                names << QPageSize(row.id).name();
        return names;
    }
    for (const QPageSize& s : QPrinterInfo::printerInfo(printerName()).supportedPageSizes())
        names << s.name();
    return names;
}

bool TPrinters::selectPaperName(const QString& name)
{
    if (isPdfPrinter()) {
        for (const auto& row : paperCodes())
            if (QPageSize(row.id).name().compare(name, Qt::CaseInsensitive) == 0) {
                layout_.setPageSize(QPageSize(row.id));
                return true;
            }
        return false;
    }
    for (const QPageSize& s : QPrinterInfo::printerInfo(printerName()).supportedPageSizes())
        if (s.name().compare(name, Qt::CaseInsensitive) == 0) {
            layout_.setPageSize(s);
            return true;
        }
    return false;
}

bool TPrinters::setPaperCode(int code)
{
    const auto size = pageSizeForCode(code);
    if (!size)
        return false;
    layout_.setPageSize(*size);
    return true;
}

int TPrinters::paperCode() const
{
    return codeForPageSize(layout_.pageSize());
}

bool TPrinters::setCustomPaper(int w, int h)
{
    const auto size = customPageSize(w, h);
    if (!size)
        return false;
    layout_.setPageSize(*size);
    return true;
}

double TPrinters::pageWidth() const { return paperInches(layout_).width(); }
double TPrinters::pageHeight() const { return paperInches(layout_).height(); }

QMarginsF TPrinters::unprintableMargins() const
{
    if (isPdfPrinter())
        return {};
    auto* self = const_cast<TPrinters*>(this);
    self->applySettings();
    QPageLayout l = self->qprinter().pageLayout();
    l.setUnits(QPageLayout::Inch);
    // Qt reports the printer's margins for the portrait sheet whatever the orientation.
    // Landscape turns the page a quarter counter-clockwise: its top is the sheet's left edge.
    QPageLayout portrait = l;
    portrait.setOrientation(QPageLayout::Portrait);
    const QMarginsF m = portrait.minimumMargins();
    if (layout_.orientation() == QPageLayout::Landscape)
        return QMarginsF(m.bottom(), m.left(), m.top(), m.right());
    return m;
}

double TPrinters::resolution() const
{
    return isPdfPrinter() ? 1200.0 : const_cast<TPrinters*>(this)->qprinter().resolution();
}

QPrinter& TPrinters::qprinter()
{
    return *printer_;
}

void TPrinters::applySettings()
{
    printer_->setPageSize(layout_.pageSize());
    printer_->setPageOrientation(layout_.orientation());
    printer_->setFullPage(true);
    if (isPdfPrinter()) {
        printer_->setOutputFileName(pdfFile_);
        return;
    }
    if (!source_.isEmpty()) {
        QStringList opts = printer_->printEngine()->property(kCupsOptions).toStringList();
        const int at = opts.indexOf(QStringLiteral("InputSlot"));
        if (at >= 0 && at % 2 == 0 && at + 1 < opts.size())
            opts[at + 1] = source_;
        else
            opts << QStringLiteral("InputSlot") << source_;
        printer_->printEngine()->setProperty(kCupsOptions, opts);
    }
}

void TPrinters::adoptPrinterPage()
{
    const QPageLayout chosen = printer_->pageLayout();
    layout_.setPageSize(chosen.pageSize());
    layout_.setOrientation(chosen.orientation());
}

std::function<QString()>& TPrinters::defaultPdfFileChooser()
{
    static std::function<QString()> chooser;
    return chooser;
}

void TPrinters::setDefaultPdfFileChooser(std::function<QString()> chooser)
{
    defaultPdfFileChooser() = std::move(chooser);
}

std::unique_ptr<CanvasDevice> TPrinters::createDevice(QString* error)
{
    if (isPdfPrinter()) {
        QString path = pdfFile_;
        if (path.isEmpty()) {
            if (chooser_)
                path = chooser_();
            else if (defaultPdfFileChooser())
                path = defaultPdfFileChooser()();
        }
        if (path.isEmpty()) {
            if (error)
                *error = QStringLiteral("No PDF file was chosen, aborting print job.");
            return nullptr;
        }
        return std::make_unique<PdfFileDevice>(path, layout_);
    }
    // Qt hands a finished job to CUPS without looking at the answer: a queue that refuses jobs
    // would swallow the output silently, so ask first.
    QProcess lpstat;
    lpstat.start(QStringLiteral("lpstat"), {QStringLiteral("-a"), printerName()});
    if (lpstat.waitForFinished(5000) && lpstat.exitStatus() == QProcess::NormalExit
        && QString::fromLocal8Bit(lpstat.readAllStandardOutput()).contains(QStringLiteral("not accepting"))) {
        if (error)
            *error = QStringLiteral("The printer \"%1\" is not accepting print jobs.").arg(printerName());
        return nullptr;
    }
    applySettings();
    return std::make_unique<PrinterDevice>(*printer_, driverName(), portName());
}

std::unique_ptr<RecordingDevice> TPrinters::createPreviewDocument() const
{
    auto doc = std::make_unique<RecordingDevice>(QSizeF(pageWidth(), pageHeight()), resolution());
    doc->setNames(printerName(), driverName(), portName());
    return doc;
}

} // namespace postavo::printing
