#include "multilineobjects.h"

#include "addressfile.h"
#include "objectdialogs.h"
#include "printcanvas.h"
#include "printunits.h"
#include "textdialogs.h"
#include "wordwrap.h"

#include <QPainter>

namespace postavo::design {

namespace {

// A field's display label: its label, or its name when it has none (the memo).
QString displayLabel(const AddressTable::Field& f) { return f.label.isEmpty() ? f.name : f.label; }

// The dataset field whose display label is `label` (the last of several), or null.
const AddressTable::Field* fieldByLabel(AddressTable* table, const QString& label)
{
    if (!table || label.isEmpty())
        return nullptr;
    const AddressTable::Field* found = nullptr;
    for (const auto& f : table->fields())
        if (displayLabel(f) == label)
            found = &f;
    return found;
}

} // namespace

// ---- TGMultiLineBaseLabel ----

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

int TGMultiLineBaseLabel::screenLineHeight() const
{
    return TextMetrics(screenFont(Font, zoom())).height();
}

void TGMultiLineBaseLabel::wrapLines()
{
    if (!WordWrap)
        return;
    wrappedLines = Items.isEmpty() ? QStringList() : editBoxLines(Items, screenFont(Font, zoom()), width());
    wrappedFor_ = QSize(width(), height());
    wrappedZoom_ = zoom();
    wrappedItems_ = Items;
    repaint();
}

void TGMultiLineBaseLabel::ensureWrapped()
{
    // The zoom counts too: a zoom change rescales the object before it takes the new zoom, so
    // lines wrapped during it used the old zoom's font at the new width.
    if (!WordWrap || (wrappedFor_ == QSize(width(), height()) && wrappedZoom_ == zoom() && wrappedItems_ == Items))
        return;
    wrappedLines = Items.isEmpty() ? QStringList() : editBoxLines(Items, screenFont(Font, zoom()), width());
    wrappedFor_ = QSize(width(), height());
    wrappedZoom_ = zoom();
    wrappedItems_ = Items;
}

void TGMultiLineBaseLabel::setWordWrap(bool on)
{
    const bool changed = on != WordWrap;
    WordWrap = on;
    if (on)
        wrapLines();
    if (changed) {
        repaint();
        notifyChanged();
    }
}

void TGMultiLineBaseLabel::setAlignment(int a)
{
    Alignment = a;
    repaint();
    notifyChanged();
}

void TGMultiLineBaseLabel::fitToLines()
{
    ensureWrapped();
    const QFont font = screenFont(Font, zoom());
    const QFontMetrics fm(font);
    int w = width();
    for (const QString& line : linesInUse())
        w = std::max(w, fm.horizontalAdvance(line));
    setBounds(left(), top(), w, int(linesInUse().size()) * TextMetrics(font).height());
}

void TGMultiLineBaseLabel::editFont()
{
    LayoutFont f = Font;
    if (!dialogs().chooseFont(&f))
        return;
    Font = f;
    refreshData();
    if (WordWrap)
        wrapLines();
    repaint();
    notifyChanged();
}

void TGMultiLineBaseLabel::applyFont(const LayoutFont& font)
{
    Font = font;
    refreshData();
    if (WordWrap)
        wrapLines();
    repaint();
}

void TGMultiLineBaseLabel::boundsChanged()
{
    // The lines follow the width before anyone hears of the change.
    if (WordWrap && !loading() && wrappedFor_ != QSize(width(), height()))
        wrapLines();
    TGGraphicControl::boundsChanged();
}

void TGMultiLineBaseLabel::paint(QPainter& p)
{
    ensureWrapped();
    const QFont font = screenFont(Font, zoom());
    const QFontMetrics fm(font);
    const int h = TextMetrics(font).height();
    p.setFont(font);
    p.setPen(toQColor(Font.color));
    p.setBrush(Qt::NoBrush);
    const QString placeholder = memoPlaceholder ? QStringLiteral("<blank memo>") : QStringLiteral("<blank>");
    QStringList lines = linesInUse();
    if (lines.isEmpty())
        lines << placeholder;
    else if (lines.size() == 1 && lines.first().trimmed().isEmpty())
        lines << placeholder;
    p.save();
    p.setClipRect(QRect(0, 0, width(), height()), Qt::IntersectClip);
    for (int i = 0; i < lines.size(); ++i) {
        const int w = fm.horizontalAdvance(lines[i]);
        int x = 0;
        if (Alignment == taRightJustify)
            x = width() - w - 1;
        else if (Alignment == taCenter)
            x = width() / 2 - w / 2 + 1;
        p.drawText(QPoint(x, i * h + fm.ascent()), lines[i]);
    }
    p.restore();
}

void TGMultiLineBaseLabel::printObject(printing::TPrintCanvas& report, double X, double Y)
{
    using printing::roundHalfEven;
    ensureWrapped();
    const QStringList& lines = linesInUse();
    if (lines.isEmpty())
        return;
    const double ppi = screenPpi();
    const double dx = report.pixelsPerInchX(), dy = report.pixelsPerInchY();
    const int size = Font.points();
    report.setFont(resolveFontFamily(Font.name), size);
    report.setBold(Font.style & fsBold);
    report.setItalic(Font.style & fsItalic);
    report.setFontColor(toQColor(Font.color));
    report.setFontRotation(0);
    report.setBrush(Qt::white, printing::BrushStyle::Clear);

    // The canvas's line height from the font: size / 60 inch, in whole device pixels.
    const int lineH = int(roundHalfEven(size / 60.0 * dy));
    const int rl = int(roundHalfEven((X + left() / ppi) * dx));
    const int rt = int(roundHalfEven((Y + top() / ppi) * dy));
    const int rr = int(roundHalfEven((X + (left() + width()) / ppi) * dx));
    const int rb = int(roundHalfEven((Y + (top() + height()) / ppi) * dy));
    const int onePixel = int(dx / ppi);
    const int rectW = rr - rl;

    int lineTop = rt;
    for (const QString& line : lines) {
        if (lineTop >= rb || lineH <= 0)
            break;
        const int lineBottom = std::min(lineTop + lineH, rb);
        const int t = int(roundHalfEven(report.textWidth(line) * dx));
        int offset = 0;
        if (Alignment == taRightJustify)
            offset = rectW - t - onePixel;
        else if (Alignment == taCenter)
            offset = rectW / 2 - t / 2 + onePixel;
        const QRect clip(QPoint(rl, lineTop), QPoint(rr - 1, lineBottom - 1));
        report.printClipped(clip, X + left() / ppi + offset / dx, lineTop / dy, line);
        lineTop += lineH;
    }
}

void TGMultiLineBaseLabel::buildMenu(MenuEntries& menu)
{
    TGGraphicControl::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Font"), [this] { editFont(); }});
    MenuEntry align{QStringLiteral("Alignment")};
    const std::pair<const char*, int> kinds[] = {{"Left", taLeftJustify}, {"Center", taCenter}, {"Right", taRightJustify}};
    for (const auto& [caption, a] : kinds) {
        const int value = a;
        align.sub.push_back({QString::fromLatin1(caption), [this, value] { setAlignment(value); },
                             [this, value] { return Alignment == value; }});
    }
    menu.push_back(align);
}

// ---- TGMultiLineLabel ----

void TGMultiLineLabel::editText()
{
    QStringList lines = Items;
    if (!objectDialogs().multiLineText(&lines, Font))
        return;
    Items = lines;
    repaint();
    if (WordWrap)
        wrapLines();
    notifyChanged();
}

void TGMultiLineLabel::buildMenu(MenuEntries& menu)
{
    TGMultiLineBaseLabel::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Text"), [this] { editText(); }});
    menu.push_back({QStringLiteral("Word Wrap"), [this] { setWordWrap(!WordWrap); }, [this] { return WordWrap; }});
}

// ---- TGDMultiLineLabel ----

TGDMultiLineLabel::TGDMultiLineLabel() { memoPlaceholder = true; }

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

void TGDMultiLineLabel::refreshData()
{
    DesignHost* h = host();
    const bool printing = h && h->isPrinting();
    AddressTable* table = h ? h->dataset() : nullptr;
    const AddressTable::Field* field = fieldByLabel(table, DataFieldDescript);
    Items.clear();
    if (field && ((h && h->displayDataValues()) || printing)) {
        QString text;
        if (table->hasRecord())
            text = field->type == 'M' ? table->memo() : table->value(field->name);
        if (!text.isEmpty()) {
            // As an edit box as wide as the object shows the memo, in the unzoomed font.
            Items = editBoxLines(text, screenFont(Font, 1.0f), width(), WordWrap);
        }
        if (WordWrap)
            wrappedLines = Items;
    } else if (field) {
        Items << QLatin1Char('[') + DataFieldDescript + QLatin1Char(']');
    } else if (!printing) {
        Items << QStringLiteral("<undefined memo>");
    }
    if (WordWrap && !(field && ((h && h->displayDataValues()) || printing)))
        wrappedLines = Items;
    // The memo was broken at this width already: these lines are the wrapped ones.
    wrappedFor_ = QSize(width(), height());
    wrappedZoom_ = zoom();
    wrappedItems_ = Items;
    if (!printing)
        repaint();
}

void TGDMultiLineLabel::wrapLines()
{
    if (WordWrap)
        refreshData();
}

void TGDMultiLineLabel::editField()
{
    AddressTable* table = host() ? host()->dataset() : nullptr;
    QStringList labels;
    if (table)
        for (const auto& f : table->fields())
            if (f.type == 'M')
                labels << displayLabel(f);
    QString chosen = DataFieldDescript;
    if (dialogs().selectField(labels, &chosen)) {
        if (const AddressTable::Field* f = fieldByLabel(table, chosen)) {
            DataFieldName = f->name;
            DataFieldDescript = displayLabel(*f);
        } else {
            DataFieldDescript = chosen;
        }
        notifyChanged();
    }
    if (host())
        host()->refreshObjects();
}

void TGDMultiLineLabel::buildMenu(MenuEntries& menu)
{
    TGMultiLineBaseLabel::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Memo Field"), [this] { editField(); }});
    menu.push_back({QStringLiteral("Word Wrap"),
                    [this] {
                        setWordWrap(!WordWrap);
                        refreshData();
                    },
                    [this] { return WordWrap; }});
}

// ---- TGDMultiLineAddressLabel ----

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

addressblock::Options TGDMultiLineAddressLabel::options() const
{
    addressblock::Options o;
    o.useName = UseName;
    o.useTitle = UseTitle;
    o.useCompany = UseCompany;
    o.useStreet = UseStreet;
    o.useStreet2 = UseStreet2;
    o.useCityState = UseCityState;
    o.useZip = UseZip;
    o.usePhone = UsePhone;
    o.useCountry = UseCountry;
    o.zip = addressblock::ZipPlace(std::clamp(ZipOptions, 0, 3));
    o.upperCase = UpperCase;
    return o;
}

void TGDMultiLineAddressLabel::setOptions(const addressblock::Options& o)
{
    UseName = o.useName;
    UseTitle = o.useTitle;
    UseCompany = o.useCompany;
    UseStreet = o.useStreet;
    UseStreet2 = o.useStreet2;
    UseCityState = o.useCityState;
    UseZip = o.useZip;
    UsePhone = o.usePhone;
    UseCountry = o.useCountry;
    ZipOptions = int(o.zip);
    UpperCase = o.upperCase;
}

void TGDMultiLineAddressLabel::refreshData()
{
    DesignHost* h = host();
    const bool printing = h && h->isPrinting();
    Items.clear();
    if ((h && h->displayDataValues()) || printing) {
        AddressTable* table = h ? h->dataset() : nullptr;
        Items = addressblock::compose(options(), [table](const QString& name) -> std::optional<QString> {
            if (!table || !table->hasRecord() || !table->field(name))
                return std::nullopt;
            return table->value(name);
        });
    } else {
        Items << QStringLiteral("[Address Label]");
    }
    if (WordWrap)
        wrapLines();
    if (!printing)
        repaint();
}

void TGDMultiLineAddressLabel::editLayout()
{
    addressblock::Options o = options();
    if (!objectDialogs().addressLayout(&o))
        return;
    setOptions(o);
    if (host())
        host()->refreshObjects();
    notifyChanged();
}

void TGDMultiLineAddressLabel::buildMenu(MenuEntries& menu)
{
    TGMultiLineBaseLabel::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Address Layout"), [this] { editLayout(); }});
}

} // namespace postavo::design
