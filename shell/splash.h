// The splash frmSplash: the program's progress display during start-up and File > Refresh.
//
// Its rules: the one instance is created at start-up and shown; its load writes the version
// text and "Connecting to Server..."; a key press or a click on its frame unloads it (hidden,
// not loaded); a later write of the progress text loads it again (its load runs again) without
// showing it; showing it loads it when it is not loaded.
#pragma once

#include <string>
#include <string_view>

namespace dv {

// The splash's window, behind which the desktop layer's widget sits. The model calls it after
// each change, in the order the changes happen.
class SplashWindow {
  public:
    virtual ~SplashWindow() = default;
    virtual void ShowSplash() = 0;  // make visible (not modal) and paint at once
    virtual void HideSplash() = 0;
    virtual void UnloadSplash() = 0;  // hidden and no longer loaded
    // The texts changed (a load, or a new progress text): repaint the labels at once, even
    // while the start-up keeps the event loop busy.
    virtual void PaintSplash() = 0;
};

inline constexpr std::string_view kConnectingText = "Connecting to Server...";

class SplashModel {
  public:
    // version_text: "Version 2.5.3"; notice: the two lines of the legal notice.
    SplashModel(std::string version_text, std::string notice);

    void SetWindow(SplashWindow* window) { window_ = window; }

    bool loaded() const { return loaded_; }
    bool visible() const { return visible_; }
    const std::string& version_text() const { return version_; }
    const std::string& progress() const { return progress_; }    // lblProgress
    const std::string& notice() const { return notice_shown_; }  // Label3

    void Show();
    void Hide();
    void Unload();
    // lblProgress.Caption = text, then a repaint.
    void SetProgress(std::string text);
    // The splash's own events: both unload it.
    void KeyPress() { Unload(); }
    void FrameClick() { Unload(); }

  private:
    void LoadIfNeeded();

    std::string version_;
    std::string notice_;
    std::string notice_shown_;
    std::string progress_;
    bool loaded_ = false;
    bool visible_ = false;
    SplashWindow* window_ = nullptr;
};

}  // namespace dv
