#pragma once
// The ruler above the editing control, in inches from the left margin: it shows the page's
// margins and the current paragraph's indents and tab stops. Dragging the indent markers
// changes the paragraph's indents; a click on the ruler sets a tab stop of the kind chosen at
// its left end, dragging one moves it, dragging it off the ruler removes it.

#include <QTextOption>
#include <QWidget>

namespace postavo::richtext {

class RichTextEdit;

class RichTextRuler : public QWidget {
    Q_OBJECT
public:
    explicit RichTextRuler(RichTextEdit* edit, QWidget* parent = nullptr);

    QSize sizeHint() const override;

    // The kind of tab stop a click sets: left, centre, right or decimal.
    QTextOption::TabType tabType() const { return tabType_; }
    void setTabType(QTextOption::TabType type);

    // Twips from the left margin for a ruler x, and back.
    double twipsAt(double x) const;
    double xAt(double twips) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Drag { None, FirstIndent, LeftIndent, RightIndent, Tab };
    QRectF tabTypeBox() const;
    int snap(double twips) const;
    void applyIndents();

    RichTextEdit* edit_;
    QTextOption::TabType tabType_ = QTextOption::LeftTab;
    Drag drag_ = Drag::None;
    int dragTab_ = -1;
    bool dragOff_ = false;
    QList<QTextOption::Tab> tabs_;      // twips, while dragging
    double first_ = 0, left_ = 0, right_ = 0;  // twips, while dragging
};

} // namespace postavo::richtext
