#include "shell/splash.h"

namespace dv {

SplashModel::SplashModel(std::string version_text, std::string notice)
    : version_(std::move(version_text)), notice_(std::move(notice)) {}

void SplashModel::LoadIfNeeded() {
    if (loaded_) return;
    loaded_ = true;
    progress_ = std::string(kConnectingText);
    notice_shown_ = notice_;
    if (window_) window_->PaintSplash();
}

void SplashModel::Show() {
    LoadIfNeeded();
    visible_ = true;
    if (window_) window_->ShowSplash();
}

void SplashModel::Hide() {
    visible_ = false;
    if (window_) window_->HideSplash();
}

void SplashModel::Unload() {
    if (!loaded_) return;
    loaded_ = false;
    visible_ = false;
    if (window_) window_->UnloadSplash();
}

void SplashModel::SetProgress(std::string text) {
    LoadIfNeeded();
    progress_ = std::move(text);
    if (window_) window_->PaintSplash();
}

}  // namespace dv
