#pragma once
// A program folder with one label layout and an address file, and a run of the label loop onto a
// recording device: what the label tests print and read back.
#include "addressdata.h"
#include "addressfile.h"
#include "composedtextobjects.h"
#include "devices.h"
#include "labellayoutcatalogue.h"
#include "labelsetup.h"
#include "printcanvas.h"
#include "support_labels.h"

#include <gtest/gtest.h>
#include <vector>

namespace postavo::labels::test {

// The display label of an address field (data objects find their field by it).
inline QString fieldLabel(AddressTable& table, const QString& name)
{
    for (const auto& f : table.fields())
        if (f.name == name)
            return f.label;
    return {};
}

// The questions and messages of a run, answered from a script and kept.
struct ScriptedUi : LabelRunUi {
    QStringList messages;
    bool answer = true;
    int presorts = 0;
    bool cancelPresort = false;
    void showInformation(const QString& text) override { messages << text; }
    bool askYesNo(const QString& text, const QString&) override
    {
        messages << text;
        return answer;
    }
    BulkMailPresort::Result runPresort(BulkMailPresort& presort, const QString& path, QString* error) override
    {
        ++presorts;
        if (cancelPresort)
            presort.keepGoing = [] { return false; };
        return presort.run(path, error);
    }
};

// One text drawn on a page.
struct PrintedText {
    int page;
    QPointF origin;
    QString text;
};

inline std::vector<PrintedText> printedTexts(const printing::RecordingDevice& device)
{
    std::vector<PrintedText> out;
    for (int p = 0; p < device.pageCount(); ++p)
        for (const printing::CanvasOp& op : device.page(p))
            if (const auto* t = std::get_if<printing::TextOp>(&op))
                out.push_back({p, t->origin, t->text});
    return out;
}

// A folder holding sysdata/LABEL.DBF with the layout "Test labels" (the record's last name as a
// data field and, when asked, a counter below it) and an address file ADDR.DBF.
class LabelRunFixture : public ::testing::Test {
protected:
    void makeFolder(const LabelSheetDefinition& sheet, const std::vector<QMap<QString, QString>>& records,
                    bool counter = false, int repeatEach = 1, const QString& sub = QStringLiteral("prog"))
    {
        setup.reset();
        catalogue.reset();
        table.close();
        folder = dir.path(sub) + "/";
        QDir().mkpath(folder + "sysdata");
        dataPath = folder + "ADDR.DBF";
        ASSERT_TRUE(postavo::testing::makeAddressRecords(dataPath, records));
        ASSERT_TRUE(table.open(dataPath));
        table.setExtraFields(true);
        catalogue = std::make_unique<LabelLayoutCatalogue>(folder + "sysdata/");
        QString error;
        ASSERT_TRUE(catalogue->open(&error)) << error.toStdString();
        LabelSurface surface;
        auto* name = new design::TGPDLabel;
        surface.placeObject(name, QRect(10, 5, 150, 18));
        name->DataFieldName = QStringLiteral("LNAME");
        name->DataFieldDescript = fieldLabel(table, QStringLiteral("LNAME"));
        if (counter) {
            auto* c = new design::TGCounterLabel;
            surface.placeObject(c, QRect(10, 30, 80, 18));
            c->TextBefore = QStringLiteral("#");
            c->RepeatEach = repeatEach;
            c->setStartingNumber(1);
        }
        layout = catalogue->newLayout(sheet);
        layout.description = QStringLiteral("Test labels");
        ASSERT_TRUE(catalogue->save(layout, surface, &error)) << error.toStdString();
        setup = std::make_unique<LabelSetup>(table, *catalogue, ui, folder);
    }

    // Prepares and runs one job onto a recording device; false when the run stopped before
    // printing.
    bool runToDevice(printing::RecordingDevice& device)
    {
        auto run = setup->prepareRun(layout, nullptr);
        if (!run)
            return false;
        printing::TPrintCanvas canvas;
        canvas.setDevice(&device);
        const bool stop = false;
        run->printer().afterLabel = nullptr;
        const bool ok = canvas.execute(nullptr, [&](printing::TPrintCanvas& c) { run->printer().printLabels(c, stop); });
        labels = run->printer().labelsPrinted();
        headings = run->printer().headingsPrinted();
        return ok;
    }

    // The texts of the records' names (every text that is not a counter or heading).
    static std::vector<PrintedText> names(const printing::RecordingDevice& device)
    {
        std::vector<PrintedText> out;
        for (const PrintedText& t : printedTexts(device))
            if (!t.text.startsWith(QLatin1Char('#')) && !t.text.startsWith(QLatin1String("**")))
                out.push_back(t);
        return out;
    }

    ScratchDir dir;
    QString folder, dataPath;
    AddressTable table;
    std::unique_ptr<LabelLayoutCatalogue> catalogue;
    LabelLayoutRow layout;
    ScriptedUi ui;
    std::unique_ptr<LabelSetup> setup;
    int labels = 0, headings = 0;
};

inline std::vector<QMap<QString, QString>> namedRecords(int n, const QString& zip = QStringLiteral("12345"))
{
    std::vector<QMap<QString, QString>> out;
    for (int i = 1; i <= n; ++i)
        out.push_back({{QStringLiteral("LNAME"), QStringLiteral("Rec%1").arg(i, 3, 10, QLatin1Char('0'))},
                       {QStringLiteral("ZIP"), zip}});
    return out;
}

} // namespace postavo::labels::test
