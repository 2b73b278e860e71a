// The recap board frmRecap: the 22 figures of the core's board in its three blocks, each a
// clickable label that turns red when its view marks it. A click reports the label's index;
// the controller decides whether it opens the log viewer.
#pragma once

#include <QLabel>
#include <QWidget>
#include <array>
#include <functional>

#include "shell/recap_board.h"

namespace dv::qt {

class ClickableLabel : public QLabel {
    Q_OBJECT

  public:
    using QLabel::QLabel;

  signals:
    void clicked();

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

class RecapForm : public QWidget, private ViewListener {
    Q_OBJECT

  public:
    RecapForm(RecapBoard& board, std::function<void(int)> on_click, QWidget* parent = nullptr);
    ~RecapForm() override;

    RecapBoard& board() const { return board_; }
    // lblRecap(index), and lblcompiledate.
    ClickableLabel* figure(int index) const { return figures_[static_cast<size_t>(index)]; }
    QLabel* compileLabel() const { return compile_; }

  private:
    void OnLabelChanged(const View& view, int label) override;
    void Show(int label);

    RecapBoard& board_;
    std::function<void(int)> on_click_;
    std::array<ClickableLabel*, kRecapLabelCount> figures_{};
    QLabel* compile_;
};

}  // namespace dv::qt
