// The splash frmSplash as a window of its own over the core's splash model: the logo, the
// product name, the version, the progress text, the legal notice. A key press or a click on the
// frame tells the model, which unloads it; the model says when to show, hide and repaint.
//
// The start-up and File > Refresh run on the user-interface thread without returning to the
// event loop, so a progress text would never reach the screen. While a BusyScope lives, each
// repaint of the splash lets the window system paint (and lets a key press reach the splash),
// but every other mouse and keyboard event, and any attempt to close a window, is dropped:
// nothing can start a second command in the middle of a load.
#pragma once

#include <QFrame>
#include <QWidget>

#include "shell/splash.h"

class QLabel;

namespace dv::qt {

class SplashWidget : public QWidget, public SplashWindow {
    Q_OBJECT

  public:
    explicit SplashWidget(SplashModel& model, QWidget* parent = nullptr);
    ~SplashWidget() override;

    SplashModel& model() const { return model_; }
    QLabel* progressLabel() const { return progress_; }
    QLabel* versionLabel() const { return version_; }
    QLabel* noticeLabel() const { return notice_; }
    QFrame* frame() const { return frame_; }

    // SplashWindow.
    void ShowSplash() override;
    void HideSplash() override;
    void UnloadSplash() override;
    void PaintSplash() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void TakeTexts();
    void LetPaint();

    SplashModel& model_;
    QFrame* frame_;
    QLabel* version_;
    QLabel* progress_;
    QLabel* notice_;
};

// Marks the program busy with a load for its lifetime (see above). Scopes nest.
class BusyScope {
  public:
    explicit BusyScope(SplashWidget& splash);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

    static bool active();
};

}  // namespace dv::qt
