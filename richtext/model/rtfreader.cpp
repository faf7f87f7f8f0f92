#include "rtfreader.h"

#include "codepages.h"
#include "formatproperties.h"
#include "layoutguard.h"
#include "layoutunits.h"
#include "rtfbuilder.h"
#include "rtfcontrolwords.h"
#include "rtftokenizer.h"

#include <QHash>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextOption>
#include <QUrl>
#include <algorithm>
#include <vector>

namespace postavo::richtext {

using namespace detail;

QString RtfReadReport::text() const
{
    QStringList lines;
    if (notRtf)
        lines << QStringLiteral("The text is not RTF; it was read as plain text.");
    lines << skipped;
    return lines.join(QLatin1Char('\n'));
}

bool looksLikeRtf(const QByteArray& data)
{
    qsizetype i = 0;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r' || data[i] == '\n'))
        ++i;
    return data.mid(i, 5) == "{\\rtf";
}

namespace {

enum class Dest { Body, FontTable, ColorTable, Picture, Skip };
enum class OnClose { Nothing, FinishPicture };
enum Underline { UlNone, UlSingle, UlDotted, UlDash, UlWave };

struct CharState {
    int font = -1;  // -1: the default font (\deff)
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    int underline = UlNone;
    int fg = 0;  // colour table index; 0 = automatic
    int bg = 0;
    int vertical = 0;  // 1 superscript, 2 subscript
    int caps = 0;      // 1 all capitals, 2 small capitals
    bool operator==(const CharState&) const = default;
};

struct ParaState {
    int align = 0;  // 0 left, 1 right, 2 centre, 3 justified
    int li = 0, ri = 0, fi = 0, sb = 0, sa = 0, sl = 0;
    bool slmult = false;
    QList<QTextOption::Tab> tabs;
    QTextOption::TabType tabType = QTextOption::LeftTab;
    bool inTable = false;
    int nesting = 1;
    bool pageBreakBefore = false;
};

struct Group {
    Dest dest = Dest::Body;
    OnClose onClose = OnClose::Nothing;
    CharState ch;
    ParaState para;
    int uc = 1;
};

struct FontDef {
    QString name;
    int charset = 0;
    int codePage = 0;  // \cpg; 0: from the character set
    int pitch = 0;
    QString familyClass;
};

struct PictureState {
    pictures::Kind kind = pictures::Kind::None;
    bool unsupported = false;
    int picw = 0, pich = 0, goalw = 0, goalh = 0, scalex = 100, scaley = 100, mappingMode = 0;
    QByteArray data;
    int nibble = -1;
    bool tooLarge = false;
};

constexpr qsizetype kMaxPictureBytes = 64 * 1024 * 1024;
constexpr int kMaxFonts = 65536;
constexpr int kMaxColors = 65536;
constexpr int kMaxFontNameBytes = 256;

class Reader {
public:
    Reader(const QByteArray& data, QTextDocument* document, const RtfReadOptions& options)
        : tokens_(data), document_(document), builder_(document), options_(options),
          decoder_(options.pictureDecoder ? *options.pictureDecoder : pictures::pictureDecoder())
    {
        stack_.reserve(64);
        stack_.push_back(Group{});
    }

    void run();
    PageLayout page() const;
    RtfReadReport report() const;

private:
    Group& top() { return stack_.back(); }
    void note(const QString& message);

    // groups
    void openGroup();
    void closeGroup();

    // tokens
    void controlWord(const RtfTokenizer::Token& t);
    void fontTableWord(W w, int n, bool has);
    void colorTableWord(W w, int n);
    void pictureWord(W w, int n, bool has);
    bool documentWord(W w, int n, bool has);
    bool characterWord(W w, int n, bool has);
    bool paragraphWord(W w, int n, bool has);
    bool tableWord(W w, int n);
    void controlSymbol(char symbol);
    void bodyBytes(QByteArrayView bytes);
    void flushBytes();
    void fontTableText(QByteArrayView bytes);
    void flushFontName();
    void colorTableText(QByteArrayView bytes);
    void pictureText(QByteArrayView bytes);
    void binary(int length);

    // text
    void appendText(const QString& text);
    void appendChar(char16_t c) { appendText(QString(QChar(c))); }
    void flushRun();
    bool paragraphHasContent() const { return !current_.runs.isEmpty() || !runText_.isEmpty(); }
    void endParagraph();
    void endCell();
    void endRow();
    void flushTable();
    void pageBreak();
    bool takePageBreak();
    void finish();
    void applyDefaults();

    // formats
    QTextCharFormat charFormat(const CharState& s);
    QTextBlockFormat blockFormat(const ParaState& p) const;
    const FontDef* fontFor(int number) const;
    int codePageFor(const CharState& s) const;
    QColor color(int index) const;

    // tables and pictures
    void finishPicture();
    void commitFont();
    // The cell border the border words apply to; null for borders that are not kept.
    CellBorder* currentBorder();

    RtfTokenizer tokens_;
    QTextDocument* document_;
    DocumentBuilder builder_;
    RtfReadOptions options_;
    const pictures::PictureDecoder& decoder_;

    std::vector<Group> stack_;
    int excessDepth_ = 0;
    bool ended_ = false;
    bool starPending_ = false;
    int ucSkip_ = 0;

    // document
    int codePage_ = kDefaultCodePage;
    int deff_ = 0;
    QHash<int, FontDef> fonts_;
    QVector<QColor> colors_;
    int docPage_[6] = {12240, 15840, 1800, 1800, 1440, 1440};  // w, h, l, r, t, b
    int sectPage_[6] = {-1, -1, -1, -1, -1, -1};
    bool firstSection_ = true;
    bool sectionBreakPending_ = false;
    int defaultTab_ = 720;
    bool hasListTable_ = false;
    bool defaultsApplied_ = false;

    // font and colour tables
    bool fontActive_ = false;
    int fontNumber_ = 0;
    FontDef font_;
    QString fontText_;     // the name so far
    QByteArray fontName_;  // bytes of the name not yet decoded
    int red_ = -1, green_ = -1, blue_ = -1;

    // text
    CodePageDecoder codePages_;
    QByteArray bytes_;
    int bytesCodePage_ = kDefaultCodePage;
    Paragraph current_;
    QString runText_;
    CharState runState_;
    bool haveFormat_ = false;
    CharState formatState_;
    QTextCharFormat format_;
    bool pendingPageBreak_ = false;

    // tables
    RowDef rowDef_;
    CellDef cellDef_;
    int borderSide_ = -1;  // 0 top, 1 left, 2 bottom, 3 right; -1: a border we do not keep
    QVector<Paragraph> cellParagraphs_;
    QVector<QVector<Paragraph>> rowCells_;
    QVector<TableRow> rows_;

    PictureState picture_;

    // report
    QStringList notes_;
    QHash<QString, int> noteCounts_;
    bool damaged_ = false;
};

void Reader::note(const QString& message)
{
    if (noteCounts_[message]++ == 0)
        notes_ << message;
}

RtfReadReport Reader::report() const
{
    RtfReadReport r;
    for (const QString& n : notes_) {
        const int count = noteCounts_.value(n);
        r.skipped << (count > 1 ? QStringLiteral("%1 (%2 times)").arg(n).arg(count) : n);
    }
    r.damaged = damaged_;
    return r;
}

PageLayout Reader::page() const
{
    int v[6];
    for (int i = 0; i < 6; ++i)
        v[i] = sectPage_[i] >= 0 ? sectPage_[i] : docPage_[i];
    PageLayout p;
    p.paperWidth = v[0];
    p.paperHeight = v[1];
    p.marginLeft = v[2];
    p.marginRight = v[3];
    p.marginTop = v[4];
    p.marginBottom = v[5];
    return p.isUsable() ? p : p.normalized();
}

void Reader::run()
{
    for (;;) {
        const RtfTokenizer::Token t = tokens_.next();
        if (t.type != RtfTokenizer::Type::ControlWord && t.type != RtfTokenizer::Type::ControlSymbol)
            starPending_ = false;
        switch (t.type) {
        case RtfTokenizer::Type::End:
            finish();
            return;
        case RtfTokenizer::Type::GroupOpen:
            flushBytes();
            ucSkip_ = 0;
            openGroup();
            break;
        case RtfTokenizer::Type::GroupClose:
            flushBytes();
            ucSkip_ = 0;
            closeGroup();
            if (ended_) {
                finish();
                return;
            }
            break;
        case RtfTokenizer::Type::ControlWord:
            controlWord(t);
            break;
        case RtfTokenizer::Type::ControlSymbol:
            controlSymbol(t.symbol);
            break;
        case RtfTokenizer::Type::HexByte:
            if (ucSkip_ > 0) {
                --ucSkip_;
                break;
            }
            switch (top().dest) {
            case Dest::Body:
                bodyBytes(QByteArrayView(reinterpret_cast<const char*>(&t.byte), 1));
                break;
            case Dest::FontTable:
                if (fontName_.size() < kMaxFontNameBytes)
                    fontName_.append(char(t.byte));
                break;
            default:
                break;
            }
            break;
        case RtfTokenizer::Type::Text:
            switch (top().dest) {
            case Dest::Body: {
                QByteArrayView bytes = t.text;
                if (ucSkip_ > 0) {
                    const qsizetype skip = std::min<qsizetype>(ucSkip_, bytes.size());
                    ucSkip_ -= int(skip);
                    bytes = bytes.sliced(skip);
                }
                if (!bytes.isEmpty())
                    bodyBytes(bytes);
                break;
            }
            case Dest::FontTable: {
                QByteArrayView bytes = t.text;
                if (ucSkip_ > 0) {
                    const qsizetype skip = std::min<qsizetype>(ucSkip_, bytes.size());
                    ucSkip_ -= int(skip);
                    bytes = bytes.sliced(skip);
                }
                fontTableText(bytes);
                break;
            }
            case Dest::ColorTable:
                colorTableText(t.text);
                break;
            case Dest::Picture:
                pictureText(t.text);
                break;
            case Dest::Skip:
                break;
            }
            break;
        }
    }
}

void Reader::openGroup()
{
    if (int(stack_.size()) > options_.maxGroupDepth) {
        if (excessDepth_++ == 0)
            note(QStringLiteral("Groups nested more than %1 deep were read with the formatting of that depth.")
                     .arg(options_.maxGroupDepth));
        return;
    }
    Group g = top();
    g.onClose = OnClose::Nothing;
    stack_.push_back(std::move(g));
}

void Reader::closeGroup()
{
    if (excessDepth_ > 0) {
        --excessDepth_;
        return;
    }
    if (stack_.size() <= 1) {
        damaged_ = true;
        note(QStringLiteral("Closing braces without an opening one were ignored."));
        return;
    }
    const OnClose action = top().onClose;
    const Dest dest = top().dest;
    stack_.pop_back();
    if (action == OnClose::FinishPicture)
        finishPicture();
    else if (dest == Dest::FontTable)
        commitFont();
    if (stack_.size() == 1)
        ended_ = true;  // the document's own group is closed; anything after it is not read
}

void Reader::finish()
{
    flushBytes();
    if (stack_.size() > 1 || excessDepth_ > 0) {
        damaged_ = true;
        note(QStringLiteral("The document ends before all its groups are closed."));
        // Close what is open so that a picture or font entry being read is kept.
        excessDepth_ = 0;
        while (stack_.size() > 1)
            closeGroup();
    }
    if (paragraphHasContent()) {
        if (top().para.inTable)
            endCell();
        else
            endParagraph();
    }
    if (!cellParagraphs_.isEmpty())
        rowCells_.append(std::exchange(cellParagraphs_, {}));
    if (!rowCells_.isEmpty())
        endRow();
    flushTable();
    if (pendingPageBreak_) {
        // A page break at the very end still makes a page.
        Paragraph empty;
        empty.block = blockFormat(ParaState());
        empty.mark = charFormat(top().ch);
        builder_.addParagraph(empty, takePageBreak());
    }
    applyDefaults();
}

void Reader::applyDefaults()
{
    // Set once, before the text goes in.
    if (defaultsApplied_)
        return;
    defaultsApplied_ = true;
    QTextOption option = document_->defaultTextOption();
    option.setTabStopDistance(twipsToScaled(std::clamp(defaultTab_, 15, 31680)));
    document_->setDefaultTextOption(option);
    if (const FontDef* f = fontFor(-1); f && !f->name.isEmpty()) {
        QFont font(f->name);
        font.setPointSizeF(12);
        document_->setDefaultFont(font);
    }
}

// ---- text ---------------------------------------------------------------------------------

int Reader::codePageFor(const CharState& s) const
{
    const FontDef* f = fontFor(s.font);
    if (!f)
        return codePage_;
    if (f->codePage > 0)
        return f->codePage;
    return codePageForCharset(f->charset, codePage_);
}

void Reader::bodyBytes(QByteArrayView bytes)
{
    const int cp = codePageFor(top().ch);
    if (!bytes_.isEmpty() && cp != bytesCodePage_)
        flushBytes();
    bytesCodePage_ = cp;
    bytes_.append(bytes);
}

void Reader::flushBytes()
{
    if (bytes_.isEmpty())
        return;
    const QByteArray b = std::exchange(bytes_, {});
    appendText(codePages_.decode(b, bytesCodePage_));
}

void Reader::appendText(const QString& text)
{
    if (text.isEmpty() || top().dest != Dest::Body)
        return;
    const CharState& s = top().ch;
    if (s.hidden) {
        note(QStringLiteral("Hidden text was left out."));
        return;
    }
    if (!runText_.isEmpty() && !(s == runState_))
        flushRun();
    runState_ = s;
    runText_ += text;
}

void Reader::flushRun()
{
    if (runText_.isEmpty())
        return;
    current_.runs.append(Run{std::exchange(runText_, {}), charFormat(runState_)});
}

bool Reader::takePageBreak()
{
    sectionBreakPending_ = false;
    return std::exchange(pendingPageBreak_, false);
}

void Reader::endParagraph()
{
    flushBytes();
    flushRun();
    const ParaState& p = top().para;
    current_.block = blockFormat(p);
    current_.mark = charFormat(top().ch);
    if (p.inTable) {
        cellParagraphs_.append(std::exchange(current_, {}));
        return;
    }
    flushTable();
    applyDefaults();
    builder_.addParagraph(current_, takePageBreak() || p.pageBreakBefore);
    current_ = {};
}

void Reader::endCell()
{
    flushBytes();
    flushRun();
    current_.block = blockFormat(top().para);
    current_.mark = charFormat(top().ch);
    cellParagraphs_.append(std::exchange(current_, {}));
    rowCells_.append(std::exchange(cellParagraphs_, {}));
}

void Reader::endRow()
{
    if (paragraphHasContent() || !cellParagraphs_.isEmpty())
        endCell();
    TableRow row;
    row.def = rowDef_;
    row.cells = std::exchange(rowCells_, {});
    if (row.def.cells.size() > kMaxTableColumns || row.cells.size() > kMaxTableColumns)
        note(QStringLiteral("Table rows with more than %1 cells had their last cells joined.").arg(kMaxTableColumns));
    rows_.append(std::move(row));
}

void Reader::flushTable()
{
    if (!rowCells_.isEmpty())
        endRow();
    if (rows_.isEmpty())
        return;
    applyDefaults();
    builder_.addTable(rows_, takePageBreak());
    rows_.clear();
}

void Reader::pageBreak()
{
    // Between rows (after \row, before the next \pard) a break is not inside the table.
    const bool midRow = !rowCells_.isEmpty() || !cellParagraphs_.isEmpty() || paragraphHasContent();
    if (top().para.inTable && midRow) {
        note(QStringLiteral("Page breaks inside tables were left out."));
        return;
    }
    if (paragraphHasContent())
        endParagraph();
    // A table that ended before the break is on the page before it.
    flushTable();
    pendingPageBreak_ = true;
}

// ---- formats ------------------------------------------------------------------------------

const FontDef* Reader::fontFor(int number) const
{
    auto it = fonts_.constFind(number < 0 ? deff_ : number);
    if (it == fonts_.constEnd() && number >= 0)
        it = fonts_.constFind(deff_);
    return it == fonts_.constEnd() ? nullptr : &it.value();
}

QColor Reader::color(int index) const
{
    return index > 0 && index < colors_.size() ? colors_[index] : QColor();
}

QTextCharFormat Reader::charFormat(const CharState& s)
{
    if (haveFormat_ && s == formatState_)
        return format_;
    QTextCharFormat f;
    if (const FontDef* font = fontFor(s.font); font && !font->name.isEmpty()) {
        f.setFontFamilies(QStringList{font->name});
        if (font->charset != 0)
            f.setProperty(props::FontCharset, font->charset);
        if (!font->familyClass.isEmpty()) {
            f.setProperty(props::FontFamilyClass, font->familyClass);
            const QString& c = font->familyClass;
            f.setFontStyleHint(c == u"roman"    ? QFont::Serif
                               : c == u"swiss"  ? QFont::SansSerif
                               : c == u"modern" ? QFont::TypeWriter
                               : c == u"script" ? QFont::Cursive
                               : c == u"decor"  ? QFont::Decorative
                                                : QFont::AnyStyle);
        }
        if (font->pitch != 0)
            f.setProperty(props::FontPitch, font->pitch);
    }
    f.setFontPointSize(s.halfPoints / 2.0);
    f.setFontWeight(s.bold ? QFont::Bold : QFont::Normal);
    f.setFontItalic(s.italic);
    switch (s.underline) {
    case UlSingle: f.setUnderlineStyle(QTextCharFormat::SingleUnderline); break;
    case UlDotted: f.setUnderlineStyle(QTextCharFormat::DotLine); break;
    case UlDash: f.setUnderlineStyle(QTextCharFormat::DashUnderline); break;
    case UlWave: f.setUnderlineStyle(QTextCharFormat::WaveUnderline); break;
    default: f.setUnderlineStyle(QTextCharFormat::NoUnderline); break;
    }
    f.setFontStrikeOut(s.strike);
    if (const QColor c = color(s.fg); c.isValid())
        f.setForeground(c);
    if (const QColor c = color(s.bg); c.isValid())
        f.setBackground(c);
    if (s.vertical == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (s.vertical == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (s.caps == 1)
        f.setFontCapitalization(QFont::AllUppercase);
    else if (s.caps == 2)
        f.setFontCapitalization(QFont::SmallCaps);
    formatState_ = s;
    format_ = f;
    haveFormat_ = true;
    return f;
}

QTextBlockFormat Reader::blockFormat(const ParaState& p) const
{
    QTextBlockFormat f;
    f.setAlignment(p.align == 1   ? Qt::AlignRight
                   : p.align == 2 ? Qt::AlignHCenter
                   : p.align == 3 ? Qt::AlignJustify
                                  : Qt::AlignLeft);
    f.setLeftMargin(p.li);
    f.setRightMargin(p.ri);
    f.setTextIndent(p.fi);
    f.setTopMargin(twipsToScaled(p.sb));
    f.setBottomMargin(twipsToScaled(p.sa));
    if (p.slmult && p.sl != 0)
        f.setLineHeight(std::abs(p.sl) * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
    else if (p.sl > 0)
        f.setLineHeight(twipsToScaled(p.sl), QTextBlockFormat::MinimumHeight);
    else if (p.sl < 0)
        f.setLineHeight(twipsToScaled(-p.sl), QTextBlockFormat::FixedHeight);
    if (!p.tabs.isEmpty())
        f.setTabPositions(p.tabs);
    return f;
}

// ---- tables of the header -----------------------------------------------------------------

void Reader::commitFont()
{
    if (!fontActive_)
        return;
    fontActive_ = false;
    flushFontName();
    QString name;
    for (const QChar c : std::exchange(fontText_, {}))
        if (c.unicode() >= 0x20 && c != QChar::ObjectReplacementCharacter && c != QChar::LineSeparator
            && c != QChar::ParagraphSeparator)
            name += c;
    font_.name = name.trimmed();
    if (fonts_.size() >= kMaxFonts && !fonts_.contains(fontNumber_)) {
        note(QStringLiteral("Fonts beyond the first %1 of the font table were left out.").arg(kMaxFonts));
        return;
    }
    fonts_.insert(fontNumber_, font_);
}

void Reader::flushFontName()
{
    if (fontName_.isEmpty())
        return;
    int cp = font_.codePage > 0 ? font_.codePage : codePageForCharset(font_.charset, codePage_);
    if (cp == kSymbolCodePage)
        cp = codePage_;  // a symbol font's name is ordinary text
    if (fontText_.size() < kMaxFontNameBytes)
        fontText_ += codePages_.decode(fontName_, cp);
    fontName_.clear();
}

void Reader::fontTableText(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c == ';') {
            commitFont();
        } else {
            if (!fontActive_) {
                // An entry without \f: number it after the last one.
                fontActive_ = true;
                font_ = FontDef();
                fontName_.clear();
                fontText_.clear();
            }
            if (fontName_.size() < kMaxFontNameBytes)
                fontName_.append(c);
        }
    }
}

void Reader::colorTableText(QByteArrayView bytes)
{
    for (char c : bytes) {
        if (c != ';')
            continue;
        if (colors_.size() < kMaxColors)
            colors_.append(red_ < 0 && green_ < 0 && blue_ < 0
                               ? QColor()
                               : QColor(std::max(red_, 0), std::max(green_, 0), std::max(blue_, 0)));
        red_ = green_ = blue_ = -1;
    }
}

// ---- pictures -----------------------------------------------------------------------------

void Reader::pictureText(QByteArrayView bytes)
{
    if (picture_.tooLarge)
        return;
    for (char c : bytes) {
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'a' && c <= 'f')
            v = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            continue;
        if (picture_.nibble < 0) {
            picture_.nibble = v;
        } else {
            picture_.data.append(char(picture_.nibble * 16 + v));
            picture_.nibble = -1;
            if (picture_.data.size() >= kMaxPictureBytes) {
                picture_.tooLarge = true;
                return;
            }
        }
    }
}

void Reader::binary(int length)
{
    bool truncated = false;
    const QByteArrayView bytes = tokens_.takeBinary(length, &truncated);
    if (truncated) {
        damaged_ = true;
        note(QStringLiteral("Binary data runs past the end of the document."));
    }
    if (top().dest == Dest::Picture && !picture_.tooLarge) {
        if (picture_.data.size() + bytes.size() > kMaxPictureBytes)
            picture_.tooLarge = true;
        else
            picture_.data.append(bytes);
    }
}

void Reader::finishPicture()
{
    PictureState p = std::exchange(picture_, {});
    if (top().dest != Dest::Body)
        return;
    if (p.tooLarge) {
        note(QStringLiteral("Pictures larger than 64 MB were left out."));
        return;
    }
    if (p.unsupported || p.kind == pictures::Kind::None) {
        note(QStringLiteral("Pictures of a kind that cannot be shown were left out."));
        return;
    }
    if (p.data.isEmpty()) {
        note(QStringLiteral("Pictures without data were left out."));
        return;
    }
    const bool metafile = p.kind == pictures::Kind::WindowsMetafile || p.kind == pictures::Kind::EnhancedMetafile;
    // Shown size in twips: the goal size, else the native size (HIMETRIC for metafiles,
    // pixels at 96 dpi for bitmaps), scaled.
    auto native = [&](int v) { return metafile ? int(qint64(v) * 1440 / 2540) : int(qint64(v) * 15); };
    qint64 w = p.goalw > 0 ? p.goalw : native(p.picw);
    qint64 h = p.goalh > 0 ? p.goalh : native(p.pich);
    QImage image;
    QString error;
    if (w > 0 && h > 0 && metafile) {
        const QSizeF shown = pictures::fittedSize(double(w), double(h));
        image = decoder_.decode(p.kind, p.data, pictures::renderPixels(int(shown.width()), int(shown.height())), &error);
    } else {
        image = decoder_.decode(p.kind, p.data, QSize(), &error);
    }
    if ((w <= 0 || h <= 0) && !image.isNull()) {
        const double dpmX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() : 3780;
        const double dpmY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() : 3780;
        w = qRound64(image.width() * 1440.0 / (dpmX * 0.0254));
        h = qRound64(image.height() * 1440.0 / (dpmY * 0.0254));
    }
    if (w <= 0 || h <= 0)
        w = h = 1440;
    w = std::clamp<qint64>(w, 1, 1 << 24) * std::clamp(p.scalex, 1, 1000) / 100;
    h = std::clamp<qint64>(h, 1, 1 << 24) * std::clamp(p.scaley, 1, 1000) / 100;
    // No larger than word processors show pictures (Qt's table layout also stalls on pictures
    // far taller than that in narrow columns).
    const QSizeF shown = pictures::fittedSize(double(w), double(h));
    w = qRound64(shown.width());
    h = qRound64(shown.height());
    if (image.isNull())
        note(QStringLiteral("Pictures that cannot be shown were kept as empty frames."));

    QTextImageFormat f;
    f.setWidth(twipsToScaled(double(w)));
    f.setHeight(twipsToScaled(double(h)));
    f.setProperty(props::PictureData, p.data);
    f.setProperty(props::PictureKind, int(p.kind));
    if (p.picw > 0)
        f.setProperty(props::PictureNativeWidth, p.picw);
    if (p.pich > 0)
        f.setProperty(props::PictureNativeHeight, p.pich);
    if (p.kind == pictures::Kind::WindowsMetafile)
        f.setProperty(props::PictureMappingMode, p.mappingMode);
    f = pictures::addPicture(document_, f, image);

    flushBytes();
    flushRun();
    current_.runs.append(Run{QString(QChar::ObjectReplacementCharacter), f});
}

// ---- control words ------------------------------------------------------------------------

CellBorder* Reader::currentBorder()
{
    switch (borderSide_) {
    case 0: return &cellDef_.top;
    case 1: return &cellDef_.left;
    case 2: return &cellDef_.bottom;
    case 3: return &cellDef_.right_;
    default: return nullptr;
    }
}

void Reader::controlSymbol(char symbol)
{
    if (symbol == '*') {
        starPending_ = true;
        return;
    }
    starPending_ = false;
    if (ucSkip_ > 0) {
        --ucSkip_;
        return;
    }
    if (top().dest != Dest::Body)
        return;
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        bodyBytes(QByteArrayView(&symbol, 1));
        break;
    case '~':
        flushBytes();
        appendChar(0x00A0);
        break;
    case '-':
        flushBytes();
        appendChar(0x00AD);
        break;
    case '_':
        flushBytes();
        appendChar(0x2011);
        break;
    default:
        break;  // \| \: and others carry no text of their own
    }
}

void Reader::controlWord(const RtfTokenizer::Token& t)
{
    const W w = lookupControlWord(t.word);
    const int n = t.parameter;
    const bool has = t.hasParameter;
    Group& g = top();

    if (starPending_) {
        starPending_ = false;
        // \* marks a destination that may be skipped; the ones read are the pictures Word
        // stores for its own readers.
        if (w != W::Shppict) {
            g.dest = Dest::Skip;
            return;
        }
    }
    if (w == W::Bin) {
        binary(has ? n : 0);
        if (ucSkip_ > 0)
            --ucSkip_;
        return;
    }
    if (g.dest == Dest::Skip)
        return;
    if (w != W::U && ucSkip_ > 0) {
        --ucSkip_;
        return;
    }
    flushBytes();

    switch (g.dest) {
    case Dest::FontTable: fontTableWord(w, n, has); return;
    case Dest::ColorTable: colorTableWord(w, n); return;
    case Dest::Picture: pictureWord(w, n, has); return;
    default: break;
    }
    documentWord(w, n, has) || characterWord(w, n, has) || paragraphWord(w, n, has) || tableWord(w, n);
}

// Inside the font table.
void Reader::fontTableWord(W w, int n, bool has)
{
    Group& g = top();
    switch (w) {
    case W::F:
        commitFont();
        fontActive_ = true;
        fontNumber_ = n;
        font_ = FontDef();
        fontName_.clear();
        fontText_.clear();
        break;
    case W::U:
        if (has && fontActive_) {
            flushFontName();
            if (fontText_.size() < kMaxFontNameBytes)
                fontText_ += QChar(char16_t((n < 0 ? n + 65536 : n) & 0xFFFF));
            ucSkip_ = g.uc;
        }
        break;
    case W::Uc: g.uc = std::clamp(n, 0, 16); break;
    case W::Fcharset: font_.charset = n; break;
    case W::Cpg: font_.codePage = n; break;
    case W::Fprq: font_.pitch = n; break;
    case W::Fnil: font_.familyClass = QStringLiteral("nil"); break;
    case W::Froman: font_.familyClass = QStringLiteral("roman"); break;
    case W::Fswiss: font_.familyClass = QStringLiteral("swiss"); break;
    case W::Fmodern: font_.familyClass = QStringLiteral("modern"); break;
    case W::Fscript: font_.familyClass = QStringLiteral("script"); break;
    case W::Fdecor: font_.familyClass = QStringLiteral("decor"); break;
    case W::Ftech: font_.familyClass = QStringLiteral("tech"); break;
    case W::Fbidi: font_.familyClass = QStringLiteral("bidi"); break;
    case W::SkipDest: g.dest = Dest::Skip; break;
    default: break;
    }
}

// Inside the colour table.
void Reader::colorTableWord(W w, int n)
{
    switch (w) {
    case W::Red: red_ = std::clamp(n, 0, 255); break;
    case W::Green: green_ = std::clamp(n, 0, 255); break;
    case W::Blue: blue_ = std::clamp(n, 0, 255); break;
    default: break;
    }
}

// Inside a picture.
void Reader::pictureWord(W w, int n, bool has)
{
    Group& g = top();
    PictureState& p = picture_;
    switch (w) {
    case W::Picw: p.picw = std::max(0, n); break;
    case W::Pich: p.pich = std::max(0, n); break;
    case W::Picwgoal: p.goalw = std::max(0, n); break;
    case W::Pichgoal: p.goalh = std::max(0, n); break;
    case W::Picscalex: p.scalex = has ? n : 100; break;
    case W::Picscaley: p.scaley = has ? n : 100; break;
    case W::Pngblip: p.kind = pictures::Kind::Png; break;
    case W::Jpegblip: p.kind = pictures::Kind::Jpeg; break;
    case W::Wmetafile:
        p.kind = pictures::Kind::WindowsMetafile;
        p.mappingMode = has ? n : 8;
        break;
    case W::Emfblip: p.kind = pictures::Kind::EnhancedMetafile; break;
    case W::Dibitmap: p.kind = pictures::Kind::Dib; break;
    case W::OtherPicture: p.unsupported = true; break;
    case W::SkipDest: g.dest = Dest::Skip; break;
    default: break;
    }
}

// The document's settings and its destinations.
bool Reader::documentWord(W w, int n, bool has)
{
    Group& g = top();
    ParaState& para = g.para;
    switch (w) {
    case W::Rtf: break;
    case W::Ansi: codePage_ = kDefaultCodePage; break;
    case W::Mac: codePage_ = 10000; break;
    case W::Pc: codePage_ = 437; break;
    case W::Pca: codePage_ = 850; break;
    case W::Ansicpg: if (has && n > 0) codePage_ = n; break;
    case W::Deff: deff_ = n; break;
    case W::Uc: g.uc = std::clamp(n, 0, 16); break;
    case W::U: {
        if (!has)
            break;
        const int v = n < 0 ? n + 65536 : n;
        appendChar(char16_t(v & 0xFFFF));
        ucSkip_ = g.uc;
        break;
    }
    case W::Deftab: if (n > 0) defaultTab_ = n; break;
    case W::Paperw: docPage_[0] = n; break;
    case W::Paperh: docPage_[1] = n; break;
    case W::Margl: docPage_[2] = n; break;
    case W::Margr: docPage_[3] = n; break;
    case W::Margt: docPage_[4] = n; break;
    case W::Margb: docPage_[5] = n; break;
    case W::Pgwsxn: if (firstSection_) sectPage_[0] = n; break;
    case W::Pghsxn: if (firstSection_) sectPage_[1] = n; break;
    case W::Marglsxn: if (firstSection_) sectPage_[2] = n; break;
    case W::Margrsxn: if (firstSection_) sectPage_[3] = n; break;
    case W::Margtsxn: if (firstSection_) sectPage_[4] = n; break;
    case W::Margbsxn: if (firstSection_) sectPage_[5] = n; break;
    case W::Sect:
        // A new section starts a new page unless the next section says otherwise.
        if (para.inTable)
            break;
        if (paragraphHasContent())
            endParagraph();
        flushTable();
        firstSection_ = false;
        sectionBreakPending_ = true;
        pendingPageBreak_ = true;
        break;
    case W::Sectd:
        if (sectionBreakPending_)
            pendingPageBreak_ = true;
        break;
    case W::Sbknone:
    case W::Sbkcol:
        if (sectionBreakPending_)
            pendingPageBreak_ = false;
        break;
    case W::Sbkpage:
    case W::Sbkeven:
    case W::Sbkodd:
        if (sectionBreakPending_)
            pendingPageBreak_ = true;
        break;    case W::Fonttbl: g.dest = Dest::FontTable; break;
    case W::Colortbl: g.dest = Dest::ColorTable; break;
    case W::Pict:
        picture_ = PictureState();
        g.dest = Dest::Picture;
        g.onClose = OnClose::FinishPicture;
        break;
    case W::Shppict:
    case W::Fldrslt:
    case W::Result:
        break;
    case W::Nonshppict: g.dest = Dest::Skip; break;
    case W::Object:
    case W::Shp:
        note(QStringLiteral("Embedded objects and drawings were left out, except for their pictures."));
        break;
    case W::Listtext: break;
    case W::Pntext:
        if (hasListTable_)
            g.dest = Dest::Skip;
        break;
    case W::Listtable:
        hasListTable_ = true;
        g.dest = Dest::Skip;
        break;
    case W::Header:
        note(QStringLiteral("Headers and footers were left out."));
        g.dest = Dest::Skip;
        break;
    case W::Footnote:
        note(QStringLiteral("Footnotes were left out."));
        g.dest = Dest::Skip;
        break;
    case W::Annotation:
        note(QStringLiteral("Comments were left out."));
        g.dest = Dest::Skip;
        break;
    case W::SkipDest: g.dest = Dest::Skip; break;
    default:
        return false;
    }
    return true;
}

// Character formatting.
bool Reader::characterWord(W w, int n, bool has)
{
    CharState& ch = top().ch;
    const bool on = !has || n != 0;
    switch (w) {
    case W::Plain: ch = CharState(); break;
    case W::F: ch.font = n; break;
    case W::Fs: if (has && n > 0) ch.halfPoints = std::clamp(n, 2, 3276); break;
    case W::B: ch.bold = on; break;
    case W::I: ch.italic = on; break;
    case W::Ul: ch.underline = on ? UlSingle : UlNone; break;
    case W::Uld: ch.underline = on ? UlDotted : UlNone; break;
    case W::Uldash: ch.underline = on ? UlDash : UlNone; break;
    case W::Ulwave: ch.underline = on ? UlWave : UlNone; break;
    case W::Ulnone: ch.underline = UlNone; break;
    case W::Strike: ch.strike = on; break;
    case W::Cf: ch.fg = std::max(0, n); break;
    case W::Cb: ch.bg = std::max(0, n); break;
    case W::Super: ch.vertical = 1; break;
    case W::Sub: ch.vertical = 2; break;
    case W::Nosupersub: ch.vertical = 0; break;
    case W::Up: ch.vertical = (!has || n != 0) ? 1 : 0; break;
    case W::Dn: ch.vertical = (!has || n != 0) ? 2 : 0; break;
    case W::Caps: ch.caps = on ? 1 : 0; break;
    case W::Scaps: ch.caps = on ? 2 : 0; break;
    case W::V: ch.hidden = on; break;
    default:
        return false;
    }
    return true;
}

// Paragraph formatting and the special characters of text.
bool Reader::paragraphWord(W w, int n, bool has)
{
    ParaState& para = top().para;
    const bool on = !has || n != 0;
    switch (w) {
    case W::Pard: para = ParaState(); break;
    case W::Ql: para.align = 0; break;
    case W::Qr: para.align = 1; break;
    case W::Qc: para.align = 2; break;
    case W::Qj: para.align = 3; break;
    case W::Li: para.li = std::clamp(n, -31680, 31680); break;
    case W::Ri: para.ri = std::clamp(n, -31680, 31680); break;
    case W::Fi: para.fi = std::clamp(n, -31680, 31680); break;
    case W::Sb: para.sb = std::clamp(n, 0, 31680); break;
    case W::Sa: para.sa = std::clamp(n, 0, 31680); break;
    case W::Sl: para.sl = std::clamp(n, -31680, 31680); break;
    case W::Slmult: para.slmult = on; break;
    case W::Tx:
        if (para.tabs.size() < 256) {
            QTextOption::Tab tab(twipsToScaled(std::clamp(n, 0, PageLayout::kMaximumPaper)), para.tabType,
                                 para.tabType == QTextOption::DelimiterTab ? QChar('.') : QChar());
            para.tabs.append(tab);
        }
        para.tabType = QTextOption::LeftTab;
        break;
    case W::Tqr: para.tabType = QTextOption::RightTab; break;
    case W::Tqc: para.tabType = QTextOption::CenterTab; break;
    case W::Tqdec: para.tabType = QTextOption::DelimiterTab; break;
    case W::Tb: para.tabType = QTextOption::LeftTab; break;
    case W::Intbl: para.inTable = true; break;
    case W::Itap:
        para.nesting = std::max(0, n);
        para.inTable = n > 0;
        if (n > 1)
            note(QStringLiteral("Tables inside tables were flattened into their cells."));
        break;
    case W::Pagebb: para.pageBreakBefore = on; break;    case W::Par: endParagraph(); break;
    case W::Line: appendChar(QChar::LineSeparator); break;
    case W::Tab: appendChar('\t'); break;
    case W::Page: pageBreak(); break;
    case W::Emdash: appendChar(0x2014); break;
    case W::Endash: appendChar(0x2013); break;
    case W::Emspace: appendChar(0x2003); break;
    case W::Enspace: appendChar(0x2002); break;
    case W::Qmspace: appendChar(0x2005); break;
    case W::Bullet: appendChar(0x2022); break;
    case W::Lquote: appendChar(0x2018); break;
    case W::Rquote: appendChar(0x2019); break;
    case W::Ldblquote: appendChar(0x201C); break;
    case W::Rdblquote: appendChar(0x201D); break;
    case W::Zwj: appendChar(0x200D); break;
    case W::Zwnj: appendChar(0x200C); break;
    case W::Ltrmark: appendChar(0x200E); break;
    case W::Rtlmark: appendChar(0x200F); break;
    default:
        return false;
    }
    return true;
}

// Table rows and cells.
bool Reader::tableWord(W w, int n)
{
    ParaState& para = top().para;
    switch (w) {
    case W::Trowd:
        rowDef_ = RowDef();
        cellDef_ = CellDef();
        borderSide_ = -1;
        break;
    case W::Cellx:
        cellDef_.right = std::clamp(n, -PageLayout::kMaximumPaper, PageLayout::kMaximumPaper);
        if (rowDef_.cells.size() < 4 * kMaxTableColumns)
            rowDef_.cells.append(cellDef_);
        cellDef_ = CellDef();
        borderSide_ = -1;
        break;
    case W::Cell:
        if (para.nesting > 1) {
            endParagraph();
            break;
        }
        para.inTable = true;
        endCell();
        break;
    case W::Nestcell:
        endParagraph();
        break;
    case W::Row:
        if (para.nesting > 1)
            break;
        endRow();
        break;
    case W::Trgaph: rowDef_.gap = std::clamp(n, 0, 1440); break;
    case W::Trleft: rowDef_.left = std::clamp(n, -31680, 31680); break;
    case W::Trql: rowDef_.align = 0; break;
    case W::Trqc: rowDef_.align = 1; break;
    case W::Trqr: rowDef_.align = 2; break;
    case W::Clbrdrt: borderSide_ = 0; cellDef_.top.present = true; break;
    case W::Clbrdrl: borderSide_ = 1; cellDef_.left.present = true; break;
    case W::Clbrdrb: borderSide_ = 2; cellDef_.bottom.present = true; break;
    case W::Clbrdrr: borderSide_ = 3; cellDef_.right_.present = true; break;
    case W::OtherBorder: borderSide_ = -1; break;
    case W::Brdrw:
        if (CellBorder* b = currentBorder())
            b->width = std::clamp(n, 0, 1440);
        break;
    case W::Brdrcf:
        if (CellBorder* b = currentBorder())
            b->color = color(n);
        break;
    case W::Brdrs:
        if (CellBorder* b = currentBorder(); b && b->width == 0)
            b->width = 15;
        break;
    case W::Brdrnone:
        if (CellBorder* b = currentBorder())
            *b = CellBorder();
        break;
    case W::Clcbpat: cellDef_.shading = color(n); break;
    case W::Clvertalt: cellDef_.verticalAlign = 0; break;
    case W::Clvertalc: cellDef_.verticalAlign = 1; break;
    case W::Clvertalb: cellDef_.verticalAlign = 2; break;
    case W::Clvmgf: cellDef_.verticalMerge = 1; break;
    case W::Clvmrg: cellDef_.verticalMerge = 2; break;
    default:
        return false;
    }
    return true;
}

} // namespace

RtfReadReport readRtf(const QByteArray& rtf, QTextDocument* document, PageLayout* page,
                      const RtfReadOptions& options)
{
    const bool undo = document->isUndoRedoEnabled();
    document->setUndoRedoEnabled(false);
    document->clear();
    // Nothing is laid out until the document is whole and known to be of a height Qt can lay
    // out; one edit block, so that those watching the document hear of it once.
    suspendLayout(document);
    RtfReadReport report;
    {
        QTextCursor block(document);
        block.beginEditBlock();
        if (!looksLikeRtf(rtf)) {
            // Not RTF: keep the text rather than lose it.
            QStringDecoder utf8(QStringDecoder::Utf8);
            QString text = utf8.decode(rtf);
            if (utf8.hasError())
                text = CodePageDecoder().decode(rtf, kDefaultCodePage);
            text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
            QTextCursor(document).insertText(text);
            if (page)
                *page = PageLayout();
            report.notRtf = true;
        } else {
            Reader reader(rtf, document, options);
            reader.run();
            if (page)
                *page = reader.page();
            report = reader.report();
        }
        block.endEditBlock();
    }
    // After the edit block: tables are complete only then.
    const PageLayout laidOut = page ? *page : PageLayout();
    if (const int cut = positionBeyondBudget(*document, laidOut.textWidth()); cut >= 0) {
        cutFrom(document, cut);
        report.skipped << QStringLiteral("The document is longer than can be laid out (about %1 inches of text); its end was left out.")
                              .arg(int(kLayoutBudget / kTwipsPerInch));
    }
    resumeLayout(document);
    keepSpaceAfterTables(document);
    document->setUndoRedoEnabled(undo);
    document->setModified(false);
    return report;
}

RtfReadReport insertRtf(const QByteArray& rtf, QTextCursor& cursor, const RtfReadOptions& options)
{
    QTextDocument scratch;
    PageLayout ignored;
    RtfReadReport report = readRtf(rtf, &scratch, &ignored, options);
    QTextDocument* target = cursor.document();
    // Together they must still be of a height Qt can lay out.
    const double width = target->textWidth() > 0 ? target->textWidth() : PageLayout().textWidth();
    const double room = kLayoutBudget - estimatedHeight(*target, width);
    if (const int cut = positionBeyondBudget(scratch, width, room); cut >= 0) {
        cutFrom(&scratch, cut);
        report.skipped << QStringLiteral("The inserted text would make the document longer than can be laid out; its end was left out.");
    }
    // The pictures' images go with the text.
    for (const QTextFormat& f : scratch.allFormats()) {
        if (!f.isImageFormat())
            continue;
        const QUrl url(f.toImageFormat().name());
        const QVariant image = scratch.resource(QTextDocument::ImageResource, url);
        if (image.isValid() && !target->resource(QTextDocument::ImageResource, url).isValid())
            target->addResource(QTextDocument::ImageResource, url, image);
    }
    cursor.insertFragment(QTextDocumentFragment(&scratch));
    return report;
}

} // namespace postavo::richtext
