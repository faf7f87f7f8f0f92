#pragma once
// TLetterDesign, "Letter Designer": the rich-text editor with the letter's description, the list
// that inserts merge fields, the menus of files, editing, spell check, paragraph, page and
// default-font settings, and a preview of the letter merged with the current record.

#include "settings.h"

#include <QDialog>
#include <functional>

class QAction;
class QComboBox;
class QLineEdit;
class QMenuBar;

namespace postavo {
class AddressTable;
}
namespace postavo::richtext {
class RichDocument;
class RichTextEditor;
}

namespace postavo::letters {

class TLetterDesign : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TLetterDesign";

    // Edits `document` (not owned). `useDefaultFont` (a new letter) makes the default letter
    // font the typing attributes. `table` is what the preview merges with (may be null: no
    // preview).
    TLetterDesign(richtext::RichDocument* document, const QString& description, bool useDefaultFont,
                  AddressTable* table, QWidget* parent = nullptr);
    ~TLetterDesign() override;

    QString description() const;
    richtext::RichDocument* document() const { return doc_; }
    richtext::RichTextEditor* editor() const { return editor_; }
    QComboBox* insertField() const { return insertField_; }
    QMenuBar* menus() const { return menuBar_; }
    QAction* action(const QString& objectName) const;
    DefaultFont defaultFont() const { return font_; }

    // ---- commands ----
    void insertFieldNamed(const QString& name);
    void insertPageBreak();
    void pageSettings();
    void toggleWordWrap();
    void chooseDefaultFont();
    void spellCheck();
    void preview();

    // ---- what tests answer instead of the user ----
    struct Hooks {
        std::function<bool(const QString& text, const QString& caption)> ask;
        // The font dialog: true with `font` set when confirmed.
        std::function<bool(DefaultFont& font)> chooseFont;
        // The page dialog: true when a new layout was applied.
        std::function<bool()> editPage;
        // Runs the preview window; the default shows it modally.
        std::function<void(QDialog&)> showPreview;
    };
    Hooks hooks;

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void done(int result) override;

private:
    void buildMenus();
    void applyDefaultFont();
    void setDefaultFontCaption();

    richtext::RichDocument* doc_;
    AddressTable* table_;
    bool useDefaultFont_;
    bool activated_ = false;
    DefaultFont font_;
    QLineEdit* description_ = nullptr;
    QComboBox* insertField_ = nullptr;
    richtext::RichTextEditor* editor_ = nullptr;
    QMenuBar* menuBar_ = nullptr;
    QAction* spellAction_ = nullptr;
    QAction* wrapAction_ = nullptr;
    QAction* fontAction_ = nullptr;
};

} // namespace postavo::letters
