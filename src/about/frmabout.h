#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

namespace Ui {
class frmabout;
}

namespace horlan {

class Shell;

// The about dialog: title, version, rights notice, and a link to the maker's web site.
// Shown modally from the main window.
class frmabout : public QDialog {
    Q_OBJECT

public:
    // `mainWindow` is minimised when the link is followed; it may be null.
    frmabout(Shell& shell, QWidget* mainWindow, QWidget* parent = nullptr);
    ~frmabout() override;

private slots:
    void cmdOK_Click();
    void lblurl_Click();

protected:
private:
    void Form_Load();

    std::unique_ptr<::Ui::frmabout> ui;
    Shell& shell_;
    QPointer<QWidget> mainWindow_;
};

// "Version " and major.minor.revision of the program.
QString VersionLine();

// The rights notice, running up to `year`.
QString NoticeLine(int year);

} // namespace horlan
