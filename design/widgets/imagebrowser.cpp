#include "imagebrowser.h"

#include "messageboxes.h"
#include "objectdialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace postavo::design {

QStringList TGImageBrowser::filePatterns()
{
    return {"*.BMP", "*.DIB", "*.JPG", "*.JIF", "*.PCX", "*.RLE", "*.TGA", "*.WMF", "*.ICO"};
}

pictures::Picture TGImageBrowser::previewPicture(const QString& path, bool* reportError)
{
    const QString ext = QFileInfo(path).suffix().toUpper();
    if (reportError)
        *reportError = false;
    if (ext == QLatin1String("BMP") || ext == QLatin1String("WMF")) {
        pictures::Picture p = pictures::loadPictureFile(path);
        if (p.isEmpty() && reportError)
            *reportError = true;
        return p;
    }
    if (ext == QLatin1String("ICO")) {
        // The icon drawn on a bitmap of its size: the preview (and the object) hold a bitmap.
        QFile f(path);
        QImage icon;
        if (f.open(QIODevice::ReadOnly))
            icon = QImage::fromData(f.readAll(), "ICO");
        if (icon.isNull())
            return {};
        QImage bmp(icon.size(), QImage::Format_RGB32);
        bmp.fill(Qt::white);
        QPainter(&bmp).drawImage(0, 0, icon);
        return pictures::bitmapPicture(bmp);
    }
    return pictures::bitmapPicture(pictures::decodeImageFile(path));
}

TGImageBrowser::TGImageBrowser(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Load Image File "));
    setWhatsThis(QStringLiteral("Choose a picture file; the preview shows it as it will be taken."));
    drives_ = new QComboBox;
    for (const QFileInfo& d : QDir::drives())
        drives_->addItem(d.absoluteFilePath());
    folders_ = new QListWidget;
    files_ = new QListWidget;
    previewLabel_ = new QLabel;
    previewLabel_->setMinimumSize(200, 200);
    previewLabel_->setFrameShape(QFrame::StyledPanel);
    previewLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    stretch_ = new QCheckBox(QStringLiteral("Stretch"));
    stretch_->setToolTip(QStringLiteral("Stretch image to max display size"));
    autoSize_ = new QCheckBox(QStringLiteral("AutoSize"));
    autoSize_->setToolTip(QStringLiteral("AutoSize TImage"));
    auto* options = new QGroupBox(QStringLiteral(" Options "));
    auto* ol = new QVBoxLayout(options);
    ol->addWidget(stretch_);
    ol->addWidget(autoSize_);

    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [] { showHelpTopic(kImageBrowserHelpTopic); });

    auto* left = new QVBoxLayout;
    left->addWidget(drives_);
    left->addWidget(folders_);
    left->addWidget(files_);
    auto* right = new QVBoxLayout;
    right->addWidget(previewLabel_, 1);
    right->addWidget(options);
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addLayout(right, 1);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(buttons);

    connect(drives_, &QComboBox::currentTextChanged, this, [this](const QString& d) { setFolder(d); });
    connect(folders_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        setFolder(QDir(folder_).absoluteFilePath(item->text()));
    });
    connect(files_, &QListWidget::currentTextChanged, this, [this] { fileChanged(); });
    connect(stretch_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            autoSize_->setChecked(false);
        showPreview();
    });
    connect(autoSize_, &QCheckBox::toggled, this, [this](bool on) {
        if (on)
            stretch_->setChecked(false);
        showPreview();
    });
    setFolder(QDir::currentPath());
}

void TGImageBrowser::setFolder(const QString& path)
{
    const QString clean = QDir(path).absolutePath();
    if (!QDir(clean).exists())
        return;
    folder_ = clean;
    // The process's current folder follows the folder list, as the picture loaders expect.
    QDir::setCurrent(folder_);
    fillLists();
}

void TGImageBrowser::fillLists()
{
    folders_->clear();
    files_->clear();
    QDir dir(folder_);
    if (!dir.isRoot())
        folders_->addItem(QStringLiteral(".."));
    folders_->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    // The patterns match regardless of letter case.
    QStringList names;
    for (const QString& n : QDir(folder_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        for (const QString& pat : filePatterns())
            if (QDir::match(pat, n.toUpper())) {
                names << n;
                break;
            }
    files_->addItems(names);
    preview_ = {};
    showPreview();
}

void TGImageBrowser::selectFile(const QString& name)
{
    const auto found = files_->findItems(name, Qt::MatchFixedString);
    if (!found.isEmpty())
        files_->setCurrentItem(found.first());
}

QString TGImageBrowser::selectedFile() const
{
    return files_->currentItem() ? QDir(folder_).absoluteFilePath(files_->currentItem()->text()) : QString();
}

void TGImageBrowser::fileChanged()
{
    const QString path = selectedFile();
    bool report = false;
    preview_ = path.isEmpty() ? pictures::Picture() : previewPicture(path, &report);
    if (report && isVisible())
        QMessageBox::critical(this, windowTitle(), QStringLiteral("Error loading file!"));
    showPreview();
}

void TGImageBrowser::showPreview()
{
    const QImage img = pictures::render(preview_, {}, screenPpi());
    if (img.isNull()) {
        previewLabel_->clear();
        return;
    }
    QSize size = img.size();
    if (stretch_->isChecked())
        size = previewLabel_->size();
    else if (!autoSize_->isChecked())
        size = previewLabel_->size() - QSize(10, 10);
    previewLabel_->setPixmap(QPixmap::fromImage(img.scaled(size.expandedTo(QSize(1, 1)))));
}

bool TGImageBrowser::stretch() const { return stretch_->isChecked(); }
bool TGImageBrowser::autoSize() const { return autoSize_->isChecked(); }

void TGImageBrowser::setOptions(bool stretch, bool autoSize)
{
    stretch_->setChecked(stretch);
    autoSize_->setChecked(autoSize);
}

} // namespace postavo::design
