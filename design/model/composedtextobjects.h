#pragma once
// The single-line text objects that compose their text: data field, counter, symbol, date and
// time, page number.

#include "textobjects.h"

namespace postavo::design {

// The value of one field of the current address record, found by its display label.
class TGPDLabel : public TGBaseLabel {
    Q_OBJECT
public:
    TGPDLabel();
    QByteArray className() const override { return "TGPDLabel"; }
    const PropertyTable& properties() const override;

    QString DataFieldName;
    QString DataFieldDescript;
    int LengthOfText = 0;

    void refreshData() override;
    void clearData() override;
    void editField();

protected:
    void buildMenu(MenuEntries& menu) override;
};

// A number that advances as labels print, with text before and after.
class TGCounterLabel : public TGBaseLabel {
    Q_OBJECT
public:
    TGCounterLabel();
    QByteArray className() const override { return "TGCounterLabel"; }
    const PropertyTable& properties() const override;

    QString TextBefore, TextAfter;
    int Startingnumber = 1;
    int RepeatEach = 1;
    int LeadingZeros = 0;

    void setStartingNumber(int n);
    int number() const { return number_; }
    QString composed() const;
    QString displayText() const override { return composed(); }
    void nextItem() override;
    void resetItem() override;
    void loaded() override;
    void editCounter();

protected:
    void buildMenu(MenuEntries& menu) override;

private:
    int number_ = 1;
    int repeat_ = 0;
};

// One character of a symbol font; its size follows the character.
class TGSymbolLabel : public TGBaseLabel {
    Q_OBJECT
public:
    TGSymbolLabel();
    QByteArray className() const override { return "TGSymbolLabel"; }
    const PropertyTable& properties() const override { return textProperties(); }
    void boundsChanged() override;
    void applyFont(const LayoutFont&) override {}
    void fitToCharacter();
    void editSymbol();

protected:
    void buildMenu(MenuEntries& menu) override;
};

enum DateFormat { dtfDateNone, dtfDateShort, dtfDateLong };
enum TimeFormat { dtfTimeNone, dtfTimeShort, dtfTimeLong };

// Today's date and/or the time of printing, in the system's forms.
class TGDateTimeLabel : public TGBaseLabel {
    Q_OBJECT
public:
    TGDateTimeLabel();
    QByteArray className() const override { return "TGDateTimeLabel"; }
    const PropertyTable& properties() const override;
    int DateFormat = dtfDateShort;
    int TimeFormat = dtfTimeNone;
    QString displayText() const override;

protected:
    void buildMenu(MenuEntries& menu) override;
};

// The page number: "##" on screen, the canvas's page on paper.
class TGPageNumberLabel : public TGBaseLabel {
    Q_OBJECT
public:
    TGPageNumberLabel();
    QByteArray className() const override { return "TGPageNumberLabel"; }
    const PropertyTable& properties() const override { return textProperties(); }
    QString displayText() const override { return printing_ ? page_ : QStringLiteral("##"); }
    void printObject(printing::TPrintCanvas& report, double x, double y) override;

private:
    bool printing_ = false;
    QString page_;
};

} // namespace postavo::design
