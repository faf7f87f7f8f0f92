#include "support_windows.h"

#include "addressdata.h"
#include "addressfields.h"
#include "engine/recordengine.h"
#include "previewwindow.h"
#include "printers.h"
#include "progresswindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace postavo::testing::rptw {

QString makeRecords(const QString& dir, const QString& name, const std::vector<Row>& rows)
{
    const QString path = dir + QLatin1Char('/') + name;
    return makeAddressRecords(path, rows) ? path : QString();
}

QString makeManyRecords(const QString& dir, const QString& name, int n)
{
    const QString path = dir + QLatin1Char('/') + name;
    std::vector<engine::FieldSpec> fields;
    for (const auto& f : addressFields())
        fields.push_back({f.name, f.type, f.type == 'L' ? 1 : f.defaultWidth, 0});
    const std::string native = QFile::encodeName(path).toStdString();
    engine::Table::create(native, fields);
    auto t = engine::Table::open(native, engine::OpenMode::Exclusive);
    for (int i = 0; i < n; ++i) {
        t->appendBlank();
        t->replace("LNAME", "Name" + std::to_string(i));
        t->replace("ZIP", std::to_string(10000 + i % 500));
        t->replaceLogical("ISDEL", false);
    }
    t->close();
    return path;
}

std::unique_ptr<printing::TPrinters> pdfPrinters(const QString& pdf)
{
    auto p = std::make_unique<printing::TPrinters>(QStringList(), QString());
    p->selectPrinter(printing::TPrinters::pdfPrinterName());
    p->setPdfFileName(pdf);
    return p;
}

ModalUser::ModalUser()
{
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, [this] { look(); });
    timer_.start();
}

ModalUser::~ModalUser() { timer_.stop(); }

void ModalUser::look()
{
    QWidget* w = QApplication::activeModalWidget();
    if (!w)
        return;
    if (auto* progress = qobject_cast<printing::TPrintProgressForm*>(w)) {
        if (progress->button()->text() == QLatin1String("Ok")) {
            progressTexts << progress->statusLabel()->text();
            progress->button()->click();
        }
        return;
    }
    if (auto* preview = qobject_cast<printing::TPreviewForm*>(w)) {
        if (onPreview)
            onPreview(preview);
        previews << QStringLiteral("%1: %2").arg(preview->windowTitle()).arg(preview->pageCount());
        preview->accept();
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(w)) {
        messages << box->windowTitle() + QStringLiteral(": ") + box->text();
        if (QAbstractButton* b = box->defaultButton())
            b->click();
        else
            box->accept();
    }
}

} // namespace postavo::testing::rptw
