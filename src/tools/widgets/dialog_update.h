// The firmware update window: the port and speed of its own line, the board's identification,
// the firmware file, UPDATE, the guidance (red after a failure), progress and status. Modal,
// owned by the main window; it cannot close while the transfer runs.
#pragma once

#include "tools/logic/firmware_update_view.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QStatusBar;

namespace tavrin {

class FirmwareUpdate;

class Dialog_Update final : public QDialog, public FirmwareUpdateView {
    Q_OBJECT
  public:
    using PortLister = std::function<QStringList()>;
    using FileChooser = std::function<QString()>;

    explicit Dialog_Update(FirmwareUpdate& update, QWidget* parent = nullptr);
    // The ports offered come from lister (tests give their own).
    Dialog_Update(FirmwareUpdate& update, PortLister lister, QWidget* parent = nullptr);

    // Tests answer the file dialog themselves.
    void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }

    // FirmwareUpdateView
    QString portText() const override;
    QString speedText() const override;
    void showStatus(const QString& text) override;
    void showIdentification(const QString& text) override;
    void showFileName(const QString& path) override;
    void showGuidance(const QString& text, bool failure) override;
    void setProgressRange(int minimum, int maximum) override;
    void setProgressValue(int value) override;
    void setUpdateEnabled(bool enabled) override;
    void setVersionEnabled(bool enabled) override;
    void setChoicesEnabled(bool enabled) override;
    QString chooseFile(const QString& title, const QString& folder, const QString& filter,
                       const QString& defaultSuffix) override;
    void closeWindow() override;

  public slots:
    void done(int result) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    FirmwareUpdate& update_;
    FileChooser fileChooser_;
    bool loaded_ = false;
    bool closed_ = false;
    QComboBox* Combo_ComPort = nullptr;
    QComboBox* Combo_speed = nullptr;
    QPushButton* CmdVersion = nullptr;
    QLineEdit* Text_FirmwareVersion = nullptr;
    QPushButton* CmdOpen = nullptr;
    QLineEdit* Text_File = nullptr;
    QPushButton* CmdUpdate = nullptr;
    QPushButton* OKButton = nullptr;
    QLabel* Label3 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* statusPanel_ = nullptr;
};

} // namespace tavrin
