// The rewritable-word search window: up to four target words, the listing of the program image
// with every word that could be overwritten into a target marked, the count, and a copy saved
// where the person chooses.
#pragma once

#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace tavrin {

struct Session;
class OperatorUi;
class SettingsStore;

class frmSerch : public QWidget {
    Q_OBJECT
  public:
    // idText: the main window's ID box as shown. dataDir: where the listing work file goes.
    frmSerch(Session& session, OperatorUi& ui, SettingsStore& settings, QString dataDir,
             std::function<QString()> idText, QWidget* parent = nullptr);

    // Test seams for the save dialog (empty: cancelled), the overwrite question and the boxes
    // that report a failure.
    using SavePathAnswer = std::function<QString(const QString& startFolder)>;
    using QuestionAnswer = std::function<bool(const QString& title, const QString& text)>;
    using WarningSink = std::function<void(const QString& text)>;
    void setSavePathAnswer(SavePathAnswer a) { savePath_ = std::move(a); }
    void setQuestionAnswer(QuestionAnswer a) { question_ = std::move(a); }
    void setWarningSink(WarningSink s) { warn_ = std::move(s); }

    QLineEdit* searchCode(int n) const { return codes_[n]; }

  public slots:
    void CmdSerch_Click();
    void CmdSaveAsm_Click();
    void CmdEnd_Click();

  private:
    void warn(const QString& text);

    Session& session_;
    OperatorUi& ui_;
    SettingsStore& settings_;
    QString dataDir_;
    std::function<QString()> idText_;
    bool twelveBit_ = false;
    SavePathAnswer savePath_;
    QuestionAnswer question_;
    WarningSink warn_;

    QLabel* Label1 = nullptr;
    QLineEdit* codes_[4] = {};
    QPushButton* CmdSerch = nullptr;
    QPushButton* CmdSaveAsm = nullptr;
    QPushButton* CmdEnd = nullptr;
    QPlainTextEdit* RichResult = nullptr;
    QLabel* Lbl_flag_cnt = nullptr;
};

} // namespace tavrin
