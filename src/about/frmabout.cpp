#include "about/frmabout.h"

#include "about/ProductInfo.h"
#include "runtime/AppInfo.h"
#include "runtime/LabelClick.h"
#include "runtime/ResumeNext.h"
#include "runtime/Shell.h"
#include "ui_frmabout.h"

#include <QDate>
#include <QLabel>
#include <QUrl>
#include <algorithm>

namespace horlan {

namespace {

// The fingertip of the pointing-hand picture, where the pointer clicks.
constexpr int HandHotX = 13;
constexpr int HandHotY = 4;

// Labels keep their place; in the desktop's font a text may need more room than planned.
void WidenToText(QLabel* label) {
    label->resize(std::max(label->width(), label->sizeHint().width()), label->height());
}

void PaintLine(QFrame* line, QPalette::ColorRole role) {
    line->setBackgroundRole(role);
    line->setAutoFillBackground(true);
}

} // namespace

QString VersionLine() {
    const ProductVersion v = Version();
    return QCoreApplication::translate("frmabout", "Version %1.%2.%3")
        .arg(v.Major)
        .arg(v.Minor)
        .arg(v.Revision);
}

QString NoticeLine(int year) {
    return QCoreApplication::translate("frmabout", "Copyright \u00A9 2000 - %1").arg(year);
}

frmabout::frmabout(Shell& shell, QWidget* mainWindow, QWidget* parent)
    : QDialog(parent), ui(std::make_unique<::Ui::frmabout>()), shell_(shell),
      mainWindow_(mainWindow) {
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    setModal(true);

    for (QFrame* dark : {ui->Line1, ui->Line5, ui->Line4}) {
        PaintLine(dark, QPalette::Dark);
    }
    for (QFrame* light : {ui->Line2, ui->Line3}) {
        PaintLine(light, QPalette::Light);
    }

    SetLinkColor(ui->lblurl, QColor(0, 0, 192));
    ui->lblurl->setCursor(QCursor(ui->imghand->pixmap(), HandHotX, HandHotY));
    ConnectClick(ui->lblurl, [this] { lblurl_Click(); });
    // "&Ok" holds the focus first; Tab goes on to the link.
    setTabOrder(ui->cmdOK, ui->lblurl);
    ui->cmdOK->setFocus();

    connect(ui->cmdOK, &QPushButton::clicked, this, &frmabout::cmdOK_Click);
    Form_Load();
}

frmabout::~frmabout() = default;

void frmabout::Form_Load() {
    QFont title = ui->lblprogtitle->font();
    title.setPointSizeF(13.5);
    ui->lblprogtitle->setFont(title);
    QFont version = ui->lblversion->font();
    version.setPointSizeF(9.75);
    version.setBold(true);
    ui->lblversion->setFont(version);

    ui->lblprogtitle->setText(AppTitle());
    ui->lblversion->setText(VersionLine());
    ui->lblnotice->setText(NoticeLine(QDate::currentDate().year()));
    ui->lblnotice->resize(ui->lblnotice->sizeHint().width(), ui->lblnotice->height());
    ui->lblauthor->setText(QString::fromUtf8(AuthorLine));
    ui->lblurl->setText(QString::fromUtf8(MakerWebAddress));
    for (QLabel* label : {ui->lblprogtitle, ui->lblversion, ui->lblauthor, ui->lbltext3,
                          ui->lbltext4, ui->lbltext5, ui->lblurl}) {
        WidenToText(label);
    }
}

void frmabout::cmdOK_Click() {
    close();
}

void frmabout::lblurl_Click() {
    if (mainWindow_) {
        mainWindow_->showMinimized();
    }
    // Failing to open the site is not reported; the dialog closes all the same.
    ResumeNext([&] { shell_.OpenUrl(QUrl(QString::fromUtf8(MakerWebAddress))); });
    close();
}

} // namespace horlan
