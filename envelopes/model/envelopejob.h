#pragma once
// One envelope job without its window: which records print (all, the filter's, only the current
// one, from the current one on), one envelope per record on its own page with the layout where
// the feed method puts it, records without an address left out and named, and the address
// table's record, filter and order given back afterwards whatever happened.

#include "envelopefeed.h"
#include "runposition.h"
#include "tablestatekeeper.h"

#include <QMarginsF>
#include <QString>
#include <functional>
#include <vector>

namespace postavo {
class AddressTable;
namespace design {
class DesignHost;
}
namespace printing {
class TPrintCanvas;
}
} // namespace postavo

namespace postavo::envelopes {

using RecordChoice = RunRecords;

struct EnvelopeJob {
    RecordChoice records = RecordChoice::CurrentOnly;
    bool startFromCurrent = false;
    // A condition the records must also meet (the batch tool's --filter); empty for none.
    QString extraFilter;
    FeedMethod feed;
    double envelopeWidth = 9.5, envelopeHeight = 4.125;
    // A preview also shows where the printer can print: its unprintable margins, inches.
    bool preview = false;
    QMarginsF unprintable;
};

// Whether a record has anything to send mail to: a street, city, state, zip or country.
bool hasPostalAddress(const AddressTable& table);

class EnvelopeRun {
public:
    // `surface` holds the layout's objects and reads `table`.
    EnvelopeRun(design::DesignHost& surface, AddressTable& table, EnvelopeJob job);

    // Sets the filter and goes to the first record to print. `notice` gets "Current record is
    // out of range. Starting with first record" when the current record is not among those to
    // print. False with `error` when the filter does not compile or no record is left.
    bool position(quint32 currentRecno, QString* notice, QString* error);

    // Walks the records to print from the position reached and back: how many get an envelope
    // and which are left out for having no address.
    struct Census {
        int envelopes = 0;
        std::vector<quint32> noAddress;
    };
    Census census();

    // The envelope loop, from the position reached: a new page before every envelope but the
    // first, the layout printed at the feed offsets. `stop` (and an aborted canvas) ends it after
    // the current envelope; `pending` runs after each record (the window lets events run).
    void run(printing::TPrintCanvas& canvas, const bool& stop, const std::function<void()>& pending = {});

    int printed() const { return printed_; }
    const std::vector<quint32>& skipped() const { return skipped_; }
    FeedOffsets offsets() const { return offsets_; }

private:
    bool advance();

    design::DesignHost& surface_;
    AddressTable& table_;
    EnvelopeJob job_;
    quint32 start_ = 0;
    int printed_ = 0;
    std::vector<quint32> skipped_;
    FeedOffsets offsets_;
};

// "Records 4, 17 and 33 have no address; no envelope is printed for them." (the first ten named).
QString skippedRecordsText(const std::vector<quint32>& recnos);

} // namespace postavo::envelopes
