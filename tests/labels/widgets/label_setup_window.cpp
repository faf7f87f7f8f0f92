// The "Print Labels" window driven headless: the record choice and the presort flag it clears,
// a preview that goes through the position picker and the progress window and leaves the address
// table's filter, order and record as they were, Clone and Delete from the catalogue, and the
// position picker (presort hides the count; no position chosen is refused).
#include "../model/support_runs.h"
#include "devices.h"
#include "labelprintdialogs.h"
#include "labelsetupwindow.h"
#include "previewwindow.h"
#include "progresswindow.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

using namespace postavo;
using namespace postavo::labels;
using namespace postavo::labels::test;

namespace {

class LabelWindow : public LabelRunFixture {
protected:
    void open(bool filterInForce)
    {
        auto printers = std::make_unique<printing::TPrinters>(QStringList(), QString());
        printers->setPdfFileName(dir.path("labels.pdf"));
        window = std::make_unique<TLabelSetupScreen>(table, *catalogue, filterInForce, nullptr, &ui, nullptr,
                                                     std::move(printers), folder);
        window->runDialog = [this](QDialog& d) { return drive(d); };
        window->show();
        QCoreApplication::processEvents();
    }

    // The user's part in the windows a run opens.
    int drive(QDialog& d)
    {
        if (auto* picker = qobject_cast<TSelectSpecificLabels*>(&d)) {
            pickerCopiesShown = !picker->copiesBox()->isHidden();
            if (pickerCopies > 0)
                picker->copiesBox()->setValue(pickerCopies);
            picker->accept();
            return picker->result();
        }
        if (auto* progress = qobject_cast<printing::TPrintProgressForm*>(&d)) {
            progress->show();
            for (int i = 0; i < 20000 && progress->isVisible() && progress->button()->text() != "Ok"; ++i)
                QCoreApplication::processEvents();
            progressStatus = progress->statusLabel()->text();
            if (progress->isVisible())
                progress->button()->click();
            return progress->result();
        }
        if (auto* preview = qobject_cast<printing::TPreviewForm*>(&d)) {
            previewPages = preview->pageCount();
            previewCaption = preview->windowTitle();
            return QDialog::Accepted;
        }
        return d.exec();
    }

    std::unique_ptr<TLabelSetupScreen> window;
    int pickerCopies = 0;
    bool pickerCopiesShown = false;
    QString progressStatus, previewCaption;
    int previewPages = 0;
};

TEST_F(LabelWindow, recordChoiceClearsAndDisablesThePresort)
{
    makeFolder(avery5160(), namedRecords(4));
    open(false);
    EXPECT_FALSE(window->matchingFilter()->isEnabled());
    EXPECT_TRUE(window->allRecords()->isChecked());
    EXPECT_EQ(window->grid()->rowCount(), 1);
    EXPECT_EQ(window->detail("# Across")->text(), "3");
    EXPECT_EQ(window->detail("Sheet Name")->text(), avery5160().tplDescrip);

    window->presortBox()->click();
    EXPECT_TRUE(window->setup().presort());
    window->preview();
    EXPECT_TRUE(window->setup().presortDone());
    EXPECT_FALSE(pickerCopiesShown);  // presorted: one of each
    EXPECT_EQ(previewPages, 1);
    EXPECT_EQ(previewCaption.left(7), "Preview");  // the viewer shows page and zoom in its caption

    window->startFromCurrent()->click();
    EXPECT_FALSE(window->setup().presortDone());
    window->currentOnly()->click();
    EXPECT_FALSE(window->presortBox()->isEnabled());
    EXPECT_FALSE(window->presortBox()->isChecked());
    EXPECT_FALSE(window->setup().presort());
    window->allRecords()->click();
    EXPECT_TRUE(window->presortBox()->isEnabled());
}

TEST_F(LabelWindow, aRunLeavesTheTablesFilterOrderAndRecordAsTheyWere)
{
    makeFolder(avery5160(), namedRecords(40));
    ASSERT_TRUE(table.setFilter(QStringLiteral("RECNO()>1")));
    ASSERT_TRUE(table.setOrder(QStringLiteral("LNAME")));
    ASSERT_TRUE(table.goTo(7));
    open(true);
    EXPECT_TRUE(window->matchingFilter()->isChecked());
    pickerCopies = 2;
    window->preview();
    EXPECT_TRUE(pickerCopiesShown);
    EXPECT_EQ(previewPages, 3);  // 39 records twice on sheets of 30
    EXPECT_EQ(table.filter(), QStringLiteral("RECNO()>1"));
    EXPECT_EQ(table.order(), QStringLiteral("LNAME"));
    EXPECT_EQ(table.recNo(), 7u);

    // Printed to the PDF printer: the file is there and the table is as it was.
    window->print();
    EXPECT_TRUE(progressStatus.contains("Label Print Completed!")) << progressStatus.toStdString();
    EXPECT_TRUE(QFile::exists(dir.path("labels.pdf")));
    EXPECT_EQ(table.recNo(), 7u);
    EXPECT_EQ(table.filter(), QStringLiteral("RECNO()>1"));
}

TEST_F(LabelWindow, cloneAndDeleteAskFirst)
{
    makeFolder(avery5160(), namedRecords(1));
    open(false);
    ui.answer = false;
    window->button("Clone")->click();
    EXPECT_EQ(ui.messages.value(0), "Clone \"Test labels\"?");
    EXPECT_EQ(window->grid()->rowCount(), 1);
    ui.answer = true;
    window->button("Clone")->click();
    ASSERT_EQ(window->grid()->rowCount(), 2);
    EXPECT_EQ(window->grid()->item(window->grid()->currentRow(), 0)->text(), "Clone of :Test labels");
    window->button("Delete")->click();
    EXPECT_EQ(ui.messages.last(), "Delete \"Clone of :Test labels\"?");
    EXPECT_EQ(window->grid()->rowCount(), 1);
    window->button("Delete")->click();
    EXPECT_EQ(window->grid()->rowCount(), 0);
    // Without a layout there is nothing to print or change.
    EXPECT_FALSE(window->button("Print")->isEnabled());
    EXPECT_FALSE(window->button("Modify")->isEnabled());
    EXPECT_TRUE(window->button("New")->isEnabled());
}

TEST(PositionPicker, clicksToggleAndNoPositionIsRefused)
{
    printing::TPrinters printers{QStringList({"Office"}), QStringLiteral("Office")};
    PositionSelection positions;
    TSelectSpecificLabels picker(avery5160(), positions, printers, false, nullptr);
    picker.show();
    EXPECT_EQ(picker.windowTitle(), "Labels Print");
    const double s = picker.view()->scale();
    picker.view()->toggleAt(pickerPositionRect(avery5160(), 0, 1, s).center());
    EXPECT_FALSE(picker.positions().isSelected(1));
    EXPECT_TRUE(picker.positions().isSelected(0));
    picker.printerList()->setCurrentIndex(1);
    EXPECT_TRUE(printers.isPdfPrinter());

    picker.findChild<QPushButton*>("None")->click();
    QString told;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->text();
            box->accept();
        }
    });
    user.start(10);
    picker.accept();
    user.stop();
    EXPECT_EQ(told, "You must select at least one card to print");
    EXPECT_FALSE(picker.result() == QDialog::Accepted);
    picker.findChild<QPushButton*>("All")->click();
    picker.copiesBox()->setValue(3);
    picker.accept();
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(picker.copies(), 3);
    EXPECT_EQ(picker.positions().countOn(avery5160()), 30);

    TSelectSpecificLabels presorted(avery5160(), positions, printers, true, nullptr);
    EXPECT_TRUE(presorted.copiesBox()->isHidden());
}

} // namespace
