#pragma once
// The address table object: one address file as every window and utility works with it.
// It wraps a record-engine table with the 23 address fields (at the widths of the open file),
// the calculated values, a current record with browse / edit / insert states and an edit
// buffer, the active order and the applied filter, and change notifications.
//
// Text crosses between the file's Windows-1252 bytes and QString here and nowhere else.

#include "addressfields.h"
#include "tablemodel.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>
#include <memory>
#include <optional>

namespace postavo {

namespace engine {
class Table;
enum class OpenMode;
} // namespace engine

enum class TableState { Closed, Browse, Edit, Insert };

class AddressTable : public QObject, public GridSource {
    Q_OBJECT
public:
    struct Field {
        QString name;
        char type = 'C';
        int width = 0;
        QString label;
        bool visible = true;
    };

    explicit AddressTable(QObject* parent = nullptr);
    ~AddressTable() override;

    // ---- binding (OpenAddressTable)
    // Opens an existing address file exclusively; false with a message when it is missing,
    // not an address file (a field is missing) or cannot be opened.
    bool open(const QString& path, QString* error = nullptr);
    bool openShared(const QString& path, bool readOnly, QString* error = nullptr);
    void close();
    bool isOpen() const;
    QString path() const { return path_; }
    QString lastError() const { return error_; }
    engine::Table* engineTable() { return table_.get(); }

    // ---- fields (MatchFieldSizes has set the widths of the open file)
    const QVector<Field>& fields() const { return fields_; }
    const Field* field(const QString& name) const;
    int fieldWidth(const QString& name) const;
    // The order in which grids show the fields; names of fields and calculated values.
    QStringList fieldOrder() const { return fieldOrder_; }
    void setFieldOrder(const QStringList& names);

    // ---- the current record (values trimmed; while editing, the edit buffer)
    QString value(const QString& fieldName) const;
    bool logical(const QString& fieldName) const;
    QString memo() const;
    // Any field or calculated value by name, as text ("Yes"/"No" for logicals).
    QString displayValue(const QString& name) const;
    bool setValue(const QString& fieldName, const QString& text);  // edit or insert only
    bool setLogical(const QString& fieldName, bool v);
    bool setMemo(const QString& text);
    bool modified() const { return modified_; }

    // ---- calculated values
    QString displayDate() const;
    bool tagged() const;
    QString fullName() const;
    QString fullNameWithPrefix() const;
    QString cityStateZip() const;
    void setExtraFields(bool on) { extraFields_ = on; }
    bool extraFields() const { return extraFields_; }
    static bool isCalculated(const QString& name);
    // The tag id a record is tagged with (GlobalTagId).
    void setTagId(const QString& id) { tagId_ = id; }
    QString tagId() const { return tagId_; }

    // ---- moving (posting a pending edit first)
    bool first();
    bool last();
    bool next();      // false (staying put) when already on the last visible record
    bool previous();  // false when already on the first
    bool goTo(quint32 recno);
    quint32 recNo() const;
    bool hasRecord() const;  // on a record, not past the end
    bool eof() const;
    bool bof() const;

    // ---- states
    TableState state() const { return state_; }
    bool editing() const { return state_ == TableState::Edit || state_ == TableState::Insert; }
    bool edit();
    bool insert();
    // Stores the edit buffer, all or nothing. False with lastError() naming the cause when it
    // cannot: text Windows-1252 cannot hold (the characters and fields are named), or a write
    // that failed (full disk, file-size limit, memo error). Then the files are as they were, the
    // state stays Edit/Insert with the buffer as typed, so the window can let the user correct
    // and post again (no duplicate) or cancel (nothing written).
    // `durable` also waits until the disk has it (the aggressive-save rule decides when).
    bool post(bool durable = false);
    // The message post() would refuse the buffer with because of its characters; "" when every
    // character fits the file. For a window that checks before saving.
    QString unstorableText() const;
    // Waits until the disk holds everything posted.
    bool commit();
    void cancel();

    // ---- order and filter
    bool setOrder(const QString& tagName);  // "" = record order
    QString order() const { return order_; }
    int orderNumber(const QString& tagName) const;
    QStringList tagNames() const;
    // The expression every move respects ("" clears). False with lastError() when it does not
    // compile; the previous filter stays.
    bool setFilter(const QString& expression);
    QString filter() const { return filter_; }
    quint32 visibleCount();
    quint32 recordCount() const;  // records in the file, deleted or not
    bool evalCondition(const QString& expression, bool* ok = nullptr);

    // ---- seeking (the lookups made while adding a record)
    // Seeks `key` on the active order: exact, the whole key must match; otherwise the first key
    // that begins with it. Stays on the current record and returns false when nothing is found
    // or no order is active. Exact matching is off again afterwards.
    bool seek(const QString& key, bool exact);

    // ---- deletion and tagging
    bool deleteCurrent();  // the engine's mark and ISDEL
    bool setTagged(bool on);

    // ---- reading any record without moving (grids)
    // The record numbers visible in the active order under the filter, in order.
    std::vector<quint32> visibleRecords(const std::function<bool(int)>& progress = {});
    // Values of record `recno`; false when it cannot be read.
    bool readRecord(quint32 recno, QStringList* values, const QStringList& names);

    // ---- grids
    QStringList gridColumns() const override { return fieldOrder_; }
    QString gridLabel(const QString& column) const override;
    std::vector<quint32> gridRows() override { return visibleRecords(); }
    bool gridRead(quint32 recno, const QStringList& columns, QStringList* values) override
    {
        return readRecord(recno, values, columns);
    }
    bool gridEditable(const QString& column) const override;
    bool gridWrite(quint32 recno, const QString& column, const QString& value) override;

    // ---- notifications
    void setNotificationsEnabled(bool on);
    bool notificationsEnabled() const { return notify_; }

    // Conversions at the boundary.
    static QString fromFile(std::string_view bytes);
    static std::string toFile(const QString& text);

signals:
    void currentChanged();
    void dataChanged();
    void orderChanged();
    void stateChanged();

private:
    bool bind(const QString& path, engine::OpenMode mode, QString* error);
    bool fail(const QString& message, QString* error = nullptr);
    bool move(const std::function<void()>& step);
    void loadBuffer();
    void setState(TableState s);
    void emitCurrent();
    void emitData();
    QString storedValue(const QString& name) const;  // as the file holds it, whatever the state
    QString displayLabel(const QString& fieldName) const;
    void discardQuietly();

    std::unique_ptr<engine::Table> table_;
    QString path_;
    QString error_;
    QVector<Field> fields_;
    QStringList fieldOrder_;
    TableState state_ = TableState::Closed;
    QMap<QString, QString> buffer_;  // edit buffer: field name -> value
    QString memoBuffer_;
    bool modified_ = false;
    bool extraFields_ = false;
    bool notify_ = true;
    QString order_;
    QString filter_;
    QString tagId_;
};

// The running total that the rebuild bar shows while many tags are built: a report larger
// than the previous adds the difference, a smaller one (a new tag) becomes the new reference.
class RunningTotalProgress {
public:
    explicit RunningTotalProgress(int divisor) : divisor_(divisor) {}
    int report(int percent);  // the bar position 0..100
    int position() const;
private:
    int divisor_;
    int last_ = 0;
    long total_ = 0;
};
inline constexpr int kRebuildProgressDivisor = 2100;
inline constexpr int kImportProgressDivisor = 1800;

// ---- address file operations ----

// The questions and messages opening a file may need; windows implement it, tests answer.
class AddressFileUi {
public:
    virtual ~AddressFileUi() = default;
    virtual void showInformation(const QString& text) = 0;
    virtual bool askYesNo(const QString& text, const QString& caption) = 0;
    // Runs the rebuild window on the open table; returns when it closes.
    virtual void rebuildIndexes(AddressTable& table) = 0;
};

// Creates the table with the 23 fields at `lengths` and builds its 26 tags.
bool CreateAddressFile(const QString& path, const FieldLengths& lengths, AddressFileUi& ui);
// Deletes the index file and creates the 26 tags; progress gets the running-total position.
bool BuildAddressTags(AddressTable& table, const std::function<void(int)>& progress = {},
                      int divisor = kRebuildProgressDivisor);
// The rebuild pass: pack (bar = engine percentage), then the 26 tags (running total).
bool RebuildAddressFile(AddressTable& table, const std::function<void(const QString& status, int percent)>& progress);
bool CheckValidIndex(const AddressTable& table);
// OpenPVWDBF without the window's parts: binds, validates, asks to rebuild, updates the
// recently-used list. True when the file is open with all its tags.
bool OpenPVWDBF(AddressTable& table, const QString& path, AddressFileUi& ui, class Settings& settings);
QString mainWindowCaption(const QString& path);  // "Postavo - " + path

} // namespace postavo
