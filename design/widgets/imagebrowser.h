#pragma once
// The image browser "Load Image File ": a drive box, a folder list and a file list of the
// picture files, a preview pane, the " Options " Stretch and AutoSize, and Ok / Cancel / Help.

#include "designtypes.h"
#include "picturedecoder.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;

namespace postavo::design {

class TGImageBrowser : public QDialog {
    Q_OBJECT
public:
    explicit TGImageBrowser(QWidget* parent = nullptr);

    // The files the list shows.
    static QStringList filePatterns();
    // What the preview shows for a file: ".BMP" and ".WMF" through the picture's own loader,
    // ".ICO" as a bitmap of the icon, anything else through the image decoder. An empty picture
    // when it cannot be read; `reportError` is set for the kinds that say so.
    static pictures::Picture previewPicture(const QString& path, bool* reportError);

    void setFolder(const QString& path);
    QString folder() const { return folder_; }
    void selectFile(const QString& name);
    QString selectedFile() const;
    const pictures::Picture& preview() const { return preview_; }

    bool stretch() const;
    bool autoSize() const;
    void setOptions(bool stretch, bool autoSize);

private:
    void fillLists();
    void fileChanged();
    void showPreview();

    QString folder_;
    QComboBox* drives_;
    QListWidget* folders_;
    QListWidget* files_;
    QLabel* previewLabel_;
    QCheckBox* stretch_;
    QCheckBox* autoSize_;
    pictures::Picture preview_;
};

} // namespace postavo::design
