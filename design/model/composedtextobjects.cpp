#include "composedtextobjects.h"

#include "addressfile.h"
#include "printcanvas.h"
#include "textdialogs.h"

#include <QDateTime>
#include <QLocale>

namespace postavo::design {

namespace {
QString trimRight(QString s)
{
    int n = s.size();
    while (n > 0 && s.at(n - 1) == QLatin1Char(' '))
        --n;
    s.truncate(n);
    return s;
}

// The last field of the dataset whose display label is `label` (same case), or null.
const AddressTable::Field* fieldByLabel(AddressTable* table, const QString& label)
{
    if (!table || label.isEmpty())
        return nullptr;
    const AddressTable::Field* found = nullptr;
    for (const auto& f : table->fields())
        if (f.label == label)
            found = &f;
    return found;
}
} // namespace

// ---- TGPDLabel ----

TGPDLabel::TGPDLabel() = default;

const PropertyTable& TGPDLabel::properties() const
{
    using P = Props<TGPDLabel>;
    static const PropertyTable t = [] {
        PropertyTable t = textProperties();
        t.push_back(P::text("DataFieldName", &TGPDLabel::DataFieldName));
        t.push_back(P::text("DataFieldDescript", &TGPDLabel::DataFieldDescript));
        t.push_back(P::integer("LengthOfText", &TGPDLabel::LengthOfText, std::nullopt));
        return t;
    }();
    return t;
}

void TGPDLabel::refreshData()
{
    DesignHost* h = host();
    const bool printing = h && h->isPrinting();
    AddressTable* table = h ? h->dataset() : nullptr;
    const AddressTable::Field* field = fieldByLabel(table, DataFieldDescript);
    QString text;
    if (field) {
        if ((h && h->displayDataValues()) || printing) {
            text = table->hasRecord() ? table->value(field->name).trimmed() : QString();
            if (text.isEmpty() && !printing)
                text = QStringLiteral("<blank field>");
        } else {
            text = QLatin1Char('[') + DataFieldDescript + QLatin1Char(']');
        }
    } else {
        text = printing ? QString() : QStringLiteral("<undefined field>");
    }
    Caption = trimRight(text);
    invalidate();
    if (!printing)
        repaint();
}

void TGPDLabel::clearData() { Caption.clear(); }

void TGPDLabel::editField()
{
    AddressTable* table = host() ? host()->dataset() : nullptr;
    QStringList labels;
    if (table)
        for (const auto& f : table->fields())
            if (f.type == 'C' && f.visible)
                labels << f.label;
    QString chosen = DataFieldDescript;
    if (dialogs().selectField(labels, &chosen)) {
        if (const auto* f = fieldByLabel(table, chosen)) {
            DataFieldName = f->name;
            DataFieldDescript = f->label;
        }
        notifyChanged();
    }
    if (host())
        host()->refreshObjects();
}

void TGPDLabel::buildMenu(MenuEntries& menu)
{
    TGBaseLabel::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Field"), [this] { editField(); }});
}

// ---- TGCounterLabel ----

TGCounterLabel::TGCounterLabel() { Caption = composed(); }

const PropertyTable& TGCounterLabel::properties() const
{
    using P = Props<TGCounterLabel>;
    static const PropertyTable t = [] {
        PropertyTable t = textProperties();
        t.push_back(P::text("TextBefore", &TGCounterLabel::TextBefore));
        t.push_back(P::text("TextAfter", &TGCounterLabel::TextAfter));
        t.push_back(P::integer("Startingnumber", &TGCounterLabel::Startingnumber, std::nullopt));
        t.push_back(P::integer("RepeatEach", &TGCounterLabel::RepeatEach, std::nullopt));
        t.push_back(P::integer("LeadingZeros", &TGCounterLabel::LeadingZeros, std::nullopt));
        return t;
    }();
    return t;
}

QString TGCounterLabel::composed() const
{
    QString digits = QString::number(std::abs(qint64(number_)));
    if (LeadingZeros > 0 && digits.size() < LeadingZeros)
        digits = QString(LeadingZeros - digits.size(), QLatin1Char('0')) + digits;
    if (number_ < 0)
        digits.prepend(QLatin1Char('-'));
    return TextBefore + digits + TextAfter;
}

void TGCounterLabel::setStartingNumber(int n)
{
    if (n == Startingnumber)
        return;
    Startingnumber = n;
    resetItem();
}

void TGCounterLabel::nextItem()
{
    ++repeat_;
    if (repeat_ == RepeatEach) {
        ++number_;
        repeat_ = 0;
        Caption = composed();
        invalidate();
        repaint();
    }
}

void TGCounterLabel::resetItem()
{
    number_ = Startingnumber;
    repeat_ = 0;
    Caption = composed();
    invalidate();
    repaint();
}

void TGCounterLabel::loaded()
{
    resetItem();
    TGBaseLabel::loaded();
}

void TGCounterLabel::editCounter()
{
    CounterSettings s{Startingnumber, RepeatEach, TextBefore, TextAfter, LeadingZeros};
    if (!dialogs().counterSettings(&s))
        return;
    setStartingNumber(s.startingNumber);
    RepeatEach = s.repeatEach;
    TextBefore = s.textBefore;
    TextAfter = s.textAfter;
    LeadingZeros = s.leadingZeros;
    Caption = composed();
    invalidate();
    if (Angle == 0) {
        setWidth(10);
        growToFit();
    }
    repaint();
    notifyChanged();
}

void TGCounterLabel::buildMenu(MenuEntries& menu)
{
    TGBaseLabel::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Counter Settings"), [this] { editCounter(); }});
    addRotationMenu(menu);
}

// ---- TGSymbolLabel ----

TGSymbolLabel::TGSymbolLabel()
{
    Font = LayoutFont::fromPoints(QStringLiteral("WingDings"), 24);
    Caption = QStringLiteral("[");
}

void TGSymbolLabel::fitToCharacter()
{
    const QFont font = screenFont(Font, zoom());
    const TextMetrics m(font);
    setBounds(left(), top(), int(m.width(glyphs(Caption)) * 1.1), int(m.cellHeight * 1.1));
}

void TGSymbolLabel::boundsChanged()
{
    if (!loading())
        fitToCharacter();
    TGBaseLabel::boundsChanged();
}

void TGSymbolLabel::editSymbol()
{
    LayoutFont f = Font;
    QString ch = Caption;
    if (!dialogs().symbolSelector(&f, &ch))
        return;
    Font = f;
    Caption = ch;
    invalidate();
    fitToCharacter();
    repaint();
    notifyChanged();
}

void TGSymbolLabel::buildMenu(MenuEntries& menu)
{
    TGBaseLabel::buildMenu(menu);
    removeMenuEntry(menu, QStringLiteral("Font"));
    removeMenuEntry(menu, QStringLiteral("Alignment"));
    menu.push_back({QStringLiteral("-")});
    menu.push_back({QStringLiteral("Symbol Selector"), [this] { editSymbol(); }});
}

// ---- TGDateTimeLabel ----

TGDateTimeLabel::TGDateTimeLabel() = default;

const PropertyTable& TGDateTimeLabel::properties() const
{
    using P = Props<TGDateTimeLabel>;
    static const PropertyTable t = [] {
        PropertyTable t = textProperties();
        t.push_back(P::enumeration("DateFormat", &TGDateTimeLabel::DateFormat, names::dateFormat, std::nullopt));
        t.push_back(P::enumeration("TimeFormat", &TGDateTimeLabel::TimeFormat, names::timeFormat, std::nullopt));
        return t;
    }();
    return t;
}

QString TGDateTimeLabel::displayText() const
{
    const QDateTime now = QDateTime::currentDateTime();
    const QLocale locale = QLocale::system();
    QString text;
    if (DateFormat == dtfDateShort)
        text = locale.toString(now.date(), QLocale::ShortFormat);
    else if (DateFormat == dtfDateLong)
        text = locale.toString(now.date(), QLocale::LongFormat);
    if (TimeFormat != dtfTimeNone)
        text += QLatin1Char(' ')
                + locale.toString(now.time(), TimeFormat == dtfTimeShort ? QLocale::ShortFormat : QLocale::LongFormat);
    return text;
}

void TGDateTimeLabel::buildMenu(MenuEntries& menu)
{
    TGBaseLabel::buildMenu(menu);
    menu.push_back({QStringLiteral("-")});
    MenuEntry date{QStringLiteral("Date Format")};
    const char* dates[] = {"No Date", "Windows Short Date", "Windows Long Date"};
    for (int i = 0; i < 3; ++i)
        date.sub.push_back({QString::fromLatin1(dates[i]), [this, i] {
                                DateFormat = i;
                                changed(true);
                            }});
    MenuEntry time{QStringLiteral("Time Format")};
    const char* times[] = {"No Time", "Windows Short Time", "Windows Long Time"};
    for (int i = 0; i < 3; ++i)
        time.sub.push_back({QString::fromLatin1(times[i]), [this, i] {
                                TimeFormat = i;
                                changed(true);
                            }});
    menu.push_back(date);
    menu.push_back(time);
}

// ---- TGPageNumberLabel ----

TGPageNumberLabel::TGPageNumberLabel() { Caption = QStringLiteral("##"); }

void TGPageNumberLabel::printObject(printing::TPrintCanvas& report, double x, double y)
{
    printing_ = true;
    page_ = QString::number(report.pageNumber());
    TGBaseLabel::printObject(report, x, y);
    printing_ = false;
}

} // namespace postavo::design
