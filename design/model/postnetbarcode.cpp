#include "postnetbarcode.h"

#include "addressfile.h"
#include "postnet.h"
#include "printcanvas.h"

#include <QPainter>

namespace postavo::design {

TGPostNetBarCode::TGPostNetBarCode() { setBounds(0, 0, 270, 16); }

const PropertyTable& TGPostNetBarCode::properties() const
{
    using P = Props<TGPostNetBarCode>;
    static const PropertyTable t = [] {
        PropertyTable t = commonProperties();
        t.push_back(P::text("ZipCodeField", &TGPostNetBarCode::ZipCodeField));
        t.push_back(P::text("AddressField", &TGPostNetBarCode::AddressField));
        t.push_back(P::enumeration("BarCodeType", &TGPostNetBarCode::BarCodeType, names::barCodeType, std::nullopt));
        return t;
    }();
    return t;
}

const QImage& TGPostNetBarCode::screenPicture()
{
    // A sample code (12345-6789 with delivery point 23) drawn at 4 pixels a bar.
    static const QImage picture = [] {
        QImage img(270, 16, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        const auto bars = postnet::barPattern(QStringLiteral("123456789230"));
        int x = 10;
        for (bool full : bars) {
            p.fillRect(QRect(x, full ? 2 : 8, 2, full ? 12 : 6), Qt::black);
            x += 4;
        }
        return img;
    }();
    return picture;
}

QString TGPostNetBarCode::printedDigits() const
{
    return postnet::encodedDigits(zipText, addressText, postnet::Kind(std::clamp(BarCodeType, 0, 2)));
}

void TGPostNetBarCode::refreshData()
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

void TGPostNetBarCode::paint(QPainter& p)
{
    const QImage& pic = screenPicture();
    QSize s = pic.size();
    if (zoom() != 1.0f)
        s = QSize(roundHalfEven(s.width() * double(zoom())), roundHalfEven(s.height() * double(zoom())));
    if (s != QSize(width(), height()))
        setBounds(left(), top(), s.width(), s.height());
    if (!pic.isNull()) {
        p.drawImage(QRect(QPoint(0, 0), s), pic);
    } else {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.drawRect(0, 0, width() - 1, height() - 1);
    }
    boundsChanged();
}

void TGPostNetBarCode::printObject(printing::TPrintCanvas& report, double X, double Y)
{
    const QString digits = printedDigits();
    if (digits.isEmpty())
        return;
    const double ppi = screenPpi();
    report.setPen(Qt::black, printing::PenStyle::Solid, 1);
    report.setBrush(Qt::black, printing::BrushStyle::Solid);
    for (const QRectF& bar : postnet::barRects(digits, X + left() / ppi, Y + top() / ppi))
        report.rectangle(bar.left(), bar.top(), bar.right(), bar.bottom());
}

} // namespace postavo::design
