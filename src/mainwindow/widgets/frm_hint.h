// The question before a part that already holds code is programmed: two lines from the caller,
// "はい", "キャンセル", and "ヒントを表示", which opens the assembly-check document and leaves the
// question open. Only "はい" overwrites; closing the window in any other way cancels.
#pragma once

#include <QDialog>

#include <array>
#include <cstdint>
#include <functional>

class QLabel;
class QPushButton;

namespace tavrin {

class frmHint : public QDialog {
    Q_OBJECT
  public:
    // Opens a document for the person; false when it could not be opened.
    using DocumentOpener = std::function<bool(const QString& path)>;

    frmHint(QWidget* mainWindow, const QString& caption, const QString& documentPath,
            DocumentOpener openDocument = {});

    void setLines(const QString& first, const QString& second);
    // Shows the question modally; the HintAnswer it leaves (1 overwrite, 2 cancel, 3 the
    // document button was pressed last).
    std::int16_t ask();
    std::int16_t answer() const { return answer_; }
    // What opening the document gave the last time (not shown: the question stays open).
    bool documentOpened() const { return documentOpened_; }

  public slots:
    void CmdOk_Click();
    void CmdCancel_Click();
    void CmdHint_Click();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void placeOverMainWindow();

    QWidget* mainWindow_;
    QString documentPath_;
    DocumentOpener openDocument_;
    std::array<QLabel*, 2> Label1{};
    QPushButton* CmdOk = nullptr;
    QPushButton* CmdCancel = nullptr;
    QPushButton* CmdHint = nullptr;
    std::int16_t answer_ = 2;
    bool documentOpened_ = false;
};

// The overwrite question as the operations ask it, shown with frmHint over the main window. An
// `owner` other than the main window (the window in front, whose button started the operation)
// keeps the question above that window.
std::int16_t askOverwriteWithHint(QWidget* mainWindow, const QString& documentPath,
                                  const QString& first, const QString& second,
                                  const frmHint::DocumentOpener& openDocument = {},
                                  QWidget* owner = nullptr);

} // namespace tavrin
