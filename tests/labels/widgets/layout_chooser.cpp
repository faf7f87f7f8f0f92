// The label layouts reached from the main window: New picks the stock and opens the designer on
// a new layout, Save stores it and the list shows it; Modify opens the designer on the chosen
// layout; Cancel stores nothing.
#include "../scripted_ui.h"
#include "addressdata.h"
#include "addressfile.h"
#include "labeldesignwindow.h"
#include "layoutchooserwindow.h"
#include "programfolder.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

// Once the designer is up and through its opening, runs `step` on it.
void whenDesignerOpen(std::function<void(TLabelDesignScreen*)> step, int tries = 300)
{
    QTimer::singleShot(10, [step, tries] {
        auto* w = qobject_cast<TLabelDesignScreen*>(QApplication::activeModalWidget());
        if (w && w->design().opened()) {
            step(w);
            return;
        }
        if (tries > 0)
            whenDesignerOpen(step, tries - 1);
    });
}

LabelSheetDefinition averyL7163()
{
    LabelSheetDefinition d = newLayoutDefaults();
    d.tplDescrip = "Avery L7163  Address";
    d.lblHeight = 1.5f;
    d.lblWidth = 3.9f;
    d.nbrAcross = 2;
    d.nbrDown = 7;
    d.topMarg = 0.596f;
    d.leftMarg = 0.184f;
    d.horizPitch = 4.0f;
    d.vertPitch = 1.5f;
    d.sheetWidth = 8.27f;
    d.sheetDepth = 11.69f;
    d.paperSize = "A4";
    return d;
}

} // namespace

TEST(LayoutChooser, NewPicksTheStockThenTheDesignerAndModifyReopens)
{
    const QString folder = postavo::testing::scratchDir(QStringLiteral("chooser"));
    ProgramFolder::setPath(folder);
    ASSERT_TRUE(ProgramFolder::ensureFolders());
    ASSERT_TRUE(postavo::testing::makeAddressRecords(folder + "/DATA/add0001.DBF", {{{"LNAME", "Hopper"}}}));
    AddressTable table;
    ASSERT_TRUE(table.open(folder + "/DATA/add0001.DBF"));
    table.first();
    LabelLayoutCatalogue catalogue;
    QString message;
    ASSERT_TRUE(catalogue.open(&message));

    ScriptedDialogs dialogs;
    ScriptedDesignerUi ui;
    ui.method = LabelDesignerUi::LayoutMethod::Template;
    ui.onTemplate = [](LabelSheetDefinition* d) {
        *d = averyL7163();
        return true;
    };
    TLabelLayoutChooser chooser(catalogue, &table, nullptr, &ui);
    chooser.show();
    EXPECT_EQ(chooser.list()->count(), 0);
    EXPECT_FALSE(chooser.modifyButton()->isEnabled());

    QString caption;
    int objects = -1;
    whenDesignerOpen([&](TLabelDesignScreen* w) {
        caption = w->layoutCaption();
        objects = w->surface()->objectCount();
        w->descriptionField()->selectAll();
        QTest::keyClicks(w->descriptionField(), QStringLiteral("Members A4"));
        QTest::mouseClick(w->saveButton(), Qt::LeftButton);
    });
    QTest::mouseClick(chooser.newButton(), Qt::LeftButton);
    EXPECT_EQ(caption, QStringLiteral("Avery L7163  Address"));
    EXPECT_EQ(objects, 1);  // the address block of a new layout
    ASSERT_EQ(chooser.list()->count(), 1);
    EXPECT_EQ(chooser.list()->item(0)->text(), QStringLiteral("Members A4"));
    const LabelLayoutRow stored = chooser.rows().front();
    EXPECT_EQ(stored.sheet, averyL7163());
    EXPECT_TRUE(QFile::exists(catalogue.layoutPath(stored.binary)));
    EXPECT_TRUE(ui.messages.value(0).contains(QStringLiteral("Avery L7163  Address")));

    // Modify: the designer shows the stored layout; Cancel keeps the file as it was.
    const QByteArray before = postavo::testing::readBytes(catalogue.layoutPath(stored.binary));
    QString description;
    whenDesignerOpen([&](TLabelDesignScreen* w) {
        description = w->descriptionField()->text();
        objects = w->surface()->objectCount();
        w->surface()->designObjects().front()->setLeft(40);
        QTest::mouseClick(w->cancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(chooser.modifyButton(), Qt::LeftButton);
    EXPECT_EQ(description, QStringLiteral("Members A4"));
    EXPECT_EQ(objects, 1);
    EXPECT_EQ(postavo::testing::readBytes(catalogue.layoutPath(stored.binary)), before);

    // Modify and Save: the same row and file, the change kept.
    whenDesignerOpen([&](TLabelDesignScreen* w) {
        w->surface()->designObjects().front()->setLeft(40);
        QTest::mouseClick(w->saveButton(), Qt::LeftButton);
    });
    QTest::mouseClick(chooser.modifyButton(), Qt::LeftButton);
    ASSERT_EQ(chooser.list()->count(), 1);
    EXPECT_EQ(chooser.rows().front().binary, stored.binary);
    EXPECT_NE(postavo::testing::readBytes(catalogue.layoutPath(stored.binary)), before);

    // New with the stock question cancelled starts on the usual Avery 5160.
    ui.method = LabelDesignerUi::LayoutMethod::Cancel;
    whenDesignerOpen([&](TLabelDesignScreen* w) {
        caption = w->layoutCaption();
        QTest::mouseClick(w->cancelButton(), Qt::LeftButton);
    });
    QTest::mouseClick(chooser.newButton(), Qt::LeftButton);
    EXPECT_EQ(caption, QStringLiteral("Avery 5160  Address"));
    EXPECT_EQ(chooser.list()->count(), 1);
    table.close();
}
