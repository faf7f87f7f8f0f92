#pragma once
// TChooseEnvelopeLayout, "Envelope Size": the envelope sizes, the given one selected.

#include <QDialog>
#include <optional>

class QListWidget;

namespace postavo::envelopes {

class TChooseEnvelopeLayout : public QDialog {
    Q_OBJECT
public:
    TChooseEnvelopeLayout(int code, QWidget* parent = nullptr);
    // The code of the selected entry (the given code when none is selected).
    int chosenCode() const;
    QListWidget* list() const { return list_; }

    // Opens the window; the chosen code on Ok, nothing on Cancel.
    static std::optional<int> choose(int code, QWidget* parent);

private:
    int given_;
    QListWidget* list_;
};

} // namespace postavo::envelopes
