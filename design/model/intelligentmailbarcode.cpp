#include "intelligentmailbarcode.h"

#include "addressfile.h"
#include "printcanvas.h"

#include <QPainter>

namespace postavo::design {

namespace {

const QList<QByteArray> routingNames = {"imbNoRouting", "imbZip5", "imbZip9", "imbZip11"};

// The example of the postal standard (tracking 01234567094987654321, routing 01234567891),
// shown while the object has nothing of its own to show.
constexpr char kExampleBars[] = "AADTFFDFTDADTAADAATFDTDDAAADDTDTTDAFADADDDTFFFDDTTTADFAAADFTDAADA";

int screenLength(double inches, float zoom) { return roundHalfEven(inches * screenPpi() * double(zoom)); }

} // namespace

TGIntelligentMailBarCode::TGIntelligentMailBarCode()
{
    setBounds(0, 0, screenLength(imb::codeLength(), 1.0f), screenLength(imb::kFullHeight, 1.0f));
}

const PropertyTable& TGIntelligentMailBarCode::properties() const
{
    using P = Props<TGIntelligentMailBarCode>;
    static const PropertyTable t = [] {
        PropertyTable t = commonProperties();
        t.push_back(P::text("BarcodeIdentifier", &TGIntelligentMailBarCode::BarcodeIdentifier));
        t.push_back(P::text("ServiceType", &TGIntelligentMailBarCode::ServiceType));
        t.push_back(P::text("MailerIdentifier", &TGIntelligentMailBarCode::MailerIdentifier));
        t.push_back(P::text("SerialNumber", &TGIntelligentMailBarCode::SerialNumber));
        t.push_back(P::text("ZipCodeField", &TGIntelligentMailBarCode::ZipCodeField));
        t.push_back(P::text("AddressField", &TGIntelligentMailBarCode::AddressField));
        t.push_back(P::enumeration("RoutingCode", &TGIntelligentMailBarCode::RoutingCode, routingNames, std::nullopt));
        return t;
    }();
    return t;
}

imb::Fields TGIntelligentMailBarCode::fields() const
{
    return {BarcodeIdentifier, ServiceType, MailerIdentifier, SerialNumber};
}

IntelligentMailSettings TGIntelligentMailBarCode::settings() const
{
    return {fields(), RoutingCode, ZipCodeField, AddressField};
}

void TGIntelligentMailBarCode::setSettings(const IntelligentMailSettings& s)
{
    if (s == settings())
        return;
    notifyChanged();
    BarcodeIdentifier = s.fields.barcodeIdentifier;
    ServiceType = s.fields.serviceType;
    MailerIdentifier = s.fields.mailerIdentifier;
    SerialNumber = s.fields.serialNumber;
    RoutingCode = std::clamp(s.routing, int(imbNoRouting), int(imbZip11));
    ZipCodeField = s.zipCodeField;
    AddressField = s.addressField;
    refreshData();
    repaint();
}

QString TGIntelligentMailBarCode::printedBars() const
{
    const QString tracking = imb::trackingCode(fields());
    if (tracking.isEmpty())
        return {};
    const auto routing = imb::Routing(std::clamp(RoutingCode, int(imbNoRouting), int(imbZip11)));
    const QString route = imb::routingCode(zipText, addressText, routing);
    // A record whose zip cannot give the routing code asked for gets no barcode: a code without
    // its routing would send the piece nowhere.
    if (routing != imb::Routing::None && route.isEmpty())
        return {};
    return imb::encodeBars(tracking, route);
}

QString TGIntelligentMailBarCode::screenBars() const
{
    const QString bars = printedBars();
    return bars.isEmpty() ? QString::fromLatin1(kExampleBars) : bars;
}

void TGIntelligentMailBarCode::editSettings()
{
    IntelligentMailSettings s = settings();
    if (intelligentMailDialogs().editSettings(&s))
        setSettings(s);
}

void TGIntelligentMailBarCode::refreshData()
{
    DesignHost* h = host();
    AddressTable* table = h ? h->dataset() : nullptr;
    auto read = [table](const QString& name) {
        if (!table || name.isEmpty() || !table->field(name) || !table->hasRecord())
            return QString();
        return table->value(name);
    };
    addressText = read(AddressField);
    zipText = read(ZipCodeField);
    if (!(h && h->isPrinting()))
        repaint();
}

void TGIntelligentMailBarCode::paint(QPainter& p)
{
    // Always the printed size of the code at the zoom.
    const QSize s(screenLength(imb::codeLength(), zoom()), screenLength(imb::kFullHeight, zoom()));
    if (s != QSize(width(), height()))
        setBounds(left(), top(), s.width(), s.height());
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const double scale = screenPpi() * double(zoom());
    for (const QRectF& bar : imb::barRects(screenBars(), 0, 0))
        p.drawRect(QRectF(bar.left() * scale, bar.top() * scale, std::max(1.0, bar.width() * scale),
                          bar.height() * scale));
    boundsChanged();
}

void TGIntelligentMailBarCode::printObject(printing::TPrintCanvas& report, double X, double Y)
{
    const QString bars = printedBars();
    if (bars.isEmpty())
        return;
    const double ppi = screenPpi();
    report.setPen(Qt::black, printing::PenStyle::Solid, 1);
    report.setBrush(Qt::black, printing::BrushStyle::Solid);
    for (const QRectF& bar : imb::barRects(bars, X + left() / ppi, Y + top() / ppi))
        report.rectangle(bar.left(), bar.top(), bar.right(), bar.bottom());
}

void TGIntelligentMailBarCode::buildMenu(MenuEntries& menu)
{
    TGGraphicControl::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Barcode Settings..."), [this] { editSettings(); }});
}

} // namespace postavo::design
