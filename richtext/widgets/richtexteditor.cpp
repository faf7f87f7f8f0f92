#include "richtexteditor.h"

#include "findreplacedialog.h"
#include "pagedialog.h"
#include "paragraphdialog.h"
#include "richdocument.h"
#include "richtextedit.h"
#include "richtextruler.h"
#include "richtexttoolbar.h"
#include "spellcheckdialog.h"

#include <QFile>
#include <QFileDialog>
#include <QFontDialog>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

namespace postavo::richtext {

namespace {

const char* const kRtfFilter = "Rich Text Format (*.rtf);;All files (*)";

void tellSkipped(QWidget* parent, const RtfReadReport& report)
{
    if (!report.clean())
        QMessageBox::information(parent, QStringLiteral("Information"),
                                 QStringLiteral("Not everything in the file could be read:\n") + report.text());
}

} // namespace

RichTextStatusBar::RichTextStatusBar(RichTextEdit* edit, QWidget* parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    line_ = new QLabel(this);
    column_ = new QLabel(this);
    page_ = new QLabel(this);
    for (QLabel* l : {line_, column_, page_}) {
        l->setMinimumWidth(70);
        addPermanentWidget(l);
    }
    auto show = [this](int line, int column, int page, int pages) {
        line_->setText(QStringLiteral("Line %1").arg(line));
        column_->setText(QStringLiteral("Col %1").arg(column));
        page_->setText(QStringLiteral("Page %1 of %2").arg(page).arg(pages));
    };
    connect(edit, &RichTextEdit::statusChanged, this, show);
    show(edit->cursorLine(), edit->cursorColumn(), edit->cursorPage(), edit->pageCount());
}

QString RichTextStatusBar::lineText() const { return line_->text(); }
QString RichTextStatusBar::columnText() const { return column_->text(); }
QString RichTextStatusBar::pageText() const { return page_->text(); }

RichTextEditor::RichTextEditor(RichDocument* document, QWidget* parent) : QWidget(parent)
{
    edit_ = new RichTextEdit(document, this);
    toolBar_ = new RichTextToolBar(edit_, this);
    ruler_ = new RichTextRuler(edit_, this);
    statusBar_ = new RichTextStatusBar(edit_, this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar_);
    layout->addWidget(ruler_);
    layout->addWidget(edit_, 1);
    layout->addWidget(statusBar_);
    setFocusProxy(edit_);
}

void RichTextEditor::showFindReplace(bool replace)
{
    if (findDialog_) {
        findDialog_->close();
        findDialog_->deleteLater();
    }
    findDialog_ = new FindReplaceDialog(edit_, replace, this);
    findDialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(findDialog_, &QObject::destroyed, this, [this](QObject* gone) {
        if (gone == findDialog_)
            findDialog_ = nullptr;
    });
    findDialog_->show();
}

void RichTextEditor::showFind()
{
    showFindReplace(false);
}

void RichTextEditor::showReplace()
{
    showFindReplace(true);
}

bool RichTextEditor::editParagraph()
{
    ParagraphDialog dialog(edit_->textCursor().blockFormat(), this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const QTextBlockFormat f = dialog.blockFormat();
    QTextBlockFormat change;
    change.setLeftMargin(f.leftMargin());
    change.setRightMargin(f.rightMargin());
    change.setTextIndent(f.textIndent());
    change.setTopMargin(f.topMargin());
    change.setBottomMargin(f.bottomMargin());
    if (f.hasProperty(QTextFormat::LineHeightType))
        change.setLineHeight(f.lineHeight(), f.lineHeightType());
    edit_->mergeBlockFormat(change);
    return true;
}

bool RichTextEditor::editPage()
{
    PageDialog dialog(edit_->pageLayout(), this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    edit_->setPageLayout(dialog.pageLayout());
    return true;
}

bool RichTextEditor::chooseFont()
{
    bool ok = false;
    const QTextCharFormat current = edit_->currentCharFormat();
    QFont font = current.font();
    const QStringList families = current.fontFamilies().toStringList();
    if (!families.isEmpty())
        font.setFamilies(families);
    const QFont chosen = QFontDialog::getFont(&ok, font, this, QStringLiteral("Font"));
    if (!ok)
        return false;
    edit_->setFontFamily(chosen.family());
    QTextCharFormat f;
    f.setFontPointSize(chosen.pointSizeF() > 0 ? chosen.pointSizeF() : 10);
    f.setFontWeight(chosen.bold() ? QFont::Bold : QFont::Normal);
    f.setFontItalic(chosen.italic());
    f.setUnderlineStyle(chosen.underline() ? QTextCharFormat::SingleUnderline : QTextCharFormat::NoUnderline);
    f.setFontStrikeOut(chosen.strikeOut());
    edit_->mergeCurrentCharFormat(f);
    return true;
}

bool RichTextEditor::saveAsRtf()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Save as RTF"), QString(),
                                                      QString::fromLatin1(kRtfFilter));
    if (path.isEmpty())
        return false;
    QString error;
    if (!edit_->richDocument()->saveFile(path, &error)) {
        QMessageBox::warning(this, QStringLiteral("Warning"), error);
        return false;
    }
    return true;
}

bool RichTextEditor::loadRtf()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Load RTF"), QString(),
                                                      QString::fromLatin1(kRtfFilter));
    if (path.isEmpty())
        return false;
    // Read into a new document first, so that a file that cannot be read changes nothing.
    RichDocument loaded;
    QString error;
    RtfReadReport report;
    if (!loaded.loadFile(path, &error, &report)) {
        QMessageBox::warning(this, QStringLiteral("Warning"), error);
        return false;
    }
    edit_->richDocument()->copyFrom(loaded);
    edit_->setPageLayout(loaded.pageLayout());
    edit_->setTextCursor(QTextCursor(edit_->document()));
    tellSkipped(this, report);
    return true;
}

bool RichTextEditor::insertRtfFile()
{
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Insert RTF"), QString(),
                                                      QString::fromLatin1(kRtfFilter));
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        QMessageBox::warning(this, QStringLiteral("Warning"),
                             QStringLiteral("The file \"%1\" cannot be opened: %2").arg(path, file.errorString()));
        return false;
    }
    edit_->insertRtf(file.readAll());
    return true;
}

int RichTextEditor::spellCheck(SpellChecker* checker)
{
    if (!checker)
        return 0;
    return SpellCheckDialog::check(edit_, checker, this);
}

} // namespace postavo::richtext
