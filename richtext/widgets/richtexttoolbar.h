#pragma once
// The tool bar bound to an editing control: font name and size ("Font", "Font Size"), text and
// background colour, normal, bold, italic and underline, left, right, justified and centred
// alignment, copy, cut and paste. It follows the attributes at the cursor.

#include <QToolBar>

class QAction;
class QComboBox;
class QFontComboBox;
class QTextBlockFormat;
class QTextCharFormat;

namespace postavo::richtext {

class RichTextEdit;

class RichTextToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit RichTextToolBar(RichTextEdit* edit, QWidget* parent = nullptr);

    QFontComboBox* fontBox() const { return font_; }
    QComboBox* sizeBox() const { return size_; }
    QComboBox* colorBox() const { return color_; }
    QComboBox* backgroundBox() const { return background_; }
    QAction* normalAction() const { return normal_; }
    QAction* boldAction() const { return bold_; }
    QAction* italicAction() const { return italic_; }
    QAction* underlineAction() const { return underline_; }
    QAction* alignLeftAction() const { return left_; }
    QAction* alignRightAction() const { return right_; }
    QAction* justifyAction() const { return justify_; }
    QAction* centerAction() const { return center_; }
    QAction* copyAction() const { return copy_; }
    QAction* cutAction() const { return cut_; }
    QAction* pasteAction() const { return paste_; }

    // The sizes offered, from 6 points up.
    static QList<int> fontSizes();
    // The colours offered, with their names.
    static QList<QPair<QString, QColor>> colors();

private:
    void showCharFormat(const QTextCharFormat& format);
    void showBlockFormat(const QTextBlockFormat& format);

    RichTextEdit* edit_;
    QFontComboBox* font_;
    QComboBox* size_;
    QComboBox* color_;
    QComboBox* background_;
    QAction* normal_;
    QAction* bold_;
    QAction* italic_;
    QAction* underline_;
    QAction* left_;
    QAction* right_;
    QAction* justify_;
    QAction* center_;
    QAction* copy_;
    QAction* cut_;
    QAction* paste_;
};

} // namespace postavo::richtext
