#include "copyoutwindow.h"

#include "addressfile.h"
#include "messageboxes.h"
#include "programfolder.h"
#include "progresspanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace postavo::transfer {

TCopyOut::TCopyOut(AddressTable& table, QWidget* parent) : QDialog(parent), table_(table)
{
    setWindowTitle(QStringLiteral("Copy Records Out"));
    auto* layout = new QVBoxLayout(this);
    choices_ = new QGroupBox(this);
    auto* c = new QVBoxLayout(choices_);
    dbf_ = new QRadioButton(QStringLiteral("Copy to a &DBF file"), choices_);
    text_ = new QRadioButton(QStringLiteral("Copy to an &ASCII file (comma delimited)"), choices_);
    vcard_ = new QRadioButton(QStringLiteral("Copy to a v&Card file (address books and phones)"), choices_);
    dbf_->setChecked(true);
    c->addWidget(dbf_);
    c->addWidget(text_);
    auto* textOptions = new QHBoxLayout;
    textOptions->setContentsMargins(24, 0, 0, 0);
    encoding_ = new QComboBox(choices_);
    encoding_->addItem(QStringLiteral("Windows-1252"), int(TextEncoding::Windows1252));
    encoding_->addItem(QStringLiteral("UTF-8"), int(TextEncoding::Utf8));
    rfc4180_ = new QCheckBox(QStringLiteral("Double the &quotes inside values"), choices_);
    textOptions->addWidget(encoding_);
    textOptions->addWidget(rfc4180_);
    textOptions->addStretch();
    c->addLayout(textOptions);
    c->addWidget(vcard_);
    layout->addWidget(choices_);
    progress_ = new ProgressPanel(this);
    progress_->hide();
    layout->addWidget(progress_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    saveAs_ = new QPushButton(QStringLiteral("Save As"), this);
    saveAs_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    help_ = new QPushButton(QStringLiteral("Help"), this);
    buttons->addWidget(saveAs_);
    buttons->addWidget(cancel);
    buttons->addWidget(help_);
    layout->addLayout(buttons);
    auto textChosen = [this] {
        encoding_->setEnabled(text_->isChecked());
        rfc4180_->setEnabled(text_->isChecked());
    };
    connect(text_, &QRadioButton::toggled, this, textChosen);
    textChosen();
    connect(saveAs_, &QPushButton::clicked, this, &TCopyOut::saveAs);
    connect(cancel, &QPushButton::clicked, this, &TCopyOut::reject);
    connect(help_, &QPushButton::clicked, this, [] { showHelpTopic(1047); });
}

ExportOptions TCopyOut::options() const
{
    ExportOptions o;
    o.format = dbf_->isChecked() ? ExportFormat::Dbf : text_->isChecked() ? ExportFormat::Text : ExportFormat::VCard;
    o.encoding = TextEncoding(encoding_->currentData().toInt());
    o.rfc4180 = rfc4180_->isChecked();
    return o;
}

void TCopyOut::setFormat(ExportFormat f)
{
    (f == ExportFormat::Dbf ? dbf_ : f == ExportFormat::Text ? text_ : vcard_)->setChecked(true);
}

void TCopyOut::saveAs()
{
    const ExportFormat f = options().format;
    const QString filter = f == ExportFormat::Dbf    ? QStringLiteral("DBF files (*.DBF *.dbf)")
                           : f == ExportFormat::Text ? QStringLiteral("Text files (*.TXT *.txt)")
                                                     : QStringLiteral("vCard files (*.vcf *.VCF)");
    QFileDialog dialog(this, QString(), ProgramFolder::path(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(f == ExportFormat::Dbf ? QStringLiteral("DBF") : f == ExportFormat::Text ? QStringLiteral("TXT") : QStringLiteral("vcf"));
    // The overwrite question is ours ("Warning!", No the default).
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    chooseTarget(dialog.selectedFiles().first());
}

bool TCopyOut::chooseTarget(const QString& path)
{
    QString message;
    switch (checkExportTarget(path, options().format, table_.path(), &message)) {
    case TargetCheck::WrongExtension:
    case TargetCheck::Self: showInformation(message, this); return false;
    case TargetCheck::Exists:
        if (!askYesNoDefaultNo(message, QString::fromLatin1(kExportOverwriteCaption), this))
            return false;
        break;
    case TargetCheck::Ok: break;
    }
    copy(path);
    return true;
}

void TCopyOut::reject()
{
    if (copying_) {
        if (askYesNoDefaultNo(QStringLiteral("Cancel copy?"), QStringLiteral("Cancel"), this))
            progress_->requestStop();
        return;
    }
    QDialog::reject();
}

void TCopyOut::copy(const QString& path)
{
    copying_ = true;
    choices_->hide();
    saveAs_->hide();
    help_->hide();
    progress_->show();
    result_ = copyRecordsOut(*table_.engineTable(), table_.visibleCount(), path, options(), *progress_);
    copying_ = false;
    // No message reports the end of a copy; a failure is told.
    if (result_.failed)
        showInformation(exportFailureMessage(result_, path), this);
    accept();
}

} // namespace postavo::transfer
