#include "rawrecords.h"

#include "cp1252.h"
#include "recordengine.h"

namespace postavo {

RawField rawField(const engine::Table& table, std::string_view name)
{
    const int i = table.fieldIndex(name);
    if (i < 0)
        return {};
    const engine::DbfField& f = table.fields()[std::size_t(i)];
    return {f.offset, std::uint16_t(f.length)};
}

std::string_view trimmedBytes(const unsigned char* record, RawField f)
{
    std::string_view v = paddedBytes(record, f);
    while (!v.empty() && (v.back() == ' ' || v.back() == '\0'))
        v.remove_suffix(1);
    return v;
}

bool rawLogical(const unsigned char* record, RawField f)
{
    if (!f.valid())
        return false;
    const char c = char(record[f.offset]);
    return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

std::string upperBytes(std::string_view text)
{
    std::string out(text);
    for (char& c : out)
        c = char(engine::upperChar(static_cast<unsigned char>(c)));
    return out;
}

bool fitsCp1252(const QString& text)
{
    return fromCp1252(toCp1252(text)) == text;
}

bool scanVisibleRecords(engine::Table& table,
                        const std::function<void(std::uint32_t, const unsigned char*)>& visit,
                        const PassStep& step, const std::function<quint64()>& found)
{
    const int order = table.order();
    table.setOrder(0);
    const quint64 total = table.recCount();
    bool stopped = false;
    quint64 seen = 0;
    for (table.goTop(); !table.eof(); table.skip(1)) {
        visit(table.recNo(), table.recordData());
        if (step && stepDue(++seen) && !step({table.recNo(), total, found ? found() : 0})) {
            stopped = true;
            break;
        }
    }
    const std::uint32_t here = table.eof() ? 0 : table.recNo();
    table.setOrder(order);
    if (here)
        table.go(here);
    if (step && !stopped)
        step({total, total, found ? found() : 0});
    return !stopped;
}

} // namespace postavo
