// The progress window: the button's roles, the final texts and the closing rule, with a run that
// draws three pages.
#include "devices.h"
#include "printers.h"
#include "progresswindow.h"
#include "testsupport.h"

#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace postavo::printing;

namespace {

struct Harness {
    RecordingDevice doc;
    int questions = 0;
    bool answer = false;
    int pressOnPage = 0; // press the button when this page starts
    std::unique_ptr<TPrintProgressForm> form;

    void open(bool preview)
    {
        PrintRun run;
        run.preview = preview;
        run.texts.cancelQuestion = "Cancel Report Printing?";
        run.texts.printCanceled = "\rReport Print Canceled!";
        run.texts.previewCanceled = "\rReport Preview Canceled!";
        run.texts.printCompleted = "\rReport Print Completed!";
        run.texts.previewReady = "\rReport Preview Ready!";
        run.askCancel = [this](QWidget*) { ++questions; return answer; };
        run.body = [this](TPrintCanvas& c, const bool& stop) {
            for (int page = 1; page <= 3; ++page) {
                if (page > 1)
                    c.newPage();
                c.setFont("Arial", 10);
                c.home();
                c.print(QStringLiteral("Page %1").arg(page));
                if (page == pressOnPage)
                    QMetaObject::invokeMethod(form->button(), "click", Qt::QueuedConnection);
                QCoreApplication::processEvents(); // as a record loop does between records
                if (stop || c.aborted())
                    return;
            }
        };
        form = std::make_unique<TPrintProgressForm>(std::move(run), nullptr);
        form->setDevice(&doc);
        form->show();
        // The run starts from the window's event loop; go round it until the run is over.
        for (int i = 0; i < 10000 && (form->button()->text() != "Ok"); ++i)
            QCoreApplication::processEvents();
        ASSERT_EQ(form->button()->text(), "Ok");
    }
};

} // namespace

TEST(ProgressWindow, CaptionsAndButtonRoles)
{
    ProgressFrame print(false, {});
    EXPECT_EQ(print.caption(), "Print Status");
    print.start();
    EXPECT_EQ(print.buttonCaption(), "Cancel");
    EXPECT_EQ(print.press(), ProgressFrame::Action::AskCancel);
    ProgressFrame preview(true, {});
    EXPECT_EQ(preview.caption(), "Preview Status");
    preview.start();
    EXPECT_EQ(preview.buttonCaption(), "Stop");
    EXPECT_EQ(preview.press(), ProgressFrame::Action::Stop);
    EXPECT_TRUE(preview.stopRequested());
    preview.finish(false);
    EXPECT_EQ(preview.buttonCaption(), "Ok");
    EXPECT_EQ(preview.press(), ProgressFrame::Action::Close);
}

TEST(ProgressWindow, StopOnPageThreeKeepsThePagesAndClosesByItself)
{
    Harness h;
    h.pressOnPage = 3;
    h.open(true);
    EXPECT_EQ(h.form->windowTitle(), "Preview Status");
    EXPECT_EQ(h.questions, 0);
    EXPECT_EQ(h.form->statusLabel()->text(), "\nPreview Stopped at page 3!");
    EXPECT_FALSE(h.form->aborted());
    EXPECT_EQ(h.doc.pageCount(), 3);
    EXPECT_FALSE(h.form->isVisible());
    EXPECT_EQ(h.form->result(), QDialog::Rejected);
}

TEST(ProgressWindow, NoToTheCancelQuestionPrintsOnAndStillClosesByItself)
{
    Harness h;
    h.pressOnPage = 2;
    h.answer = false;
    h.open(false);
    EXPECT_EQ(h.form->windowTitle(), "Print Status");
    EXPECT_EQ(h.questions, 1);
    EXPECT_EQ(h.doc.pageCount(), 3);
    EXPECT_TRUE(h.doc.finished());
    EXPECT_FALSE(h.doc.aborted());
    EXPECT_EQ(h.form->statusLabel()->text(), "\nReport Print Completed!");
    EXPECT_FALSE(h.form->isVisible());
}

TEST(ProgressWindow, YesToTheCancelQuestionAbortsThePrint)
{
    Harness h;
    h.pressOnPage = 2;
    h.answer = true;
    h.open(false);
    EXPECT_EQ(h.questions, 1);
    EXPECT_TRUE(h.form->aborted());
    EXPECT_TRUE(h.doc.aborted());
    EXPECT_EQ(h.doc.pageCount(), 2);
    EXPECT_EQ(h.form->statusLabel()->text(), "\nReport Print Canceled!");
    EXPECT_FALSE(h.form->isVisible());
}

TEST(ProgressWindow, UntouchedRunWaitsForOk)
{
    Harness h;
    h.open(true);
    EXPECT_EQ(h.doc.pageCount(), 3);
    EXPECT_EQ(h.form->statusLabel()->text(), "\nReport Preview Ready!");
    EXPECT_TRUE(h.form->isVisible());
    h.form->grab().save(postavo::testing::scratchDir("progress") + "/finished.png");
    h.form->button()->click();
    EXPECT_FALSE(h.form->isVisible());
    EXPECT_EQ(h.form->result(), QDialog::Accepted);
}

TEST(ProgressWindow, StatusShowsEachPageAsItStarts)
{
    RecordingDevice doc;
    TPrintCanvas c;
    c.setDevice(&doc);
    QStringList shown;
    c.setStatusSink([&](const QString& s) { shown << s; });
    ASSERT_TRUE(c.execute([](TPrintCanvas& c) { c.statusFormat = "Printing Page %p\r%0\r%1"; },
                          [](TPrintCanvas& c) { c.newPage(); c.newPage(); }));
    EXPECT_EQ(shown, QStringList({"Printing Page 1\r\r", "Printing Page 2\r\r", "Printing Page 3\r\r"}));
}

TEST(ProgressWindow, MissingTargetsStopWithTheirMessages)
{
    TPrintCanvas printer(CanvasKind::Printer);
    EXPECT_FALSE(printer.execute(nullptr, nullptr));
    EXPECT_EQ(printer.lastError(), "No printers are defined, aborting print job.");
    TPrintCanvas preview(CanvasKind::Preview);
    EXPECT_FALSE(preview.execute(nullptr, nullptr));
    EXPECT_EQ(preview.lastError(), "StreamMode is smUser but Stream is nil");

    RecordingDevice doc;
    printer.setDevice(&doc);
    EXPECT_TRUE(printer.execute(nullptr, [](TPrintCanvas& c) {
        EXPECT_FALSE(c.execute(nullptr, nullptr)); // one job at a time
        EXPECT_EQ(c.lastError(), "A print job is already running.");
    }));
}

TEST(ProgressWindow, APrinterThatCannotStartEndsTheRunWithNoPages)
{
    TPrinters printers(QStringList{}, QString());
    printers.setPdfFileChooser([] { return QString(); }); // the user cancels the file dialog
    PrintRun run;
    int bodies = 0;
    run.body = [&](TPrintCanvas&, const bool&) { ++bodies; };
    TPrintProgressForm form(std::move(run), &printers);
    QString message;
    QTimer user; // answers the message box, then presses "Ok"
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        } else if (form.isVisible() && form.button()->text() == "Ok") {
            form.button()->click();
        }
    });
    user.start(10);
    form.exec();
    EXPECT_EQ(message, "No PDF file was chosen, aborting print job.");
    EXPECT_EQ(bodies, 0);
    EXPECT_TRUE(form.aborted());
    EXPECT_EQ(form.statusLabel()->text(), "\nPrint Canceled!");
}
