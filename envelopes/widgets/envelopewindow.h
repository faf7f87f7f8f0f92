#pragma once
// TPVEnvelopes, "Print Envelope": the envelope layout catalogue (New, Modify, Clone, Delete), the
// records to print, the current record with a small live picture of the layout filled with it,
// the printer setup, and Print and Preview, which run an envelope job through TEnvelopePrePrint
// and TEnvelopeForm.

#include "datasurface.h"
#include "envelopecatalogue.h"
#include "envelopefeed.h"
#include "envelopejob.h"
#include "printers.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;

namespace postavo {
class AddressTable;
namespace printing {
class CanvasDevice;
}
} // namespace postavo

namespace postavo::envelopes {

class TEnvelopeDesignScreen;
class TEnvelopePanel;
class TEnvelopePrePrint;

class TPVEnvelopes : public QDialog {
    Q_OBJECT
public:
    static constexpr const char* kClassName = "TPVEnvelopes";

    // `table`: the main window's address table with its filter and order.
    explicit TPVEnvelopes(AddressTable& table, QWidget* parent = nullptr);
    ~TPVEnvelopes() override;

    // ---- commands ----
    void newLayout();
    void modifyLayout();
    void cloneLayout();
    void deleteLayout();
    void print() { runJob(false); }
    void preview() { runJob(true); }
    void printerSetup();
    void selectLayout(int row);

    // ---- state ----
    const EnvelopeLayout& currentLayout() const { return current_; }
    std::vector<EnvelopeLayout> listedLayouts() const { return rows_; }
    FeedMethod feed() const { return feed_; }
    printing::TPrinters& printers() { return *printers_; }
    TEnvelopePanel* livePicture() const { return picture_; }
    QTableWidget* grid() const { return grid_; }
    QPushButton* button(const QString& objectName) const;
    QRadioButton* recordChoice(RecordChoice choice) const;
    QCheckBox* startFromCurrent() const { return startFromCurrent_; }
    QString currentRecordText() const;
    void moveRecord(int which); // 0 first, 1 previous, 2 next, 3 last
    // The last job's outcome: envelopes printed and records left out.
    int lastPrinted() const { return lastPrinted_; }
    std::vector<quint32> lastSkipped() const { return lastSkipped_; }

    // ---- what tests answer instead of the user ----
    struct Hooks {
        std::function<bool(const QString& text, const QString& caption)> ask;
        std::function<void(const QString& text)> inform;
        std::function<std::optional<int>(int code)> chooseSize;
        // Runs the designer; true for Save. The default shows it modally.
        std::function<bool(TEnvelopeDesignScreen&)> design;
        // The printer and feed check; the feed to print with, nothing to cancel.
        std::function<std::optional<FeedMethod>(TEnvelopePrePrint&)> prePrint;
        // The target of jobs instead of the printer or preview document, and whether a preview
        // opens its window.
        printing::CanvasDevice* device = nullptr;
        bool showPreview = true;
    };
    Hooks hooks;

protected:
    void showEvent(QShowEvent* e) override;
    void done(int result) override;

private:
    void fillGrid(quint32 selectRecno = 0);
    void readCurrentLayout();
    void drawLivePicture();
    void setButtons();
    void showRecord();
    void runJob(bool preview);
    bool ask(const QString& text, const QString& caption);
    void inform(const QString& text);
    void loadSettings();
    void saveSettings();
    void modify(std::optional<EnvelopeLayout> fresh);

    AddressTable& table_;
    EnvelopeCatalogue catalogue_;
    std::vector<EnvelopeLayout> rows_;
    EnvelopeLayout current_;
    FeedMethod feed_;
    std::unique_ptr<printing::TPrinters> printers_;
    QObject surfaceOwner_;
    design::DataSurface printSurface_;
    bool activated_ = false;
    int lastPrinted_ = 0;
    std::vector<quint32> lastSkipped_;

    QTableWidget* grid_ = nullptr;
    TEnvelopePanel* picture_ = nullptr;
    QRadioButton *all_ = nullptr, *matching_ = nullptr, *currentOnly_ = nullptr;
    QCheckBox* startFromCurrent_ = nullptr;
    QLabel *first_ = nullptr, *last_ = nullptr, *org_ = nullptr, *city_ = nullptr;
};

} // namespace postavo::envelopes
