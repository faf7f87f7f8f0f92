#include "papercodes.h"

#include <QSizeF>

namespace postavo::printing {

const std::vector<PaperCode>& paperCodes()
{
    static const std::vector<PaperCode> table = {
        {1, QPageSize::Letter, "Letter"},
        {2, QPageSize::Letter, "Letter Small"},
        {3, QPageSize::Tabloid, "Tabloid"},
        {4, QPageSize::Ledger, "Ledger"},
        {5, QPageSize::Legal, "Legal"},
        {6, QPageSize::Statement, "Statement"},
        {7, QPageSize::Executive, "Executive"},
        {8, QPageSize::A3, "A3"},
        {9, QPageSize::A4, "A4"},
        {10, QPageSize::A4, "A4 Small"},
        {11, QPageSize::A5, "A5"},
        {12, QPageSize::JisB4, "B4 (JIS)"},
        {13, QPageSize::JisB5, "B5 (JIS)"},
        {14, QPageSize::Folio, "Folio"},
        {15, QPageSize::Quarto, "Quarto"},
        {16, QPageSize::Imperial10x14, "10x14"},
        {17, QPageSize::Tabloid, "11x17"},
        {18, QPageSize::Note, "Note"},
        {19, QPageSize::Envelope9, "Envelope #9"},
        {20, QPageSize::Envelope10, "Envelope #10"},
        {21, QPageSize::Envelope11, "Envelope #11"},
        {22, QPageSize::Envelope12, "Envelope #12"},
        {23, QPageSize::Envelope14, "Envelope #14"},
        {24, QPageSize::AnsiC, "C size sheet"},
        {25, QPageSize::AnsiD, "D size sheet"},
        {26, QPageSize::AnsiE, "E size sheet"},
        {27, QPageSize::EnvelopeDL, "Envelope DL"},
        {28, QPageSize::EnvelopeC5, "Envelope C5"},
        {29, QPageSize::EnvelopeC3, "Envelope C3"},
        {30, QPageSize::EnvelopeC4, "Envelope C4"},
        {31, QPageSize::EnvelopeC6, "Envelope C6"},
        {32, QPageSize::EnvelopeC65, "Envelope C65"},
        {33, QPageSize::EnvelopeB4, "Envelope B4"},
        {34, QPageSize::EnvelopeB5, "Envelope B5"},
        {35, QPageSize::EnvelopeB6, "Envelope B6"},
        {36, QPageSize::EnvelopeItalian, "Envelope 110 x 230 mm"},
        {37, QPageSize::EnvelopeMonarch, "Envelope Monarch"},
        {38, QPageSize::EnvelopePersonal, "6 3/4 Envelope"},
    };
    return table;
}

std::optional<QPageSize> pageSizeForCode(int code)
{
    for (const auto& row : paperCodes())
        if (row.code == code)
            return QPageSize(row.id);
    return std::nullopt;
}

int codeForPageSize(const QPageSize& size)
{
    if (!size.isValid())
        return 0;
    for (const auto& row : paperCodes())
        if (row.id == size.id())
            return row.code; // the first row of an id is its usual code
    return 0;
}

std::optional<QPageSize> customPageSize(int widthTenthsMm, int heightTenthsMm)
{
    if (widthTenthsMm <= 0 || heightTenthsMm <= 0)
        return std::nullopt;
    // ExactMatch: a custom label sheet must not be snapped to a near standard size.
    return QPageSize(QSizeF(widthTenthsMm / 10.0, heightTenthsMm / 10.0), QPageSize::Millimeter,
                     QStringLiteral("Custom"), QPageSize::ExactMatch);
}

} // namespace postavo::printing
