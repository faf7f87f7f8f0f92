#include "labelcodes.h"

namespace postavo::labels {

const std::vector<PaperSize>& paperSizes()
{
    // The millimetre figures are the inch figures times 25.4, so switching units is exact.
    static const std::vector<PaperSize> t = {
        {"LTR", "Letter (8.5 x 11\")", 8.5, 11, 215.9, 279.4, false},
        {"LTRL", "Letter Landscape (11 x 8.5\")", 11, 8.5, 279.4, 215.9, true},
        {"A4", "A4 (210 x 297mm)", 8.27, 11.69, 210.058, 296.926, false},
        {"A4L", "A4 Landscape ( 297 x 210mm)", 11.69, 8.27, 296.926, 210.058, true},
        {"A5", "A5 (148 x 210mm)", 5.82, 8.27, 147.828, 210.058, false},
        {"USERP", "Other Portrait (User Defined)", 0, 0, 0, 0, false},
        {"USERL", "Other Landscape (User Defined)", 0, 0, 0, 0, true},
    };
    return t;
}

const PaperSize* paperSizeByCode(const QString& code)
{
    const int i = paperSizeIndex(code);
    return i < 0 ? nullptr : &paperSizes()[size_t(i)];
}

int paperSizeIndex(const QString& code)
{
    const auto& t = paperSizes();
    for (size_t i = 0; i < t.size(); ++i)
        if (code == QLatin1String(t[i].code))
            return int(i);
    return -1;
}

bool isLandscapeCode(const QString& code)
{
    const PaperSize* p = paperSizeByCode(code);
    return p && p->landscape;
}

const std::vector<LabelShape>& labelShapes()
{
    static const std::vector<LabelShape> t = {
        {"RR", "Rectangular with Rounded Edges"},
        {"SR", "Rectangular"},
        {"EL", "Round"},
    };
    return t;
}

int labelShapeIndex(const QString& code)
{
    const auto& t = labelShapes();
    for (size_t i = 0; i < t.size(); ++i)
        if (code == QLatin1String(t[i].code))
            return int(i);
    return -1;
}

const std::vector<PrinterType>& printerTypes()
{
    static const std::vector<PrinterType> t = {
        {"LJ", "LASERJET", "Laserjet"},
        {"IJ", "INKJET", "Inkjet"},
        {"DM", "DOT MATRIX", "Dot Matrix"},
        {"LP", "LABELPRINTER", "LabelPrinter"},
    };
    return t;
}

bool isPrinterCode(const QString& code)
{
    for (const PrinterType& p : printerTypes())
        if (code == QLatin1String(p.code))
            return true;
    return false;
}

const std::vector<ProductType>& productTypes()
{
    static const std::vector<ProductType> t = {
        {"ADDRESS/SHIPPING LABELS", "Address/Shipping Labels"},
        {"CARD PRODUCTS", "Card Products"},
        {"DISKETTE LABELS", "Diskette Labels"},
        {"FILE FOLDER LABELS", "File Folder Labels"},
        {"INDEX PRODUCTS", "Index Products"},
        {"MISCELLANEOUS", "Miscellaneous"},
    };
    return t;
}

bool isProductTypeCode(const QString& code)
{
    for (const ProductType& p : productTypes())
        if (code.compare(QLatin1String(p.code), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

} // namespace postavo::labels
