#pragma once
// TSingleRecordPrint: the current record as a two-column list of labels and values, with its
// memo below, and the field choice of the window "Print Current Record".

#include "reportrecord.h"

#include <QDate>
#include <QString>
#include <array>

namespace postavo::printing {
class TPrintCanvas;
}

namespace postavo::reports {

// The fields that can be chosen, in print order (down the left pair of the table, then the
// right pair); Memo last.
enum class SingleField {
    Prefix, Last, First, Middle, Title, Organization, Address1, Address2, City, State, Zip,
    Country, Phone1, Phone2, Fax, EMail, Comment1, Comment2, Codes, Date, Memo,
};
inline constexpr int kSingleFieldCount = 21;

struct SingleFieldDef {
    SingleField field;
    const char* label;      // printed in bold; empty for the memo
    const char* fieldName;  // the address field (DATE shows as the main window shows it)
    const char* switchCaption;
};
// In print order.
const std::array<SingleFieldDef, kSingleFieldCount>& singleFields();
// The switches of the window in their order on screen.
const std::array<SingleField, kSingleFieldCount>& singleFieldSwitchOrder();
const SingleFieldDef& singleFieldDef(SingleField f);
// A field by its address field name or its label ("LNAME", "Last", "memo"), any letter case;
// false when there is none.
bool singleFieldByName(const QString& name, SingleField* out);

struct SingleRecordChoice {
    std::array<bool, kSingleFieldCount> on;
    SingleRecordChoice() { on.fill(true); }
    bool chosen(SingleField f) const { return on[std::size_t(f)]; }
    void set(SingleField f, bool v) { on[std::size_t(f)] = v; }
    // "All": every switch takes its state.
    void setAll(bool v) { on.fill(v); }
};

// The value a field prints for a record.
QString singleFieldValue(SingleField f, const ReportRecord& r);

class TSingleRecordPrint {
public:
    static constexpr double kMargin = 1.0;
    static constexpr double kLabelWidth = 1.25;
    static constexpr double kValueWidth = 5.25;
    static constexpr double kFontSize = 10;

    TSingleRecordPrint(ReportRecord record, SingleRecordChoice choice, QDate today = QDate::currentDate(),
                       QString dateFormat = {});

    // The whole run (PrintTheReport); `stop` ends the memo early.
    void print(printing::TPrintCanvas& c, const bool& stop);
    void printHeaderFooter(printing::TPrintCanvas& c);

private:
    void printTheMemo(printing::TPrintCanvas& c, const bool& stop);
    QString todayText() const;

    ReportRecord record_;
    SingleRecordChoice choice_;
    QDate today_;
    QString dateFormat_;
};

} // namespace postavo::reports
