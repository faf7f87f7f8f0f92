// The envelope loop on a recorded page sequence: which records print (all, the filter's, only
// the current one, from the current one on), records without an address left out and named,
// one page per envelope at the feed offsets, the preview's printable area, Stop, and the table's
// record, filter and order given back afterwards.
#include "addressfile.h"
#include "datasurface.h"
#include "devices.h"
#include "envelopefixtures.h"
#include "envelopejob.h"
#include "layoutdocument.h"
#include "printcanvas.h"

#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::envelopes;
using namespace postavo::testing;
using printing::RecordingDevice;
using printing::TPrintCanvas;

namespace {

struct Bench {
    EnvelopeFolder folder;
    AddressTable table;
    QObject owner;
    design::DataSurface surface{&owner};
    RecordingDevice device{QSizeF(11, 8.5), 300};

    explicit Bench(const char* name)
    {
        folder = makeEnvelopeFolder(name, samplePeople());
        QString error;
        EXPECT_TRUE(table.open(folder.data, &error)) << error.toStdString();
        table.setOrder("LNAME");
        table.setFilter("!ISDEL");
        design::ObjectList list(&owner);
        addMarkers(list);
        for (auto* o : list.designObjects())
            surface.insertObject(o);
        surface.setDataset(&table);
    }

    // Runs a job from the record now current; the last names printed, page by page.
    QStringList run(EnvelopeJob job, QString* notice = nullptr, int stopAfter = 0, EnvelopeRun::Census* census = nullptr)
    {
        QStringList printed;
        TableStateKeeper keeper(table, TableStateKeeper::Signals::Quiet);
        EnvelopeRun r(surface, table, job);
        QString error;
        if (!r.position(keeper.recno(), notice, &error))
            return {QStringLiteral("error: ") + error};
        if (census)
            *census = r.census();
        TPrintCanvas canvas;
        canvas.setDevice(&device);
        bool stop = false;
        canvas.execute(nullptr, [&](printing::TPrintCanvas& c) {
            r.run(c, stop, [&] {
                if (stopAfter && r.printed() >= stopAfter)
                    stop = true;
            });
        });
        for (int p = 0; p < device.pageCount(); ++p)
            for (const auto& op : device.page(p))
                if (const auto* t = std::get_if<printing::TextOp>(&op))
                    printed << t->text;
        lastSkipped = r.skipped();
        lastOffsets = r.offsets();
        return printed;
    }
    std::vector<quint32> lastSkipped;
    FeedOffsets lastOffsets;
};

EnvelopeJob monarch(RecordChoice records, bool startFromCurrent = false)
{
    EnvelopeJob j;
    j.records = records;
    j.startFromCurrent = startFromCurrent;
    j.envelopeWidth = 7.5;
    j.envelopeHeight = 3.875;
    j.feed = {feedLandscape, facingUp, positionCenter, false};
    return j;
}

} // namespace

TEST(EnvelopeJob, AllRecordsInTheTablesOrderWithoutTheOneWithoutAnAddress)
{
    Bench b("job-all");
    ASSERT_TRUE(b.table.first());
    b.table.next(); // Hopper, in last-name order: Babbage, Hopper, Lovelace, Nowhere
    const quint32 current = b.table.recNo();
    EnvelopeRun::Census census;
    const QStringList pages = b.run(monarch(RecordChoice::All), nullptr, 0, &census);
    EXPECT_EQ(pages.size(), 3);
    EXPECT_EQ(b.device.pageCount(), 3) << "one page per envelope";
    EXPECT_EQ(census.envelopes, 3);
    EXPECT_EQ(census.noAddress, std::vector<quint32>{3});
    EXPECT_EQ(b.lastSkipped, std::vector<quint32>{3});
    // The envelope sits where the feed puts it on the landscape Letter page.
    EXPECT_EQ(b.lastOffsets, (FeedOffsets{3.5, 2.3125}));
    const auto& box = std::get<printing::ShapeOp>(b.device.page(0)[0]);
    EXPECT_DOUBLE_EQ(box.rect.left(), 3.5 + kBoxLeft);
    EXPECT_DOUBLE_EQ(box.rect.top(), 2.3125 + kBoxTop);
    // Afterwards the table is where it was, with its filter and order.
    EXPECT_EQ(b.table.recNo(), current);
    EXPECT_EQ(b.table.filter(), "!ISDEL");
    EXPECT_EQ(b.table.order(), "LNAME");
    EXPECT_TRUE(b.table.notificationsEnabled());
    EXPECT_EQ(skippedRecordsText(census.noAddress), "Record 3 has no address; no envelope is printed for it.");
}

TEST(EnvelopeJob, OnlyTheCurrentRecordEvenFromTheCurrentOne)
{
    Bench b("job-current");
    ASSERT_TRUE(b.table.goTo(2));
    EXPECT_EQ(b.run(monarch(RecordChoice::CurrentOnly, true)).size(), 1);
    EXPECT_EQ(b.device.pageCount(), 1);
    EXPECT_EQ(b.table.recNo(), 2u);
    // The current record without an address: nothing prints and the census says so.
    ASSERT_TRUE(b.table.goTo(3));
    EnvelopeRun::Census census;
    b.run(monarch(RecordChoice::CurrentOnly), nullptr, 0, &census);
    EXPECT_EQ(census.envelopes, 0);
    EXPECT_EQ(census.noAddress, std::vector<quint32>{3});
}

TEST(EnvelopeJob, FromTheCurrentRecordOnOrFromTheFirstWhenItIsFilteredOut)
{
    Bench b("job-from-current");
    ASSERT_TRUE(b.table.first());
    b.table.next(); // Hopper
    QString notice;
    EXPECT_EQ(b.run(monarch(RecordChoice::All, true), &notice).size(), 2) << "Hopper and Lovelace";
    EXPECT_TRUE(notice.isEmpty());
    // A filter in force that leaves out the current record: start with the first.
    ASSERT_TRUE(b.table.setFilter("STATE = 'MA' .or. STATE = 'VA' .and. !ISDEL"));
    ASSERT_TRUE(b.table.goTo(1)); // Lovelace, IL: not matching
    const QStringList pages = b.run(monarch(RecordChoice::MatchingFilter, true), &notice);
    EXPECT_EQ(notice, "Current record is out of range. Starting with first record");
    EXPECT_EQ(pages.size(), 2) << "Babbage and Hopper";
    EXPECT_EQ(b.table.filter(), "STATE = 'MA' .or. STATE = 'VA' .and. !ISDEL");
}

TEST(EnvelopeJob, PreviewShowsThePrintableAreaAndStopEndsAfterTheCurrentEnvelope)
{
    Bench b("job-preview");
    ASSERT_TRUE(b.table.first());
    EnvelopeJob j = monarch(RecordChoice::All);
    j.preview = true;
    j.unprintable = QMarginsF(0.25, 0.2, 0.25, 0.5);
    b.run(j, nullptr, 1);
    EXPECT_EQ(b.device.pageCount(), 1) << "Stop after the first envelope";
    const auto& area = std::get<printing::ShapeOp>(b.device.page(0)[0]);
    EXPECT_EQ(area.pen.color, QColor(Qt::red));
    EXPECT_EQ(area.pen.style, printing::PenStyle::Dot);
    EXPECT_EQ(area.brush.style, printing::BrushStyle::Clear);
    EXPECT_EQ(area.rect, QRectF(QPointF(0.25, 0.2), QPointF(11 - 0.25, 8.5 - 0.5)));
}

TEST(EnvelopeJob, ABadExtraFilterIsRefusedBeforeAnythingPrints)
{
    Bench b("job-bad-filter");
    ASSERT_TRUE(b.table.first());
    EnvelopeJob j = monarch(RecordChoice::All);
    j.extraFilter = "STATE = ";
    const QStringList out = b.run(j);
    ASSERT_EQ(out.size(), 1);
    EXPECT_TRUE(out.first().startsWith("error: "));
    EXPECT_EQ(b.device.pageCount(), 0);
    EXPECT_EQ(b.table.filter(), "!ISDEL");
}
