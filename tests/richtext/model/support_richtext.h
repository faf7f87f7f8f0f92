#pragma once
// Helpers shared by the rich-text tests.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>
#include <sys/resource.h>

// Readable QStrings in test failures.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace postavo::testing {

// A fresh, empty folder for one test.
QString scratchDir(const QString& name);
QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
// A file of tests/richtext/data.
QString dataPath(const QString& name);
// Files may grow to `bytes` at most while it lives, as on a disk that is nearly full: a write
// past it fails instead of raising a signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old_{};
    void (*previousHandler_)(int) = nullptr;
};

// Runs a program to its end (two minutes at most); its output and error text merged.
QString runTool(const QString& program, const QStringList& args, int* exitCode);

// LibreOffice's converter, run with a private profile so that parallel runs do not collide.
// Empty when it is not installed.
QString sofficePath();
// Converts `input` into `outDir` with a --convert-to filter; the output's path, or empty with
// the converter's output in `log`.
QString sofficeConvert(const QString& input, const QString& filter, const QString& outDir, QString* log,
                       const QStringList& extra = {});

// Pages of a PDF (pdfinfo) and its text with word boxes (pdftotext -bbox).
int pdfPageCount(const QString& pdf);
struct PdfWord {
    int page = 0;
    double xMin = 0, yMin = 0, xMax = 0, yMax = 0;  // points from the page's top-left corner
    QString text;
};
QList<PdfWord> pdfWords(const QString& pdf);

} // namespace postavo::testing

class QTextDocument;

namespace postavo::testing {

// Every property the RTF reader and writer keep, as text: one line per paragraph, run, table
// and picture, so that two documents compare as strings with a readable difference.
QString describeDocument(const QTextDocument& document);

} // namespace postavo::testing
