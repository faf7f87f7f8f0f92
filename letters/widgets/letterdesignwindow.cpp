#include "letterdesignwindow.h"

#include "dialogkit.h"
#include "letterdesign.h"
#include "lettercatalogue.h"
#include "letterhelp.h"
#include "lettermerge.h"
#include "letterpreviewwindow.h"
#include "messageboxes.h"
#include "programfolder.h"
#include "richdocument.h"
#include "richtextedit.h"
#include "richtexteditor.h"
#include "richtextruler.h"
#include "spellchecker.h"
#include "windowplacement.h"

#include <QComboBox>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace postavo::letters {

TLetterDesign::TLetterDesign(richtext::RichDocument* document, const QString& description, bool useDefaultFont,
                             AddressTable* table, QWidget* parent)
    : QDialog(parent), doc_(document), table_(table), useDefaultFont_(useDefaultFont)
{
    registerLetterHelp();
    setObjectName(QString::fromLatin1(kClassName));
    setWindowTitle(QString::fromLatin1(kDesignerCaption));
    enableWhatsThis(this);
    setSizeGripEnabled(true);
    // A new letter: 8.5 x 11 inches with 1-inch margins.
    if (useDefaultFont_)
        doc_->setPageLayout(richtext::PageLayout{});

    menuBar_ = new QMenuBar(this);
    editor_ = new richtext::RichTextEditor(doc_, this);
    editor_->setObjectName(QStringLiteral("Editor"));
    editor_->edit()->setZoom(100);

    description_ = new QLineEdit(description, this);
    description_->setObjectName(QStringLiteral("Description"));
    description_->setMaxLength(kLetterDescriptionLength);
    explain(description_, QStringLiteral("The name the letter is listed under."));
    auto* descriptionLabel = new QLabel(QStringLiteral("&Description"), this);
    descriptionLabel->setBuddy(description_);

    insertField_ = new QComboBox(this);
    insertField_->setObjectName(QStringLiteral("InsertField"));
    insertField_->addItems(insertFieldNames());
    insertField_->setCurrentIndex(0);
    explain(insertField_, QStringLiteral("Puts the chosen merge field at the cursor; it is replaced by the record's "
                                         "value when the letter prints."));
    // Choosing a name inserts it, even the one already shown.
    connect(insertField_, qOverload<int>(&QComboBox::activated), this,
            [this](int index) { insertFieldNamed(insertField_->itemText(index)); });
    auto* fieldLabel = new QLabel(QStringLiteral("&Insert field"), this);
    fieldLabel->setBuddy(insertField_);

    auto* top = new QHBoxLayout;
    top->addWidget(descriptionLabel);
    top->addWidget(description_, 2);
    top->addSpacing(12);
    top->addWidget(fieldLabel);
    top->addWidget(insertField_, 1);

    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("Ok"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));
    cancel->setAutoDefault(false);
    auto* previewButton = new QPushButton(QStringLiteral("Preview"), this);
    previewButton->setObjectName(QStringLiteral("Preview"));
    previewButton->setAutoDefault(false);
    previewButton->setEnabled(table_ != nullptr);
    QPushButton* helpButton = makeHelpButton(this, help::LetterDesigner);
    helpButton->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(previewButton, &QPushButton::clicked, this, &TLetterDesign::preview);
    explain(ok, QStringLiteral("Keeps the letter."));
    explain(cancel, QStringLiteral("Leaves without keeping the changes."));
    explain(previewButton, QStringLiteral("Shows the letter merged with the current record."));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {ok, cancel, previewButton, helpButton})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar_);
    layout->addLayout(top);
    layout->addWidget(editor_, 1);
    layout->addLayout(buttons);

    // On creation: the spell checker only with a dictionary, the default font from the settings.
    buildMenus();
    spellAction_->setEnabled(richtext::SpellChecker::isAvailable(ProgramFolder::path()));
    Settings settings;
    font_ = readDefaultFont(settings, FontSection::Letter);
    setDefaultFontCaption();
    resize(820, 640);
}

TLetterDesign::~TLetterDesign() = default;

QString TLetterDesign::description() const { return description_->text(); }

QAction* TLetterDesign::action(const QString& objectName) const
{
    return menuBar_->findChild<QAction*>(objectName);
}

void TLetterDesign::buildMenus()
{
    auto add = [this](QMenu* menu, const QString& caption, const char* name, const QKeySequence& key,
                      void (TLetterDesign::*slot)()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto addEditor = [this](QMenu* menu, const QString& caption, const char* name, const QKeySequence& key,
                            const std::function<void()>& run) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QLatin1String(name));
        if (!key.isEmpty())
            a->setShortcut(key);
        connect(a, &QAction::triggered, this, run);
        return a;
    };
    QMenu* file = menuBar_->addMenu(QStringLiteral("&File"));
    addEditor(file, QStringLiteral("&Save as RTF"), "SaveAsRtf", {}, [this] { editor_->saveAsRtf(); });
    addEditor(file, QStringLiteral("&Load RTF"), "LoadRtf", {}, [this] { editor_->loadRtf(); });
    addEditor(file, QStringLiteral("&Insert RTF"), "InsertRtf", {}, [this] { editor_->insertRtfFile(); });
    QMenu* edit = menuBar_->addMenu(QStringLiteral("&Edit"));
    addEditor(edit, QStringLiteral("&Find"), "Find", QKeySequence(QStringLiteral("Ctrl+F")), [this] { editor_->showFind(); });
    addEditor(edit, QStringLiteral("&Replace"), "Replace", QKeySequence(QStringLiteral("Ctrl+R")),
              [this] { editor_->showReplace(); });
    spellAction_ = add(edit, QStringLiteral("&Spell Check"), "SpellCheck", QKeySequence(Qt::Key_F7), &TLetterDesign::spellCheck);
    add(edit, QStringLiteral("&Insert Page Break"), "InsertPageBreak", {}, &TLetterDesign::insertPageBreak);
    QMenu* settings = menuBar_->addMenu(QStringLiteral("&Settings"));
    addEditor(settings, QStringLiteral("&Paragraph Settings"), "ParagraphSettings", {}, [this] { editor_->editParagraph(); });
    add(settings, QStringLiteral("Pa&ge Settings"), "PageSettings", {}, &TLetterDesign::pageSettings);
    wrapAction_ = add(settings, wordWrapCaption(false), "WordWrap", {}, &TLetterDesign::toggleWordWrap);
    fontAction_ = add(settings, defaultFontCaption(font_), "DefaultFont", {}, &TLetterDesign::chooseDefaultFont);
    // The menus' shortcuts work anywhere in the window, the text included.
    for (QAction* a : menuBar_->findChildren<QAction*>())
        a->setShortcutContext(Qt::WindowShortcut);
}

void TLetterDesign::setDefaultFontCaption() { fontAction_->setText(defaultFontCaption(font_)); }

void TLetterDesign::applyDefaultFont()
{
    QFont f(font_.name, font_.size);
    f.setBold(font_.bold);
    f.setItalic(font_.italic);
    if (doc_->document()->isEmpty())
        doc_->setDefaultFont(f);
    QTextCharFormat format;
    format.setFontFamilies({font_.name});
    format.setFontPointSize(font_.size);
    format.setFontWeight(font_.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(font_.italic);
    editor_->edit()->mergeCurrentCharFormat(format);
}

void TLetterDesign::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (activated_)
        return;
    activated_ = true;
    // Word wrap off; the document's own page layout applied again; the default font for a new letter.
    editor_->edit()->setWordWrap(false);
    editor_->edit()->setPageLayout(doc_->pageLayout());
    if (useDefaultFont_)
        applyDefaultFont();
    wrapAction_->setText(wordWrapCaption(editor_->edit()->wordWrap()));
    Settings settings;
    restorePlacement(this, QString::fromLatin1(kClassName), settings, parentWidget() ? parentWidget()->window() : nullptr);
    editor_->edit()->setFocus();
}

void TLetterDesign::closeEvent(QCloseEvent* e)
{
    // Closing the window keeps the letter, as "Ok" does.
    e->ignore();
    accept();
}

void TLetterDesign::done(int result)
{
    if (activated_) {
        Settings settings;
        storePlacement(this, QString::fromLatin1(kClassName), settings);
    }
    QDialog::done(result);
}

void TLetterDesign::insertFieldNamed(const QString& name)
{
    editor_->edit()->insertText(QLatin1Char('[') + name + QLatin1Char(']'));
    editor_->edit()->setFocus();
}

void TLetterDesign::insertPageBreak()
{
    const QString text = QString::fromLatin1(kPageBreakQuestion);
    const QString caption = QString::fromLatin1(kPageBreakTitle);
    const bool yes = hooks.ask ? hooks.ask(text, caption) : askYesNo(text, caption, this);
    if (yes)
        editor_->edit()->insertPageBreak();
}

void TLetterDesign::pageSettings()
{
    const bool applied = hooks.editPage ? hooks.editPage() : editor_->editPage();
    if (!applied)
        return;
    // The editing control lays the text out to the new page at once; the ruler and the text are
    // drawn again for it.
    editor_->ruler()->update();
    editor_->edit()->viewport()->update();
}

void TLetterDesign::toggleWordWrap()
{
    editor_->edit()->setWordWrap(!editor_->edit()->wordWrap());
    wrapAction_->setText(wordWrapCaption(editor_->edit()->wordWrap()));
}

void TLetterDesign::chooseDefaultFont()
{
    DefaultFont chosen = font_;
    bool ok = false;
    if (hooks.chooseFont) {
        ok = hooks.chooseFont(chosen);
    } else {
        QFont initial(font_.name, font_.size);
        initial.setBold(font_.bold);
        initial.setItalic(font_.italic);
        const QFont f = QFontDialog::getFont(&ok, initial, this, QStringLiteral("Default Font"));
        if (ok)
            chosen = {f.family(), f.pointSize() > 0 ? f.pointSize() : font_.size, f.bold(), f.italic()};
    }
    if (ok) {
        font_ = chosen;
        applyDefaultFont();
    }
    setDefaultFontCaption();
    Settings settings;
    writeDefaultFont(settings, FontSection::Letter, font_);
}

void TLetterDesign::spellCheck()
{
    if (!spellAction_->isEnabled())
        return;
    QString error;
    std::unique_ptr<richtext::SpellChecker> checker = richtext::SpellChecker::forProgramFolder(ProgramFolder::path(), &error);
    if (!checker) {
        showInformation(error, this);
        return;
    }
    editor_->spellCheck(checker.get());
}

void TLetterDesign::preview()
{
    if (!table_)
        return;
    TRTFPreviewForm form(*doc_, *table_, this);
    if (hooks.showPreview)
        hooks.showPreview(form);
    else
        form.exec();
}

} // namespace postavo::letters
