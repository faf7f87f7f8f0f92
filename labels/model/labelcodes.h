#pragma once
// The fixed code tables of label stock: paper sizes, label shapes, printer types and product
// groups, with the entries the label windows show for them.

#include <QString>
#include <QStringList>

#include <vector>

namespace postavo::labels {

struct PaperSize {
    const char* code;       // stored in PAPERSIZE
    const char* entry;      // the entry of the paper list
    double widthInches;     // 0 for the "Other" entries, which leave the size as it is
    double heightInches;
    double widthMm;
    double heightMm;
    bool landscape;
    bool fillsSize() const { return widthInches > 0; }
};

// In list order: LTR, LTRL, A4, A4L, A5, USERP, USERL.
const std::vector<PaperSize>& paperSizes();
// The row of a code (exact, as stored); null when the code is unknown.
const PaperSize* paperSizeByCode(const QString& code);
int paperSizeIndex(const QString& code);  // -1 when unknown
// LTRL, A4L and USERL print landscape.
bool isLandscapeCode(const QString& code);

struct LabelShape {
    const char* code;   // stored in LBLSHAPE
    const char* entry;  // the entry of the shape list
};
// In list order: RR, SR, EL.
const std::vector<LabelShape>& labelShapes();
int labelShapeIndex(const QString& code);  // -1 when unknown

// Printer type codes in the order the template query looks for them, with the word of the
// manufacturer entry that selects each: LJ "LASERJET", IJ "INKJET", DM "DOT MATRIX",
// LP "LABELPRINTER".
struct PrinterType {
    const char* code;
    const char* entryWord;    // upper case, as searched for
    const char* displayWord;  // as shown in an entry: "Laserjet"
};
const std::vector<PrinterType>& printerTypes();
bool isPrinterCode(const QString& code);

// The product groups: the upper-case value stored in PRODTYPE and the list entry.
struct ProductType {
    const char* code;   // "ADDRESS/SHIPPING LABELS"
    const char* entry;  // "Address/Shipping Labels"
};
const std::vector<ProductType>& productTypes();
bool isProductTypeCode(const QString& code);

// The maker of a definition typed in by hand.
inline constexpr const char* kUserMaker = "USER";

} // namespace postavo::labels
