#include "Gpmbasel.h"

#include <QPainter>

namespace postavo::design {

TGMultiLineBaseLabel::TGMultiLineBaseLabel()
{
    Font = LayoutFont::fromPoints(QStringLiteral("Arial"), 10);
    setBounds(0, 0, 190, 33);
}

const PropertyTable& TGMultiLineBaseLabel::multiLineProperties()
{
    using P = Props<TGMultiLineBaseLabel>;
    static const PropertyTable t = [] {
        PropertyTable t = commonProperties();
        t.push_back(P::stringList("Items", &TGMultiLineBaseLabel::Items));
        t.push_back(P::boolean("AutoSize", &TGMultiLineBaseLabel::AutoSize, std::nullopt));
        t.push_back(P::enumeration("Alignment", &TGMultiLineBaseLabel::Alignment, names::alignment, taLeftJustify));
        t.push_back(P::object("Font", &TGMultiLineBaseLabel::Font, &fontProperties));
        t.push_back(P::boolean("WordWrap", &TGMultiLineBaseLabel::WordWrap, 0));
        return t;
    }();
    return t;
}

void TGMultiLineBaseLabel::ApplyFont(const LayoutFont& font)
{
    Font = font;
    repaint();
}

void TGMultiLineBaseLabel::paint(QPainter& p)
{
    const QFont font = screenFont(Font, zoom());
    const QFontMetrics fm(font);
    p.setFont(font);
    p.setPen(toQColor(Font.color));
    const int h = fm.height();
    QStringList lines = Items;
    if (lines.isEmpty())
        lines << QStringLiteral("<blank>");
    for (int i = 0; i < lines.size(); ++i) {
        const int w = fm.horizontalAdvance(lines[i]);
        int x = 0;
        if (Alignment == taRightJustify)
            x = width() - w - 1;
        else if (Alignment == taCenter)
            x = width() / 2 - w / 2 + 1;
        p.drawText(QPoint(x, i * h + fm.ascent()), lines[i]);
    }
}

const PropertyTable& TGDMultiLineLabel::properties() const
{
    using P = Props<TGDMultiLineLabel>;
    static const PropertyTable t = [] {
        PropertyTable t = multiLineProperties();
        t.push_back(P::text("DataFieldName", &TGDMultiLineLabel::DataFieldName));
        t.push_back(P::text("DataFieldDescript", &TGDMultiLineLabel::DataFieldDescript));
        return t;
    }();
    return t;
}

const PropertyTable& TGDMultiLineAddressLabel::properties() const
{
    using P = Props<TGDMultiLineAddressLabel>;
    using A = TGDMultiLineAddressLabel;
    static const PropertyTable t = [] {
        PropertyTable t = multiLineProperties();
        for (auto [name, member] : {std::pair{"UseName", &A::UseName}, {"UseTitle", &A::UseTitle},
                                    {"UseCompany", &A::UseCompany}, {"UseStreet", &A::UseStreet},
                                    {"UseStreet2", &A::UseStreet2}, {"UseCityState", &A::UseCityState},
                                    {"UseZip", &A::UseZip}, {"UsePhone", &A::UsePhone},
                                    {"UseCountry", &A::UseCountry}})
            t.push_back(P::boolean(name, member, std::nullopt));
        t.push_back(P::enumeration("ZipOptions", &A::ZipOptions, names::zipOptions, std::nullopt));
        t.push_back(P::boolean("UpperCase", &A::UpperCase, std::nullopt));
        return t;
    }();
    return t;
}

} // namespace postavo::design
