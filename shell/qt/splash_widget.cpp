#include "shell/qt/splash_widget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "shell/qt/icons.h"
#include "shell/qt/text.h"

namespace dv::qt {

namespace {

// The input events a load drops, and the splash that may still take key presses.
class BusyFilter : public QObject {
  public:
    explicit BusyFilter(SplashWidget& splash) : splash_(splash) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        // Menu shortcuts reach their actions, which are no widgets.
        if (event->type() == QEvent::Shortcut) return true;
        // Window-system events pass on to the widgets, where they are judged.
        if (!watched->isWidgetType()) return false;
        // A message box of the load (the engine's connection messages) works as usual.
        if (Inside(watched, QApplication::activeModalWidget())) return false;
        switch (event->type()) {
            case QEvent::KeyPress:
                // Whichever window has the focus, a key press while the splash is up is the
                // splash's.
                if (splash_.model().visible()) splash_.model().KeyPress();
                return true;
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
                return !Inside(watched, &splash_);
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
                return true;
            case QEvent::Close:
                // Refused, not just dropped: a dropped close event would count as accepted.
                event->ignore();
                return true;
            default:
                return false;
        }
    }

  private:
    static bool Inside(QObject* object, const QObject* window) {
        if (window == nullptr) return false;
        for (QObject* o = object; o; o = o->parent()) {
            if (o == window) return true;
        }
        return false;
    }

    SplashWidget& splash_;
};

int g_busy_depth = 0;
BusyFilter* g_busy_filter = nullptr;

}  // namespace

SplashWidget::SplashWidget(SplashModel& model, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      model_(model),
      frame_(new QFrame(this)),
      version_(new QLabel(frame_)),
      progress_(new QLabel(frame_)),
      notice_(new QLabel(frame_)) {
    setObjectName("frmSplash");
    setWindowTitle("Dashvane 2");
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_ShowWithoutActivating, false);

    frame_->setObjectName("Frame1");
    frame_->setFrameShape(QFrame::Box);
    frame_->setLineWidth(2);
    frame_->installEventFilter(this);

    auto* logo = new QLabel(frame_);
    logo->setObjectName("imgLogo");
    logo->setPixmap(LogoPixmap(96));
    auto* company = new QLabel("Tesmar", frame_);
    company->setObjectName("Label1");
    auto* product = new QLabel("Dashvane 2", frame_);
    product->setObjectName("lblProductName");
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 2.2);
    big.setBold(true);
    product->setFont(big);
    auto* tagline = new QLabel("Management Dashboard", frame_);
    tagline->setObjectName("Label2");
    version_->setObjectName("lblVersion");
    progress_->setObjectName("lblProgress");
    QFont bold = progress_->font();
    bold.setBold(true);
    progress_->setFont(bold);
    progress_->setMinimumWidth(360);
    notice_->setObjectName("Label3");
    notice_->setWordWrap(true);
    QFont small = notice_->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    notice_->setFont(small);
    auto* line = new QFrame(frame_);
    line->setObjectName("Line1");
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* names = new QVBoxLayout;
    names->addWidget(company);
    names->addWidget(product);
    names->addWidget(tagline);
    names->addWidget(version_);
    names->addStretch();
    auto* top = new QHBoxLayout;
    top->addWidget(logo, 0, Qt::AlignTop);
    top->addSpacing(16);
    top->addLayout(names, 1);
    auto* inside = new QVBoxLayout(frame_);
    inside->setContentsMargins(20, 20, 20, 16);
    inside->addLayout(top);
    inside->addSpacing(12);
    inside->addWidget(progress_);
    inside->addWidget(line);
    inside->addWidget(notice_);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->addWidget(frame_);

    model_.SetWindow(this);
    TakeTexts();
}

SplashWidget::~SplashWidget() {
    model_.SetWindow(nullptr);
}

void SplashWidget::TakeTexts() {
    version_->setText(ToQ(model_.version_text()));
    progress_->setText(ToQ(model_.progress()));
    notice_->setText(ToQ(model_.notice()));
}

void SplashWidget::LetPaint() {
    // Only while a load keeps the event loop busy: the window system gets its turn to put the
    // new text on the screen; the busy filter keeps every command out.
    if (BusyScope::active()) QApplication::processEvents(QEventLoop::AllEvents, 50);
}

void SplashWidget::ShowSplash() {
    TakeTexts();
    adjustSize();
    if (!isVisible()) {
        if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
    repaint();
    LetPaint();
}

void SplashWidget::HideSplash() {
    hide();
}

void SplashWidget::UnloadSplash() {
    hide();
}

void SplashWidget::PaintSplash() {
    TakeTexts();
    if (!isVisible()) return;
    progress_->repaint();
    version_->repaint();
    LetPaint();
}

void SplashWidget::keyPressEvent(QKeyEvent*) {
    model_.KeyPress();
}

bool SplashWidget::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frame_ && event->type() == QEvent::MouseButtonPress) {
        model_.FrameClick();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

BusyScope::BusyScope(SplashWidget& splash) {
    if (g_busy_depth++ == 0) {
        g_busy_filter = new BusyFilter(splash);
        qApp->installEventFilter(g_busy_filter);
    }
}

BusyScope::~BusyScope() {
    if (--g_busy_depth == 0) {
        qApp->removeEventFilter(g_busy_filter);
        delete g_busy_filter;
        g_busy_filter = nullptr;
    }
}

bool BusyScope::active() {
    return g_busy_depth > 0;
}

}  // namespace dv::qt
