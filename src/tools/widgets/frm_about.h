// The about box: the program's title, version, description, a notice line and the ID word line,
// a button to the support page, and a click on the icon that reveals the serial-number settings.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QToolButton;

namespace tavrin {

class AboutBoxModel;

class frmAbout : public QDialog {
    Q_OBJECT
  public:
    // Opens a web page; false when it could not.
    using PageOpener = std::function<bool(const QString& url)>;

    frmAbout(AboutBoxModel& model, QWidget* parent = nullptr);
    frmAbout(AboutBoxModel& model, PageOpener openPage, QWidget* parent = nullptr);

    QLabel* label(const char* objectName) const;
    QPushButton* supportButton() const { return Command1; }
    QPushButton* closeButton() const { return CmdOk; }
    QToolButton* icon() const { return picIcon; }
    // What the page opener answered the last time (kept, not shown).
    bool lastPageOpened() const { return lastPageOpened_; }

  signals:
    // The icon was clicked: the serial-number settings are to be revealed and shown.
    void serialSettingsRequested();

  public slots:
    void Command1_Click();
    void CmdOk_Click();
    void picIcon_Click();

  protected:
    void done(int result) override;

  private:
    AboutBoxModel& model_;
    PageOpener openPage_;
    bool lastPageOpened_ = false;
    QToolButton* picIcon = nullptr;
    QLabel* lblTitle = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblDescription = nullptr;
    QLabel* lblDisclaimer = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label_ID_Word = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* CmdOk = nullptr;
};

} // namespace tavrin
