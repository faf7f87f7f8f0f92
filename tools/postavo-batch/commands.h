#pragma once
// The commands of postavo-batch. A command gets its arguments (after its name) and writes its
// messages to out and err; it returns the process exit code.

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <vector>

namespace postavo::batch {

struct CommandContext {
    QStringList args;
    QTextStream& out;
    QTextStream& err;
};

struct Command {
    const char* name;
    const char* usage;   // the arguments, for the help text
    const char* summary;
    int (*run)(CommandContext& ctx);
};

const std::vector<Command>& commands();

// Exit codes shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Small argument helpers: "--name value" options and flags.
class Args {
public:
    explicit Args(QStringList args) : args_(std::move(args)) {}
    // The value after `name`, removed from the list; empty when missing. `missing` is set when
    // the option is given without a value.
    QString take(const QString& name, bool* missing = nullptr);
    bool takeFlag(const QString& name);
    const QStringList& rest() const { return args_; }

private:
    QStringList args_;
};

// The commands themselves, one file each.
int runTestPage(CommandContext& ctx);
int runLayout(CommandContext& ctx);
// "layout render": one record's label or envelope in a PDF (cmd_layoutrender.cpp).
int runLayoutRender(CommandContext& ctx);
// "label-sheet": a layout's sheet drawn as label outlines with their numbers (cmd_labelsheet.cpp).
int runLabelSheet(CommandContext& ctx);
// "envelopes": one envelope per record (cmd_envelopes.cpp).
int runEnvelopes(CommandContext& ctx);
// "rtf": a letter file to PDF, RTF or text (cmd_rtf.cpp).
int runRtf(CommandContext& ctx);
// The reports (cmd_report.cpp): "report", "record" and "zip-count".
int runReport(CommandContext& ctx);
int runRecord(CommandContext& ctx);
int runZipCount(CommandContext& ctx);
// "labels" and "presort": label printing and the bulk-mail presort file (cmd_labels.cpp).
int runLabels(CommandContext& ctx);
int runPresort(CommandContext& ctx);
// "letters" and "merge": form letters merged with address records (cmd_letters.cpp).
int runLetters(CommandContext& ctx);
int runMerge(CommandContext& ctx);

} // namespace postavo::batch
