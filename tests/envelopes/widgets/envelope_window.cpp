// "Print Envelope" driven without a screen: the layouts listed, the live picture of the current
// layout filled with the current record (and following it), New, Modify, Clone and Delete with
// their questions, and Print and Preview through the printer check onto a recorded device,
// telling which records have no address before anything prints.
#include "addressfile.h"
#include "devices.h"
#include "envelopedesignwindow.h"
#include "envelopefixtures.h"
#include "envelopepanel.h"
#include "envelopewindow.h"
#include "feeddialogs.h"
#include "multilineobjects.h"
#include "programfolder.h"
#include "testsupport.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::envelopes;
namespace ptest = postavo::testing;

namespace {

class EnvelopeWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder = ptest::makeEnvelopeFolder("window", ptest::samplePeople());
        ProgramFolder::setPath(folder.folder);
        ptest::addEnvelopeLayout(folder, "Business", 20, ptest::addBusinessEnvelope);
        ptest::addEnvelopeLayout(folder, "Announcements", 37, ptest::addMarkers);
        ASSERT_TRUE(table.open(folder.data));
        table.setFilter("!ISDEL");
        table.first(); // Ada Lovelace
        window = std::make_unique<TPVEnvelopes>(table);
        window->hooks.ask = [this](const QString& text, const QString& caption) {
            questions << caption + ": " + text;
            return answer;
        };
        window->hooks.inform = [this](const QString& text) { messages << text; };
        window->hooks.device = &device;
        window->hooks.showPreview = false;
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    QStringList listed() const
    {
        QStringList out;
        for (int r = 0; r < window->grid()->rowCount(); ++r)
            out << window->grid()->item(r, 0)->text();
        return out;
    }
    design::TGDMultiLineAddressLabel* pictureAddress() const
    {
        for (auto* o : window->livePicture()->designObjects())
            if (auto* a = qobject_cast<design::TGDMultiLineAddressLabel*>(o))
                return a;
        return nullptr;
    }

    ptest::EnvelopeFolder folder;
    AddressTable table;
    printing::RecordingDevice device{QSizeF(9.5, 4.125), 300};
    std::unique_ptr<TPVEnvelopes> window;
    QStringList questions, messages;
    bool answer = true;
};

} // namespace

TEST_F(EnvelopeWindow, LivePictureOfTheLayoutFilledWithTheCurrentRecord)
{
    EXPECT_EQ(window->windowTitle(), "Print Envelope");
    EXPECT_EQ(listed(), QStringList({"Announcements", "Business"}));
    EXPECT_EQ(window->currentLayout().description, "Announcements");
    window->grid()->setCurrentCell(1, 0);
    EXPECT_EQ(window->currentLayout().description, "Business");
    // 9.5 x 4.125 inches at 30 %.
    EXPECT_EQ(window->livePicture()->size(), QSize(274, 119));
    EXPECT_EQ(window->livePicture()->objectCount(), 4);
    design::TGDMultiLineAddressLabel* address = pictureAddress();
    ASSERT_NE(address, nullptr);
    EXPECT_TRUE(address->Items.join('|').contains("Ada Lovelace")) << address->Items.join('|').toStdString();
    EXPECT_TRUE(window->currentRecordText().startsWith("Ada | Lovelace"));
    // The picture shows the record's lines: there is ink where the address block is.
    const QImage before = window->livePicture()->grab().toImage();
    int ink = 0;
    for (int y = 55; y < 85; ++y)
        for (int x = 115; x < 225; ++x)
            ink += qGray(before.pixel(x, y)) < 128;
    EXPECT_GT(ink, 10);
    // The record navigator moves the table, and the picture follows.
    window->moveRecord(2);
    EXPECT_TRUE(window->currentRecordText().startsWith("Charles | Babbage | Difference Engines | Boston"));
    EXPECT_TRUE(pictureAddress()->Items.join('|').contains("Difference Engines"));
    EXPECT_NE(window->livePicture()->grab().toImage(), before);
}

TEST_F(EnvelopeWindow, NewModifyCloneAndDeleteWithTheirQuestions)
{
    // New: the size chooser, then the designer on a #14 surface with "<New envelope>".
    window->hooks.chooseSize = [](int) -> std::optional<int> { return 23; };
    window->hooks.design = [](TEnvelopeDesignScreen& d) {
        d.show();
        EXPECT_EQ(d.description(), "<New envelope>");
        EXPECT_EQ(d.surface()->size(), QSize(1104, 480));
        d.surface()->setPanelState(psRectangle);
        d.surface()->finishBand(QRect(20, 20, 100, 40), false);
        d.setDescription("Invitations");
        d.saveAndClose();
        return true;
    };
    window->newLayout();
    EXPECT_EQ(listed(), QStringList({"Announcements", "Business", "Invitations"}));
    EXPECT_EQ(window->currentLayout().description, "Invitations");
    EXPECT_EQ(window->currentLayout().code, 23);
    EXPECT_EQ(window->currentLayout().fileName, "BIN00003.E");
    EXPECT_TRUE(QFile::exists(folder.sysdata + "/BIN00003.E"));
    EXPECT_EQ(window->livePicture()->objectCount(), 1);

    // Modify: the designer opens on the saved objects; Cancel changes nothing.
    window->hooks.design = [](TEnvelopeDesignScreen& d) {
        EXPECT_EQ(d.description(), "Invitations");
        EXPECT_EQ(d.surface()->objectCount(), 1);
        return false;
    };
    window->modifyLayout();
    EXPECT_EQ(listed().size(), 3);

    // Clone asks "CLONE"; No leaves the list, Yes adds "Clone of Invitations" with its own file.
    answer = false;
    window->cloneLayout();
    EXPECT_EQ(questions.last(), "CLONE: Clone \"Invitations\"?");
    EXPECT_EQ(listed().size(), 3);
    answer = true;
    window->cloneLayout();
    EXPECT_EQ(listed(), QStringList({"Announcements", "Business", "Clone of Invitations", "Invitations"}));
    EXPECT_EQ(window->currentLayout().description, "Clone of Invitations");
    EXPECT_EQ(window->currentLayout().code, 23);
    EXPECT_EQ(ptest::readBytes(folder.sysdata + "/" + window->currentLayout().fileName),
              ptest::readBytes(folder.sysdata + "/BIN00003.E"));

    // Delete asks "DELETE", then the row and its file go.
    const QString file = folder.sysdata + "/" + window->currentLayout().fileName;
    window->deleteLayout();
    EXPECT_EQ(questions.last(), "DELETE: Delete \"Clone of Invitations\"?");
    EXPECT_EQ(listed(), QStringList({"Announcements", "Business", "Invitations"}));
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_TRUE(window->button("Print")->isEnabled());
}

TEST_F(EnvelopeWindow, PrintAllToldOfTheRecordWithoutAnAddressAndPreviewOne)
{
    window->grid()->setCurrentCell(1, 0); // Business, #10
    std::optional<FeedMethod> checked;
    window->hooks.prePrint = [&](TEnvelopePrePrint& check) -> std::optional<FeedMethod> {
        checked = check.feed();
        EXPECT_TRUE(check.warningText().isEmpty()) << "PDF file has the envelope's own paper";
        return check.feed();
    };
    window->recordChoice(RecordChoice::All)->click();
    EXPECT_TRUE(window->startFromCurrent()->isEnabled());
    // No to the question about record 3: nothing prints.
    answer = false;
    window->print();
    ASSERT_TRUE(checked);
    ASSERT_FALSE(questions.isEmpty());
    EXPECT_EQ(questions.last(),
              "Envelope Print: Record 3 has no address; no envelope is printed for it.\r\nPrint the other 3?");
    EXPECT_EQ(device.pageCount(), 0);
    // Yes: three envelopes, the table back where it was.
    answer = true;
    const quint32 current = table.recNo();
    window->print();
    EXPECT_EQ(window->lastPrinted(), 3);
    EXPECT_EQ(window->lastSkipped(), std::vector<quint32>{3});
    EXPECT_EQ(device.pageCount(), 3);
    EXPECT_EQ(table.recNo(), current);
    EXPECT_EQ(table.filter(), "!ISDEL");
    // The current record only, as a preview: one page with the printable area first.
    window->recordChoice(RecordChoice::CurrentOnly)->click();
    EXPECT_FALSE(window->startFromCurrent()->isEnabled());
    window->preview();
    EXPECT_EQ(window->lastPrinted(), 1);
    EXPECT_EQ(device.pageCount(), 1);
    // Only the record without an address: it says so and prints nothing.
    table.goTo(3);
    messages.clear();
    window->print();
    EXPECT_EQ(messages, QStringList({"The current record has no address: no envelope was printed."}));
}

TEST_F(EnvelopeWindow, AMissingLayoutFileStopsTheJobWithItsMessage)
{
    window->grid()->setCurrentCell(0, 0);
    QFile::remove(folder.sysdata + "/" + window->currentLayout().fileName);
    bool checked = false;
    window->hooks.prePrint = [&](TEnvelopePrePrint& c) -> std::optional<FeedMethod> {
        checked = true;
        return c.feed();
    };
    window->print();
    EXPECT_FALSE(checked);
    EXPECT_EQ(messages, QStringList({"Envelope definition file has been removed from the sysdata directory"}));
    EXPECT_EQ(device.pageCount(), 0);
}
