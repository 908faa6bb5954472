// The memory-usage picture: four page strips of the program image, painted again at each
// press of "表示" from the image and size of that moment.
#pragma once

#include "tools/logic/memory_usage.h"

#include <QWidget>

#include <optional>

class QLabel;
class QPushButton;

namespace tavrin {

struct Session;

// One page strip. Paints the used colour over its fraction and a black line per erased word.
class PageStripView : public QWidget {
  public:
    using QWidget::QWidget;
    void setStrip(std::optional<PageStrip> strip);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    std::optional<PageStrip> strip_;
};

class frmMemStatus : public QWidget {
    Q_OBJECT
  public:
    explicit frmMemStatus(Session& session, QWidget* parent = nullptr);

    PageStripView* picture(int page) const { return pictures_[page]; }

  public slots:
    void CmdDisplay_Click();
    void Cmd_close_Click();

  private:
    Session& session_;
    PageStripView* pictures_[4] = {};
    QPushButton* CmdDisplay = nullptr;
    QPushButton* Cmd_close = nullptr;
};

// The used colour: red FF, green 80, blue 80.
inline constexpr unsigned kUsedColourRgb = 0xFF8080;

} // namespace tavrin
