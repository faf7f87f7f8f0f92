#include "support_richtext.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <csignal>

namespace postavo::testing {

QString scratchDir(const QString& name)
{
    QString base = qEnvironmentVariable("POSTAVO_TEST_TMP");
    if (base.isEmpty())
        base = QDir::tempPath();
    const QString path = base + QStringLiteral("/richtext-") + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QString dataPath(const QString& name)
{
    return QStringLiteral(POSTAVO_SOURCE_DIR "/tests/richtext/data/") + name;
}

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    getrlimit(RLIMIT_FSIZE, &old_);
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previousHandler_);
}

QString runTool(const QString& program, const QStringList& args, int* exitCode)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        *exitCode = -1;
        return {};
    }
    p.waitForFinished(180000);
    *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return QString::fromLocal8Bit(p.readAll());
}

QString sofficePath()
{
    return QStandardPaths::findExecutable(QStringLiteral("soffice"));
}

QString sofficeConvert(const QString& input, const QString& filter, const QString& outDir, QString* log,
                       const QStringList& extra)
{
    // One profile per test program: a first start builds it (slowly), later ones reuse it.
    static const QString profile = scratchDir(QStringLiteral("soffice-profile-%1").arg(QCoreApplication::applicationPid()));
    QStringList args{QStringLiteral("-env:UserInstallation=file://") + profile, QStringLiteral("--headless"),
                     QStringLiteral("--norestore")};
    args += extra;
    args << QStringLiteral("--convert-to") << filter << QStringLiteral("--outdir") << outDir << input;
    int code = 0;
    const QString output = runTool(sofficePath(), args, &code);
    if (log)
        *log = output;
    const QString ext = filter.section(QLatin1Char(':'), 0, 0);
    const QString out = outDir + QLatin1Char('/') + QFileInfo(input).completeBaseName() + QLatin1Char('.') + ext;
    return code == 0 && QFile::exists(out) ? out : QString();
}

int pdfPageCount(const QString& pdf)
{
    int code = 0;
    const QString info = runTool(QStringLiteral("pdfinfo"), {pdf}, &code);
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QList<PdfWord> pdfWords(const QString& pdf)
{
    int code = 0;
    const QString html = runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")}, &code);
    QList<PdfWord> words;
    int page = 0;
    const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    for (const QString& line : html.split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1String("<page ")))
            ++page;
        const QRegularExpressionMatch m = word.match(line);
        if (!m.hasMatch())
            continue;
        PdfWord w;
        w.page = page;
        w.xMin = m.captured(1).toDouble();
        w.yMin = m.captured(2).toDouble();
        w.xMax = m.captured(3).toDouble();
        w.yMax = m.captured(4).toDouble();
        w.text = m.captured(5);
        words.append(w);
    }
    return words;
}

} // namespace postavo::testing

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
