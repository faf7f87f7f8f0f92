// The platform's printer dialogs over the printer list.
#include "printerdialogs.h"
#include "printers.h"
#include "testsupport.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QTimer>
#include <gtest/gtest.h>

using namespace postavo::printing;
using postavo::testing::scratchDir;

TEST(Printers, PrintDialogOfThePdfPrinterGivesCopiesAndTheFile)
{
    const QString dir = scratchDir("print-dialog");
    TPrinters p(QStringList{}, QString());
    p.setPdfFileName(dir + "/chosen.pdf");
    // Accept the dialog as a user pressing Print would.
    QTimer::singleShot(0, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            if (auto* d = qobject_cast<QDialog*>(w))
                d->accept();
    });
    const std::optional<int> copies = printDialog(p, nullptr);
    ASSERT_TRUE(copies.has_value());
    EXPECT_EQ(*copies, 1);
    EXPECT_EQ(QFileInfo(p.pdfFileName()).fileName(), "chosen.pdf");
}
