#pragma once
// The rules of a print run's progress window, apart from the window: the button's role, the
// final status text and whether the window closes by itself when the run ends.

#include <QString>

namespace postavo::printing {

// The texts and switches each print run gives its progress window.
struct ProgressTexts {
    QString statusFormat = QStringLiteral("Printing Page %p\r%0\r%1");
    QString cancelQuestion = QStringLiteral("Cancel Printing?");
    QString cancelCaption = QStringLiteral("Cancel");
    QString printCanceled = QStringLiteral("\rPrint Canceled!");
    QString previewCanceled = QStringLiteral("\rPreview Canceled!");
    QString printCompleted = QStringLiteral("\rPrint Completed!");
    QString previewReady = QStringLiteral("\rPreview Ready!");
    QString previewStopped = QStringLiteral("\rPreview Stopped at page %p!");
    // Labels close the window at once after a completed preview.
    bool closeWhenPreviewReady = false;
};

class ProgressFrame {
public:
    enum class Action { Stop, AskCancel, Close };

    ProgressFrame(bool preview, ProgressTexts texts) : preview_(preview), texts_(std::move(texts)) {}

    bool preview() const { return preview_; }
    const ProgressTexts& texts() const { return texts_; }
    QString caption() const { return preview_ ? QStringLiteral("Preview Status") : QStringLiteral("Print Status"); }
    // "Cancel" while printing, "Stop" while previewing, "Ok" once the run is over.
    QString buttonCaption() const;
    bool running() const { return running_; }
    bool stopRequested() const { return stop_; }
    const bool& stopFlag() const { return stop_; }
    bool buttonPressed() const { return pressed_; }

    void start() { running_ = true; finished_ = false; }
    // The button (or Escape). While running it is remembered; in a preview it sets the stop
    // flag, in a print the window asks the run's question.
    Action press();
    // The run ended; aborted means the job was cancelled (or could not start).
    void finish(bool aborted);
    bool aborted() const { return aborted_; }
    // The status format to show once more now that the run is over.
    QString finalFormat() const;
    // Whether the window goes away without waiting for "Ok".
    bool closesByItself() const;

private:
    bool preview_;
    ProgressTexts texts_;
    bool running_ = false, finished_ = false;
    bool stop_ = false, pressed_ = false, aborted_ = false;
};

} // namespace postavo::printing
