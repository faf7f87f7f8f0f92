#pragma once
// The platform paper numbers that layouts and settings store (Letter 1, A4 9, envelopes 19-38)
// and the standard page sizes they stand for. One table, walked in both directions.

#include <QPageSize>
#include <QString>
#include <optional>
#include <vector>

namespace postavo::printing {

struct PaperCode {
    int code;
    QPageSize::PageSizeId id;
    const char* name; // how the code is known on the platform that numbered them
};

const std::vector<PaperCode>& paperCodes();
// The standard page size of a paper code; nothing for an unknown code.
std::optional<QPageSize> pageSizeForCode(int code);
// The paper code of a page size; 0 when the size has none (custom paper).
int codeForPageSize(const QPageSize& size);
// A custom paper of width x height in tenths of a millimetre; nothing when either is not positive.
std::optional<QPageSize> customPageSize(int widthTenthsMm, int heightTenthsMm);

} // namespace postavo::printing
