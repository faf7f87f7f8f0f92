#pragma once
// Multi-line objects: several lines of text in one font, each aligned within the object and
// optionally wrapped at its width. TGMultiLineLabel holds lines the user typed, TGDMultiLineLabel
// the memo of the current address record, TGDMultiLineAddressLabel the address block composed
// from the current record.

#include "addressblock.h"
#include "designobject.h"
#include "textobjects.h"

namespace postavo::design {

class TGMultiLineBaseLabel : public TGGraphicControl {
    Q_OBJECT
public:
    TGMultiLineBaseLabel();
    static const PropertyTable& multiLineProperties();

    QStringList Items;
    bool AutoSize = false;   // stored only
    int Alignment = taLeftJustify;
    LayoutFont Font;
    bool WordWrap = false;
    // Which placeholder an empty object shows: "<blank memo>" or "<blank>".
    bool memoPlaceholder = false;

    QStringList wrappedLines;
    // The lines painted and printed: the wrapped ones with WordWrap, else Items.
    const QStringList& linesInUse() const { return WordWrap ? wrappedLines : Items; }

    void setWordWrap(bool on);
    void setAlignment(int a);
    // Breaks Items to the object's width in its screen font (only with WordWrap), then repaints.
    virtual void wrapLines();
    // Rewraps without repainting when Items or the size changed since the last wrap (an object
    // just read from a layout, or lines set directly).
    void ensureWrapped();
    // Width at least the widest line in use, height one "XXX" line per line in use.
    void fitToLines();
    // The font dialog; on OK the font is taken, the data refreshed and the lines wrapped.
    void editFont();

    void applyFont(const LayoutFont& font) override;
    void boundsChanged() override;
    void updateMenuChecks() override {}
    void printObject(printing::TPrintCanvas& report, double x, double y) override;
    void paint(QPainter& painter) override;

    // The screen height of one line: the height of "XXX" in the screen font.
    int screenLineHeight() const;

protected:
    void buildMenu(MenuEntries& menu) override;

private:
    QSize wrappedFor_;          // the size the wrapped lines were made for
    float wrappedZoom_ = 1.0f;  // at this zoom
    QStringList wrappedItems_;  // and the lines they were made from
    friend class TGDMultiLineLabel;
};

class TGMultiLineLabel : public TGMultiLineBaseLabel {
    Q_OBJECT
public:
    QByteArray className() const override { return "TGMultiLineLabel"; }
    const PropertyTable& properties() const override { return multiLineProperties(); }
    // "Multi-line Text Editor".
    void editText();

protected:
    void buildMenu(MenuEntries& menu) override;
};

class TGDMultiLineLabel : public TGMultiLineBaseLabel {
    Q_OBJECT
public:
    TGDMultiLineLabel();
    QByteArray className() const override { return "TGDMultiLineLabel"; }
    const PropertyTable& properties() const override;
    QString DataFieldName, DataFieldDescript;

    void refreshData() override;
    void clearData() override { Items.clear(); wrappedLines.clear(); }
    void wrapLines() override;
    // "Memo Field": the memo fields' display labels in "Select Field".
    void editField();

protected:
    void buildMenu(MenuEntries& menu) override;
};

enum ZipOptions { zoAfterState, zoBeforeCity, zoAfterCountry, zoBeforeCountry };

class TGDMultiLineAddressLabel : public TGMultiLineBaseLabel {
    Q_OBJECT
public:
    QByteArray className() const override { return "TGDMultiLineAddressLabel"; }
    const PropertyTable& properties() const override;
    bool UseName = true, UseTitle = true, UseCompany = true, UseStreet = true, UseStreet2 = true,
         UseCityState = true, UseZip = true, UsePhone = false, UseCountry = true;
    int ZipOptions = zoAfterState;
    bool UpperCase = false;

    addressblock::Options options() const;
    void setOptions(const addressblock::Options& o);

    void refreshData() override;
    void clearData() override { Items.clear(); wrappedLines.clear(); }
    // "Address Label Layout".
    void editLayout();

protected:
    void buildMenu(MenuEntries& menu) override;
};

} // namespace postavo::design
