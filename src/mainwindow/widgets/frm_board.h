// The board picture: the programmer board with its sockets; the socket and the jumper setting of
// the selected part are marked.
#pragma once

#include <QWidget>

class QFrame;
class QLabel;

namespace tavrin {

class SettingsStore;

class frmBoard : public QWidget {
    Q_OBJECT
  public:
    frmBoard(SettingsStore& settings, QWidget* owner);

    // Shape_8P, Shape_18P, Shape_28P, Shape_28AP, Shape_40P, Shape_12, Shape_23, Label_sel.
    void setMarkVisible(const QString& objectName, bool visible);
    bool markVisible(const QString& objectName) const;

  signals:
    // The person closed the window.
    void closedByPerson();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void savePosition();
    void placeBesideOwner();

    SettingsStore& settings_;
    bool placeBesideOwner_ = false;
};

} // namespace tavrin
