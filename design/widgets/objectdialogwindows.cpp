#include "objectdialogwindows.h"

#include "imagebrowser.h"
#include "messageboxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace postavo::design {

namespace {

QDialogButtonBox* okCancelHelp(QDialog* d, int topic)
{
    auto* buttons = new QDialogButtonBox;
    QPushButton* ok = buttons->addButton(QStringLiteral("Ok"), QDialogButtonBox::AcceptRole);
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(QStringLiteral("Help"), QDialogButtonBox::HelpRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, d, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, d, &QDialog::reject);
    QObject::connect(help, &QPushButton::clicked, d, [topic] { showHelpTopic(topic); });
    return buttons;
}

} // namespace

bool ObjectDialogWindows::multiLineText(QStringList* lines, const LayoutFont& font)
{
    QDialog d(QApplication::activeWindow());
    d.setWindowTitle(QStringLiteral("Multi-line Text Editor"));
    auto* edit = new QPlainTextEdit;
    edit->setFont(screenFont(font));
    edit->setPlainText(lines->join(QLatin1Char('\n')));
    // At most 254 characters, as the layout keeps them.
    QObject::connect(edit, &QPlainTextEdit::textChanged, edit, [edit] {
        const QString t = edit->toPlainText();
        if (t.size() > 254) {
            QSignalBlocker block(edit);
            edit->setPlainText(t.left(254));
            edit->moveCursor(QTextCursor::End);
        }
    });
    auto* l = new QVBoxLayout(&d);
    l->addWidget(edit);
    l->addWidget(okCancelHelp(&d, kMultiLineTextHelpTopic));
    if (d.exec() != QDialog::Accepted)
        return false;
    const QString text = edit->toPlainText();
    *lines = text.isEmpty() ? QStringList() : text.split(QLatin1Char('\n'));
    return true;
}

bool ObjectDialogWindows::addressLayout(addressblock::Options* o)
{
    QDialog d(QApplication::activeWindow());
    d.setWindowTitle(QStringLiteral("Address Label Layout"));
    struct Box {
        const char* caption;
        bool* value;
    };
    const Box boxes[] = {{"&Name", &o->useName},         {"&Title", &o->useTitle},
                         {"&Organization", &o->useCompany}, {"Address &1", &o->useStreet},
                         {"Address &2", &o->useStreet2},  {"City + &State", &o->useCityState},
                         {"&Zip/Postal code", &o->useZip}, {"&Phone #1", &o->usePhone},
                         {"&Country", &o->useCountry},    {"&Uppercase", &o->upperCase}};
    auto* grid = new QGridLayout;
    std::vector<QCheckBox*> checks;
    int row = 0;
    for (const Box& b : boxes) {
        auto* c = new QCheckBox(QString::fromLatin1(b.caption));
        c->setChecked(*b.value);
        grid->addWidget(c, row++, 0);
        checks.push_back(c);
    }
    auto* zipGroup = new QGroupBox;
    auto* zl = new QVBoxLayout(zipGroup);
    const char* places[] = {"&After state", "&Before city", "A&fter country", "B&efore country"};
    std::vector<QRadioButton*> radios;
    for (int i = 0; i < 4; ++i) {
        auto* r = new QRadioButton(QString::fromLatin1(places[i]));
        r->setChecked(int(o->zip) == i);
        zl->addWidget(r);
        radios.push_back(r);
    }
    grid->addWidget(zipGroup, 0, 1, 6, 1);
    QCheckBox* zip = checks[6];
    zipGroup->setEnabled(zip->isChecked());
    QObject::connect(zip, &QCheckBox::toggled, zipGroup, &QWidget::setEnabled);
    auto* l = new QVBoxLayout(&d);
    l->addLayout(grid);
    l->addWidget(okCancelHelp(&d, kAddressLayoutHelpTopic));
    if (d.exec() != QDialog::Accepted)
        return false;
    for (size_t i = 0; i < checks.size(); ++i)
        *boxes[i].value = checks[i]->isChecked();
    for (int i = 0; i < 4; ++i)
        if (radios[size_t(i)]->isChecked())
            o->zip = addressblock::ZipPlace(i);
    return true;
}

bool ObjectDialogWindows::loadImage(ImageChoice* choice)
{
    const QString remembered = QDir::currentPath();
    QApplication::setOverrideCursor(Qt::ArrowCursor);
    bool taken = false;
    {
        TGImageBrowser browser(QApplication::activeWindow());
        browser.setOptions(choice->stretch, choice->autoSize);
        if (browser.exec() == QDialog::Accepted && !browser.selectedFile().isEmpty()) {
            choice->stretch = browser.stretch();
            choice->autoSize = browser.autoSize();
            const QByteArray payload = pictures::toPayload(browser.preview());
            if (payload.isEmpty()) {
                QMessageBox::critical(&browser, browser.windowTitle(), QStringLiteral("Error loading file!"));
                choice->failed = true;
            } else {
                choice->picture.data = payload;
            }
            taken = true;
        }
    }
    QApplication::restoreOverrideCursor();
    QDir::setCurrent(remembered);
    return taken;
}

} // namespace postavo::design
