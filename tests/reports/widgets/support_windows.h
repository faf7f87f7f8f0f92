#pragma once
// What the report window tests share: a user who answers the modal windows that open (progress,
// preview, message boxes), address files of given rows or of many generated records, printers
// without a system printer.
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

class QWidget;

namespace postavo::printing {
class TPrinters;
}

namespace postavo::testing::rptw {

using Row = QMap<QString, QString>;

QString makeRecords(const QString& dir, const QString& name, const std::vector<Row>& rows);
// An address file of `n` generated records (no index tags), written straight through the engine.
QString makeManyRecords(const QString& dir, const QString& name, int n);

// The printers of a machine without a system printer: "PDF file" only, writing to `pdf`.
std::unique_ptr<printing::TPrinters> pdfPrinters(const QString& pdf);

// Watches for modal windows while a command runs and answers them: a finished progress window
// is closed with "Ok", a preview window is noted and closed, a message box is noted and answered
// with its default button (or `answer` when set).
class ModalUser {
public:
    ModalUser();
    ~ModalUser();
    QStringList progressTexts;   // the status of each progress window when it finished
    QStringList previews;        // "caption: pages"
    QStringList messages;        // "title: text"
    std::function<void(QWidget*)> onPreview;

private:
    void look();
    QTimer timer_;
};

} // namespace postavo::testing::rptw
