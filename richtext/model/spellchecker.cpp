#include "spellchecker.h"

#include "filewriting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>
#include <hunspell.hxx>

namespace postavo::richtext {

namespace {

// The program's own files are found whatever the letter case of their names.
QString findNoCase(const QString& folder, const QString& name)
{
    const QString exact = QDir(folder).filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    const QStringList entries = QDir(folder).entryList(QDir::Files);
    for (const QString& e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return QDir(folder).filePath(e);
    return {};
}

QStringList systemDictionaryFolders()
{
    return {QStringLiteral("/usr/share/hunspell"), QStringLiteral("/usr/share/myspell/dicts"),
            QStringLiteral("/usr/share/myspell")};
}

QString dictionaryName(const QString& dctPath)
{
    QFile f(dctPath);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    while (!f.atEnd()) {
        const QString line = QString::fromUtf8(f.readLine(4096)).trimmed();
        if (!line.isEmpty() && !line.startsWith(QLatin1Char('#')))
            return line;
    }
    return QStringLiteral("en_US");
}

bool hasDigit(QStringView word)
{
    for (QChar c : word)
        if (c.isDigit())
            return true;
    return false;
}

bool hasLetter(QStringView word)
{
    for (QChar c : word)
        if (c.isLetter())
            return true;
    return false;
}

} // namespace

SpellChecker::SpellChecker() = default;
SpellChecker::~SpellChecker() = default;

bool SpellChecker::locateDictionary(const QString& folder, QString* affixPath, QString* dictionaryPath,
                                    QString* error)
{
    const QString dct = findNoCase(folder, QString::fromLatin1(kDictionaryFile));
    if (dct.isEmpty()) {
        if (error)
            *error = QStringLiteral("The dictionary file %1 is not in the program folder.").arg(QLatin1String(kDictionaryFile));
        return false;
    }
    const QString name = dictionaryName(dct);
    QString dic, aff;
    if (name.contains(QLatin1Char('/')) || name.endsWith(QLatin1String(".dic"), Qt::CaseInsensitive)) {
        dic = QDir(folder).absoluteFilePath(name);
        aff = dic.left(dic.size() - 4) + QStringLiteral(".aff");
    } else {
        QStringList folders{folder};
        folders += systemDictionaryFolders();
        for (const QString& f : folders) {
            const QString d = findNoCase(f, name + QStringLiteral(".dic"));
            const QString a = findNoCase(f, name + QStringLiteral(".aff"));
            if (!d.isEmpty() && !a.isEmpty()) {
                dic = d;
                aff = a;
                break;
            }
        }
    }
    if (dic.isEmpty() || !QFileInfo::exists(dic) || !QFileInfo::exists(aff)) {
        if (error)
            *error = QStringLiteral("The dictionary \"%1\" named in %2 cannot be found.").arg(name, QLatin1String(kDictionaryFile));
        return false;
    }
    *affixPath = aff;
    *dictionaryPath = dic;
    return true;
}

bool SpellChecker::isAvailable(const QString& programFolder)
{
    QString aff, dic;
    return locateDictionary(programFolder, &aff, &dic, nullptr);
}

std::unique_ptr<SpellChecker> SpellChecker::forProgramFolder(const QString& folder, QString* error)
{
    QString aff, dic;
    if (!locateDictionary(folder, &aff, &dic, error))
        return nullptr;
    QString user = findNoCase(folder, QString::fromLatin1(kUserWordsFile));
    if (user.isEmpty())
        user = QDir(folder).filePath(QString::fromLatin1(kUserWordsFile));
    auto checker = std::make_unique<SpellChecker>();
    if (!checker->open(aff, dic, user, error))
        return nullptr;
    return checker;
}

bool SpellChecker::open(const QString& affixPath, const QString& dictionaryPath, const QString& userWordsPath,
                        QString* error)
{
    hunspell_.reset();
    if (!QFileInfo(affixPath).isReadable() || !QFileInfo(dictionaryPath).isReadable()) {
        if (error)
            *error = QStringLiteral("The dictionary %1 cannot be read.").arg(dictionaryPath);
        return false;
    }
    hunspell_ = std::make_unique<Hunspell>(QFile::encodeName(affixPath).constData(),
                                           QFile::encodeName(dictionaryPath).constData());
    encoding_ = QString::fromStdString(hunspell_->get_dict_encoding());
    userWordsPath_ = userWordsPath;
    QFile words(userWordsPath);
    if (words.open(QIODevice::ReadOnly)) {
        while (!words.atEnd()) {
            const QString w = QString::fromUtf8(words.readLine(1024)).trimmed();
            bool ok = false;
            const QByteArray bytes = encode(w, &ok);
            if (!w.isEmpty() && ok)
                hunspell_->add(bytes.toStdString());
        }
    }
    return true;
}

QByteArray SpellChecker::encode(const QString& word, bool* ok) const
{
    if (encoding_.isEmpty() || encoding_.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0) {
        *ok = true;
        return word.toUtf8();
    }
    QStringEncoder encoder(encoding_.toLatin1().constData());
    if (!encoder.isValid()) {
        *ok = true;
        return word.toUtf8();
    }
    const QByteArray bytes = encoder.encode(word);
    *ok = !encoder.hasError();
    return bytes;
}

QString SpellChecker::decode(const std::string& word) const
{
    const QByteArray bytes = QByteArray::fromStdString(word);
    if (encoding_.isEmpty() || encoding_.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0)
        return QString::fromUtf8(bytes);
    QStringDecoder decoder(encoding_.toLatin1().constData());
    return decoder.isValid() ? decoder.decode(bytes) : QString::fromUtf8(bytes);
}

bool SpellChecker::isCorrect(const QString& word) const
{
    if (!hunspell_)
        return true;
    QString w = word;
    w.replace(QChar(0x2019), QLatin1Char('\''));
    bool ok = false;
    const QByteArray bytes = encode(w, &ok);
    return ok && hunspell_->spell(bytes.toStdString());
}

QStringList SpellChecker::suggestions(const QString& word, int max) const
{
    QStringList out;
    if (!hunspell_)
        return out;
    QString w = word;
    w.replace(QChar(0x2019), QLatin1Char('\''));
    bool ok = false;
    const QByteArray bytes = encode(w, &ok);
    if (!ok)
        return out;
    for (const std::string& s : hunspell_->suggest(bytes.toStdString())) {
        if (out.size() >= max)
            break;
        out << decode(s);
    }
    return out;
}

bool SpellChecker::addWord(const QString& word, QString* error)
{
    const QString w = word.trimmed();
    if (w.isEmpty() || !hunspell_)
        return false;
    bool ok = false;
    const QByteArray bytes = encode(w, &ok);
    if (ok)
        hunspell_->add(bytes.toStdString());
    // The whole list is written anew and swapped in, so a full disk leaves the old one. A list
    // that is there but cannot be read is left alone: writing it anew would lose its words.
    QByteArray list;
    QFile old(userWordsPath_);
    if (old.exists()) {
        if (old.open(QIODevice::ReadOnly))
            list = old.readAll();
        if (!old.isOpen() || old.error() != QFileDevice::NoError) {
            if (error)
                *error = QStringLiteral("The word list %1 cannot be read: %2").arg(userWordsPath_, old.errorString());
            return false;
        }
    }
    if (!list.isEmpty() && !list.endsWith('\n'))
        list += '\n';
    list += w.toUtf8() + '\n';
    QString reason;
    if (!replaceFileWith(userWordsPath_, list, &reason)) {
        if (error)
            *error = QStringLiteral("The word list %1 cannot be written: %2").arg(userWordsPath_, reason);
        return false;
    }
    return true;
}

Misspelling findMisspelling(const QTextDocument& document, int from, const SpellChecker& checker)
{
    QTextBlock block = document.findBlock(std::max(0, from));
    int offset = std::max(0, from - block.position());
    for (; block.isValid(); block = block.next(), offset = 0) {
        const QString text = block.text();
        // Bracketed spans: merge tokens are never words to check.
        QList<QPair<int, int>> tokens;
        for (int open = text.indexOf(QLatin1Char('[')); open >= 0; open = text.indexOf(QLatin1Char('['), open + 1)) {
            const int close = text.indexOf(QLatin1Char(']'), open + 1);
            if (close < 0)
                break;
            tokens.append({open, close});
            open = close;
        }
        QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
        int start = 0;
        while (start < text.size()) {
            finder.setPosition(start);
            const int end = finder.toNextBoundary();
            if (end <= start)
                break;
            const QStringView word = QStringView(text).mid(start, end - start);
            const bool inToken = std::any_of(tokens.begin(), tokens.end(), [&](const QPair<int, int>& t) {
                return start > t.first && start < t.second;
            });
            if (end > offset && start >= offset && !inToken && hasLetter(word) && !hasDigit(word)
                && !checker.isCorrect(word.toString())) {
                Misspelling m;
                m.start = block.position() + start;
                m.length = end - start;
                m.word = word.toString();
                return m;
            }
            start = end;
        }
    }
    return {};
}

SpellCheckRun::SpellCheckRun(QTextDocument* document, SpellChecker* checker)
    : document_(document), checker_(checker)
{
}

bool SpellCheckRun::next()
{
    current_ = findMisspelling(*document_, position_, *checker_);
    return current_.isValid();
}

QStringList SpellCheckRun::suggestions() const
{
    return current_.isValid() ? checker_->suggestions(current_.word) : QStringList();
}

void SpellCheckRun::replace(const QString& text)
{
    if (!current_.isValid())
        return;
    QTextCursor c(document_);
    c.setPosition(current_.start + 1);
    const QTextCharFormat format = c.charFormat();
    c.setPosition(current_.start);
    c.setPosition(current_.start + current_.length, QTextCursor::KeepAnchor);
    c.insertText(text, format);
    position_ = current_.start + int(text.size());
    current_ = {};
}

void SpellCheckRun::skip()
{
    if (current_.isValid())
        position_ = current_.start + current_.length;
    current_ = {};
}

bool SpellCheckRun::addWord(QString* error)
{
    if (!current_.isValid())
        return false;
    const bool ok = checker_->addWord(current_.word, error);
    skip();
    return ok;
}

} // namespace postavo::richtext
