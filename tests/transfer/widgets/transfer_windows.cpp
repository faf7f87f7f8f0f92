// The import and export windows as a user drives them: the buttons each state enables, the
// match window's menu choices, the import with its closing message, the export's target checks
// and overwrite question, and "Cancel" during a pass.
#include "addressdata.h"
#include "addressfile.h"
#include "copyoutwindow.h"
#include "importwindows.h"
#include "matchwindow.h"
#include "progresspanel.h"
#include "testsupport.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <gtest/gtest.h>

using namespace postavo;
using namespace postavo::transfer;

namespace {

// Answers every message box that opens, noting its text.
class BoxAnswers : public QObject {
public:
    QStringList texts;
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    BoxAnswers()
    {
        auto* t = new QTimer(this);
        connect(t, &QTimer::timeout, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                QAbstractButton* b = box->button(answer == QMessageBox::Ok && !box->button(QMessageBox::Ok) ? QMessageBox::No : answer);
                if (!b)
                    b = box->buttons().first();
                b->click();
            }
        });
        t->start(20);
    }
};

class TransferWindows : public ::testing::Test {
protected:
    QString dir = postavo::testing::scratchDir(QStringLiteral("transfer_windows"));
    QString address = dir + "/ADDR.DBF";
    AddressTable table;
    BoxAnswers boxes;

    void SetUp() override
    {
        ASSERT_TRUE(postavo::testing::makeAddressRecords(address, {{{"LNAME", "Existing"}}, {{"LNAME", "Other"}, {"CITY", "Rome"}}}));
        ASSERT_TRUE(table.open(address));
    }
    void shot(QWidget& w, const QString& name)
    {
        w.show();
        QApplication::processEvents();
        w.grab().save(QStringLiteral(POSTAVO_BIN_DIR "/../test-tmp/") + name + ".png");
    }
};

TEST_F(TransferWindows, AsciiImportFromChoiceToClosingMessage)
{
    postavo::testing::writeBytes(dir + "/one.txt", "just one line\r\n");
    postavo::testing::writeBytes(dir + "/in.csv", "Doe,Jane,Boston\r\nRoe,\"Rick, Jr.\",K\xC3\xB6ln\r\n");
    TAsciiImport w(table);
    EXPECT_EQ(w.windowTitle(), "ASCII File Import");
    EXPECT_FALSE(w.matchButton()->isEnabled());
    w.chooseFile(dir + "/one.txt");
    EXPECT_EQ(boxes.texts.value(0), "Unable to import from this file");
    EXPECT_FALSE(w.matchButton()->isEnabled());

    w.chooseFile(dir + "/in.csv");
    EXPECT_TRUE(w.matchButton()->isEnabled());
    EXPECT_FALSE(w.importButton()->isEnabled());
    EXPECT_TRUE(w.statusText().contains("UTF-8"));

    // The match window as the button opens it, with the sample lines.
    QTimer::singleShot(200, [this] {
        if (auto* open = qobject_cast<TFieldMatch*>(QApplication::activeModalWidget())) {
            shot(*open, "transfer-ascii-samples");
            open->reject();
        }
    });
    w.matchButton()->click();
    EXPECT_FALSE(w.importButton()->isEnabled());  // "Cancel" before any "Ok"

    FieldMatchGrid grid(importableAddressFields(&table), false);
    grid.setSources(w.scan().columnNames);
    TFieldMatch m("ASCII File Import Match Fields", grid, "in.csv", "Sample ASCII Fields", new QTableWidget(2, 3), 1024);
    // "Field 2" to "Last Name", then to "City": only City keeps it.
    m.selectRow(grid.rowOfField("LNAME"));
    m.chooseForCurrent("Field 2");
    m.selectRow(grid.rowOfField("CITY"));
    m.chooseForCurrent("Field 2");
    EXPECT_EQ(m.grid().source(grid.rowOfField("LNAME")), "");
    EXPECT_EQ(m.matchTable()->item(grid.rowOfField("CITY"), 1)->text(), "Field 2");
    m.selectRow(grid.rowOfField("LNAME"));
    m.chooseForCurrent("Field 1");
    m.selectRow(grid.rowOfField("CITY"));
    m.chooseForCurrent("Field 3");
    shot(m, "transfer-ascii-match");
    w.acceptMatch(m.grid());
    EXPECT_TRUE(w.importButton()->isEnabled());
    // A new file asks for a new match.
    w.chooseFile(dir + "/in.csv");
    EXPECT_FALSE(w.importButton()->isEnabled());
    w.acceptMatch(m.grid());
    shot(w, "transfer-ascii-import");
    w.startImport();
    EXPECT_EQ(boxes.texts.last(), "Import complete. Imported 2 records.");
    EXPECT_EQ(w.result(), QDialog::Accepted);

    AddressTable back;
    ASSERT_TRUE(back.openShared(address, true));
    ASSERT_TRUE(back.goTo(4));
    EXPECT_EQ(back.value("LNAME"), "Roe");
    EXPECT_EQ(back.value("CITY"), QString::fromUtf8("Köln"));
}

TEST_F(TransferWindows, OlderImportRefusesItselfAndForeignTables)
{
    TImportOlder w(table, OlderVersion::V2);
    EXPECT_EQ(w.windowTitle(), "Import Postavo 2.x DBF");
    EXPECT_FALSE(w.chooseFile(dir + "/addr.dbf"));
    EXPECT_EQ(boxes.texts.value(0), "Cannot import a file to itself");
    const QString other = dir + "/OTHER.DBF";
    ASSERT_TRUE(postavo::testing::makeAddressRecords(other, {{{"LNAME", "From2x"}}}));
    EXPECT_TRUE(w.chooseFile(other));
    EXPECT_TRUE(w.importButton()->isEnabled());
    TImportOlder v1(table, OlderVersion::V1);
    EXPECT_FALSE(v1.chooseFile(other));
    EXPECT_EQ(boxes.texts.value(1), other + " does not appear to be a Postavo 1.x DBF");
    shot(w, "transfer-older-import");
    w.startImport();
    EXPECT_EQ(boxes.texts.last(), "Import complete. Imported 1 records.");
}

TEST_F(TransferWindows, DbfImportPreMatchesAndImports)
{
    const QString other = dir + "/OTHER.DBF";
    ASSERT_TRUE(postavo::testing::makeAddressRecords(other, {{{"LNAME", "Src"}, {"CITY", "Oslo"}, {"EMAIL", "a@b"}}}));
    TDBFImport w(table);
    w.chooseFile(other);
    EXPECT_TRUE(w.matchButton()->isEnabled());
    EXPECT_FALSE(w.importButton()->isEnabled());
    const FieldMatchGrid g = w.currentGrid();
    EXPECT_EQ(g.source(g.rowOfField("CITY")), "CITY");
    EXPECT_EQ(g.source(g.rowOfField("EMAIL")), "EMAIL");
    w.acceptMatch(g);
    w.startImport();
    EXPECT_EQ(boxes.texts.last(), "Import complete. Imported 1 records.");
}

TEST_F(TransferWindows, CopyOutChecksTheTargetAndAsksBeforeOverwriting)
{
    table.close();
    ASSERT_TRUE(table.openShared(address, true));
    TCopyOut w(table);
    EXPECT_EQ(w.windowTitle(), "Copy Records Out");
    shot(w, "transfer-copy-out");
    EXPECT_FALSE(w.chooseTarget(dir + "/out.TXT"));
    EXPECT_EQ(boxes.texts.value(0), "Must have a .DBF extension");
    postavo::testing::writeBytes(dir + "/old.dbf", "keep me");
    boxes.answer = QMessageBox::No;
    EXPECT_FALSE(w.chooseTarget(dir + "/old.dbf"));
    EXPECT_EQ(boxes.texts.value(1), dir + "/old.dbf already exists.\nDo you want to overwrite it?");
    QFile f(dir + "/old.dbf");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), "keep me");
    boxes.answer = QMessageBox::Yes;
    w.setFormat(ExportFormat::Text);
    EXPECT_TRUE(w.chooseTarget(dir + "/out.txt"));
    EXPECT_EQ(w.copyResult().written, 2u);
    EXPECT_FALSE(w.copying());
    EXPECT_EQ(w.result(), QDialog::Accepted);
}

} // namespace
