// The label loop: every record lands at the position the sheet definition gives, pages break as
// the sheet fills, cleared positions are passed over on every sheet, copies run on across rows
// and pages, counters advance per label, and a presorted run prints a heading before each group.
#include "labelplacement.h"
#include "support_runs.h"

#include <cmath>

using namespace postavo;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

constexpr double kEps = 1e-3;

// A sheet with middle gaps both ways: 2 x 4 on letter.
LabelSheetDefinition gappedSheet()
{
    LabelSheetDefinition d = avery5160();
    d.tplDescrip.clear();
    d.nbrAcross = 2;
    d.nbrDown = 4;
    d.lblWidth = 3.5f;
    d.horizPitch = 3.75f;
    d.lblHeight = 2.0f;
    d.vertPitch = 2.25f;
    d.midExtraX = 0.25f;
    d.midExtraY = 0.5f;
    return d;
}

class LabelLoop : public LabelRunFixture {
protected:
    // Where each name was printed, as (page, row, column) of the sheet; the object's offset
    // within its label is taken from the first label.
    struct Slot {
        int page, row, column;
        QString text;
    };
    std::vector<Slot> placements(const printing::RecordingDevice& device, const LabelSheetDefinition& d,
                            LabelPosition first = {})
    {
        std::vector<Slot> out;
        const std::vector<PrintedText> texts = names(device);
        if (texts.empty())
            return out;
        const QPointF offset = texts.front().origin - labelOrigin(d, first.row, first.column);
        for (const PrintedText& t : texts) {
            Slot s{t.page, -1, -1, t.text};
            for (int i = 0; i < d.positionCount(); ++i) {
                const LabelPosition p = positionAt(d, i);
                const QPointF at = labelOrigin(d, p.row, p.column) + offset;
                if (std::abs(at.x() - t.origin.x()) < kEps && std::abs(at.y() - t.origin.y()) < kEps) {
                    s.row = p.row;
                    s.column = p.column;
                }
            }
            out.push_back(s);
        }
        return out;
    }
};

TEST_F(LabelLoop, everyPositionOfSeveralSheetsInOrderThenANewPage)
{
    int n = 0;
    for (const LabelSheetDefinition& d : {avery5160(), averyL7163(), gappedSheet()}) {
        SCOPED_TRACE(d.tplDescrip.toStdString() + " " + std::to_string(d.nbrAcross) + "x" + std::to_string(d.nbrDown));
        const int count = d.positionCount();
        makeFolder(d, namedRecords(count + 2), false, 1, QStringLiteral("prog%1").arg(++n));
        printing::RecordingDevice device;
        ASSERT_TRUE(runToDevice(device));
        const auto got = placements(device, d);
        ASSERT_EQ(int(got.size()), count + 2);
        EXPECT_EQ(device.pageCount(), 2);
        for (int i = 0; i < count + 2; ++i) {
            const LabelPosition want = positionAt(d, i % count);
            EXPECT_EQ(got[size_t(i)].page, i / count) << i;
            EXPECT_EQ(got[size_t(i)].row, want.row) << i;
            EXPECT_EQ(got[size_t(i)].column, want.column) << i;
            EXPECT_EQ(got[size_t(i)].text, QStringLiteral("Rec%1").arg(i + 1, 3, 10, QLatin1Char('0')));
        }
        EXPECT_EQ(labels, count + 2);
    }
}

TEST_F(LabelLoop, clearedPositionsArePassedOverOnEverySheet)
{
    const LabelSheetDefinition d = avery5160();
    makeFolder(d, namedRecords(30));
    setup->positions.set(0, false);
    setup->positions.set(1, false);
    printing::RecordingDevice device;
    ASSERT_TRUE(runToDevice(device));
    const auto got = placements(device, d, {0, 2});
    ASSERT_EQ(got.size(), 30u);
    EXPECT_EQ(got[0].row, 0);
    EXPECT_EQ(got[0].column, 2);
    EXPECT_EQ(got[1].row, 1);
    EXPECT_EQ(got[1].column, 0);
    // 28 positions per sheet: the 29th record starts page 2 again at column 2.
    EXPECT_EQ(got[28].page, 1);
    EXPECT_EQ(got[28].row, 0);
    EXPECT_EQ(got[28].column, 2);
    EXPECT_EQ(got[27].page, 0);
}

TEST_F(LabelLoop, copiesRunOnAcrossRowsAndPages)
{
    const LabelSheetDefinition d = avery5160();
    makeFolder(d, namedRecords(3));
    setup->copies = 2;
    {
        printing::RecordingDevice device;
        ASSERT_TRUE(runToDevice(device));
        const auto got = placements(device, d);
        ASSERT_EQ(got.size(), 6u);
        EXPECT_EQ(got[0].text, "Rec001");
        EXPECT_EQ(got[1].text, "Rec001");
        EXPECT_EQ(got[1].column, 1);
        EXPECT_EQ(got[2].text, "Rec002");
        EXPECT_EQ(got[2].column, 2);
        EXPECT_EQ(got[3].text, "Rec002");
        EXPECT_EQ(got[3].row, 1);
        EXPECT_EQ(got[3].column, 0);
        EXPECT_EQ(labels, 6);
    }
    // Only the last two positions of each sheet, three of each label: the second copy of a
    // record waits for the next sheet.
    setup->copies = 3;
    ASSERT_TRUE(parsePositionList(QStringLiteral("29-30"), d, &setup->positions, nullptr));
    printing::RecordingDevice device;
    ASSERT_TRUE(runToDevice(device));
    const auto got = placements(device, d, {9, 1});
    ASSERT_EQ(got.size(), 9u);
    EXPECT_EQ(device.pageCount(), 5);
    const int wantPage[] = {0, 0, 1, 1, 2, 2, 3, 3, 4};
    const int wantColumn[] = {1, 2, 1, 2, 1, 2, 1, 2, 1};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(got[size_t(i)].page, wantPage[i]) << i;
        EXPECT_EQ(got[size_t(i)].row, 9) << i;
        EXPECT_EQ(got[size_t(i)].column, wantColumn[i]) << i;
        EXPECT_EQ(got[size_t(i)].text, QStringLiteral("Rec%1").arg(i / 3 + 1, 3, 10, QLatin1Char('0'))) << i;
    }
}

TEST_F(LabelLoop, countersAdvancePerLabelWithTheirRepeat)
{
    makeFolder(avery5160(), namedRecords(3), true, 2);
    setup->copies = 2;
    printing::RecordingDevice device;
    ASSERT_TRUE(runToDevice(device));
    QStringList counters;
    for (const PrintedText& t : printedTexts(device))
        if (t.text.startsWith(QLatin1Char('#')))
            counters << t.text;
    // Six labels, each number on two of them: copies count as labels.
    EXPECT_EQ(counters, QStringList({"#1", "#1", "#2", "#2", "#3", "#3"}));
}

TEST_F(LabelLoop, presortedRunPrintsEachGroupAfterItsHeading)
{
    std::vector<QMap<QString, QString>> records;
    auto add = [&](const QString& name, const QString& zip) {
        records.push_back({{QStringLiteral("LNAME"), name}, {QStringLiteral("ZIP"), zip}});
    };
    // Record order mixes the groups; 10 pieces for 12345 make a 5-digit package.
    for (int i = 0; i < 10; ++i)
        add(QStringLiteral("Five%1").arg(i), i % 2 ? QStringLiteral("12345-6789") : QStringLiteral("12345"));
    add(QStringLiteral("Chicago"), QStringLiteral("60601"));
    add(QStringLiteral("Nowhere"), QStringLiteral("00012"));
    add(QStringLiteral("Foreign"), QStringLiteral("K1A 0B1"));
    makeFolder(avery5160(), records);
    setup->copies = 3;  // a presorted run prints each record once
    setup->setPresort(true);
    printing::RecordingDevice device;
    ASSERT_TRUE(runToDevice(device));
    QStringList order;
    for (const PrintedText& t : printedTexts(device))
        order << t.text;
    QStringList want = {"** 5-digit 12345"};
    for (int i = 0; i < 10; ++i)
        want << QStringLiteral("Five%1").arg(i);
    want << "** ADC CHICAGO IL 606" << "Chicago" << "** Unknown" << "Nowhere";
    // Within a key the records come in ZIP order; compare the names as a set there.
    ASSERT_EQ(order.size(), want.size()) << order.join(" | ").toStdString();
    QStringList fives = order.mid(1, 10);
    fives.sort();
    EXPECT_EQ(fives, want.mid(1, 10));
    EXPECT_EQ(order[0], want[0]);
    EXPECT_EQ(order.mid(11), want.mid(11));
    EXPECT_EQ(headings, 3);
    EXPECT_EQ(labels, 12);
    EXPECT_TRUE(ui.messages.contains(QLatin1String(kPresortOrder)));
    // Headings fill positions of their own: the first record is on the second position.
    const auto texts = printedTexts(device);
    EXPECT_GT(texts[1].origin.x(), texts[0].origin.x() + avery5160().horizPitch - 0.2);
}

} // namespace
