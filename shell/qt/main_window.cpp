#include "shell/qt/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/dates.h"
#include "engine/error.h"
#include "platform/messages.h"
#include "records/clock_text.h"
#include "shell/operation_log.h"
#include "shell/qt/about_box.h"
#include "shell/qt/dialogs.h"
#include "shell/qt/help_window.h"
#include "shell/qt/icons.h"
#include "shell/qt/log_viewer.h"
#include "shell/qt/qt_views.h"
#include "shell/qt/recap_form.h"
#include "shell/qt/splash_widget.h"
#include "shell/qt/text.h"
#include "shell/qt/twips.h"
#include "shell/recap_board.h"
#include "shell/settings_store.h"

namespace dv::qt {

namespace {

// The tree control's own errors.
[[noreturn]] void RaiseTree(int32_t number, const char* description) {
    throw BasicError(number, "tv1", description);
}
constexpr int32_t kTreeIndexOutOfBounds = 35600;
constexpr int32_t kTreeElementNotFound = 35601;
constexpr int32_t kTreeKeyNotUnique = 35602;

// The tree's width at start.
constexpr int kTreeTwips = 3300;
// The room a window manager's frame takes around the client area before the window is shown
// (its borders and its title bar).
constexpr QSize kFrameAllowance(16, 40);

constexpr Menu kMenuBar[] = {Menu::kFile, Menu::kView, Menu::kOptions, Menu::kHelp};

}  // namespace

QRect OpeningGeometry(QSize wanted, const QRect& available, QSize frame, QPoint at) {
    const QSize room = (available.size() - frame).expandedTo(QSize(1, 1));
    const QSize size = wanted.boundedTo(room);
    // The frame's top-left corner stays inside the room and its far edges too.
    const int x =
        std::clamp(at.x(), available.left(), available.left() + room.width() - size.width());
    const int y =
        std::clamp(at.y(), available.top(), available.top() + room.height() - size.height());
    return {QPoint(x, y), size};
}

void ViewSubWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

bool ViewSubWindow::eventFilter(QObject* watched, QEvent* event) {
    // A form's layout asks for a new layout when a label's text changed its size: once that
    // has been laid out, the window takes what the form now needs.
    if (watched == widget() && event->type() == QEvent::LayoutRequest && !grow_queued_) {
        grow_queued_ = true;
        QMetaObject::invokeMethod(
            this,
            [this] {
                grow_queued_ = false;
                GrowToForm();
            },
            Qt::QueuedConnection);
    }
    return QMdiSubWindow::eventFilter(watched, event);
}

void ViewSubWindow::SetForm(QWidget* form) {
    if (QWidget* old = widget()) old->removeEventFilter(this);
    setWidget(form);
    if (form != nullptr) form->installEventFilter(this);
}

void ViewSubWindow::GrowToForm() {
    QWidget* form = widget();
    if (form == nullptr || isMaximized() || isMinimized()) return;
    // The window's frame and title bar around the form, and the least size of the form.
    const QSize frame = size() - form->size();
    QSize least = form->minimumSizeHint().expandedTo(form->minimumSize()) + frame;
    // As wide as the form's grids want (each column beside the others unscrolled), as far as
    // the main window's client area reaches right of the window; a width the user chose stays.
    if (QWidget* area = parentWidget(); area != nullptr && !user_sized_) {
        const int room = area->width() - x();
        least.setWidth(
            std::max(least.width(), std::min(form->sizeHint().width() + frame.width(), room)));
    }
    if (width() >= least.width() && height() >= least.height()) return;
    sizing_ = true;
    resize(std::max(width(), least.width()), std::max(height(), least.height()));
    sizing_ = false;
}

void ViewSubWindow::Place(const QRect& geometry) {
    sizing_ = true;
    setGeometry(geometry);
    sizing_ = false;
    user_sized_ = false;
    GrowToForm();
}

void ViewSubWindow::resizeEvent(QResizeEvent* event) {
    if (!sizing_ && isVisible()) user_sized_ = true;
    QMdiSubWindow::resizeEvent(event);
}

void ViewTree::keyPressEvent(QKeyEvent* event) {
    QTreeWidgetItem* before = currentItem();
    QTreeWidget::keyPressEvent(event);
    QTreeWidgetItem* after = currentItem();
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (after != nullptr && (after != before || enter)) emit nodeChosen(after, enter);
}

QString HelpFilePath() {
    const std::string help = AppSettings().GetOr(kSettingsApplication, "", "HelpFile", "");
    const QString setting = QString::fromUtf8(help.data(), static_cast<qsizetype>(help.size()));
    if (!setting.isEmpty() && QFileInfo(setting).isFile()) return setting;
    const QDir bin(QCoreApplication::applicationDirPath());
    for (const char* relative : {"../share/dashvane/help/dashvane.html", "help/dashvane.html"}) {
        const QString path = QDir::cleanPath(bin.filePath(relative));
        if (QFileInfo(path).isFile()) return path;
    }
    return {};
}

QtMainWindow::QtMainWindow(Dialogs& dialogs, const QtViewRegistry& views,
                           std::vector<MenuItemSpec> menu_items, QWidget* parent)
    : QMainWindow(parent),
      dialogs_(dialogs),
      views_(views),
      menu_items_(std::move(menu_items)),
      store_name_(new QLabel),
      tree_(new ViewTree),
      mdi_(new QMdiArea),
      clock_(new QTimer(this)),
      pane_action_(new QAction(this)) {
    setObjectName("frmKRLI");
    setWindowTitle(ToQ(kMainCaption));
    setWindowIcon(AppIcon());

    auto* pic1 = new QFrame;
    pic1->setObjectName("pic1");
    pic1->setFrameShape(QFrame::StyledPanel);
    pic1->setAutoFillBackground(true);
    QPalette strip = pic1->palette();
    strip.setColor(QPalette::Window, QColor(0, 0, 128));
    strip.setColor(QPalette::WindowText, Qt::white);
    pic1->setPalette(strip);
    store_name_->setObjectName("lblStoreName");
    QFont store_font = store_name_->font();
    store_font.setBold(true);
    store_font.setPointSizeF(store_font.pointSizeF() * 1.5);
    store_name_->setFont(store_font);
    store_name_->setPalette(strip);
    auto* pic1_layout = new QHBoxLayout(pic1);
    pic1_layout->setContentsMargins(12, 6, 12, 6);
    pic1_layout->addWidget(store_name_);

    auto* pic2 = new QFrame;
    pic2->setObjectName("pic2");
    tree_->setObjectName("tv1");
    tree_->setHeaderHidden(true);
    tree_->setIconSize(QSize(16, 16));
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    auto* pic2_layout = new QVBoxLayout(pic2);
    pic2_layout->setContentsMargins(0, 0, 0, 0);
    pic2_layout->addWidget(tree_);
    pic2->setMinimumWidth(TwipsX(this, kTreeTwips * 2 / 3));

    mdi_->setObjectName("mdiClient");
    mdi_->setBackground(QColor(128, 128, 128));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(pic2);
    splitter->addWidget(mdi_);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    // Room for the tree and for a view at its place.
    const int tree_width = TwipsX(this, kTreeTwips);
    splitter->setSizes({tree_width, TwipsX(this, 110 + 10905 + 500)});

    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(pic1);
    layout->addWidget(splitter, 1);
    setCentralWidget(central);

    BuildMenus();
    BuildStatusBar();

    // Only a user's click on a node raises the node-click event; selecting a node from the
    // program does not.
    const auto node_click = [this](QTreeWidgetItem* item) {
        if (!doors_ || !item) return;
        doors_->TreeClick(FromQ(item->data(0, Qt::UserRole).toString()));
    };
    // A node walked to with the keys shows its view and leaves the focus in the tree, so that
    // the next key walks on; Enter on a view's node, or a click on it, goes into the view.
    // (The group nodes, which hold the views, show nothing.)
    connect(tree_, &QTreeWidget::itemClicked, this, [this, node_click](QTreeWidgetItem* item) {
        node_click(item);
        if (item != nullptr && item->childCount() == 0) FocusView();
    });
    connect(tree_, &ViewTree::nodeChosen, this,
            [this, node_click](QTreeWidgetItem* item, bool entered) {
                node_click(item);
                if (entered && item != nullptr && item->childCount() == 0) {
                    FocusView();
                } else {
                    tree_->setFocus(Qt::OtherFocusReason);
                }
            });
    // F6 goes from the tree into the shown view and from the view back to the tree.
    pane_action_->setObjectName("switchPane");
    pane_action_->setShortcut(QKeySequence(Qt::Key_F6));
    pane_action_->setShortcutContext(Qt::WindowShortcut);
    connect(pane_action_, &QAction::triggered, this, [this] {
        if (tree_->hasFocus()) {
            FocusView();
        } else {
            tree_->setFocus(Qt::ShortcutFocusReason);
        }
    });
    addAction(pane_action_);

    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect opening =
        OpeningGeometryOn(screen ? screen->availableGeometry() : QRect(0, 0, 1 << 14, 1 << 14));
    resize(opening.size());
    move(opening.topLeft());  // where the frame's corner stands
}

void QtMainWindow::FocusView() {
    QMdiSubWindow* sub = mdi_->activeSubWindow();
    QWidget* form = sub != nullptr && sub->isVisible() ? sub->widget() : nullptr;
    if (form == nullptr) {
        tree_->setFocus(Qt::OtherFocusReason);
        return;
    }
    // Where the focus last was in the form, else its first control that takes it by Tab.
    QWidget* target = form->focusWidget();
    for (QWidget* next = form->nextInFocusChain(); target == nullptr && next != form;
         next = next->nextInFocusChain()) {
        if (form->isAncestorOf(next) && next->isVisibleTo(form) && next->isEnabled() &&
            (next->focusPolicy() & Qt::TabFocus) != 0)
            target = next;
    }
    (target != nullptr ? target : form)->setFocus(Qt::OtherFocusReason);
}

QRect QtMainWindow::OpeningGeometryOn(const QRect& available) const {
    const ChildPlacement place;
    int panels = 0;
    for (int twips : kStatusPanelTwips) panels += twips;
    const QSize wanted(TwipsX(this, std::max(kTreeTwips + place.left + place.width + 500, panels)),
                       TwipsY(this, place.top + place.height + 2000));
    return OpeningGeometry(wanted, available, kFrameAllowance, pos());
}

QtMainWindow::~QtMainWindow() = default;

void QtMainWindow::BuildMenus() {
    for (Menu menu : kMenuBar) {
        QString title;
        for (const MenuItemSpec& item : menu_items_) {
            if (item.menu == menu && item.index < 0) title = ToQ(item.caption);
        }
        QMenu* bar_menu = menuBar()->addMenu(title);
        for (const MenuItemSpec& item : menu_items_) {
            if (item.menu != menu || item.index < 0) continue;
            if (item.action == MenuAction::kSeparator) {
                bar_menu->addSeparator();
                continue;
            }
            if (item.action == MenuAction::kSubmenu) {
                QMenu* sub = bar_menu->addMenu(ToQ(item.caption));
                actions_[{static_cast<int>(item.menu), item.index}] = sub->menuAction();
                for (const MenuItemSpec& inner : menu_items_) {
                    if (inner.menu != Menu::kInventory || inner.index < 0) continue;
                    QAction* action = sub->addAction(ToQ(inner.caption));
                    actions_[{static_cast<int>(inner.menu), inner.index}] = action;
                    connect(action, &QAction::triggered, this,
                            [this, inner] { OnMenu(inner.menu, inner.index, inner.action); });
                }
                continue;
            }
            QAction* action = bar_menu->addAction(ToQ(item.caption));
            if (!item.shortcut.empty()) {
                action->setShortcut(QKeySequence::fromString(ToQ(item.shortcut)));
                action->setShortcutContext(Qt::ApplicationShortcut);
            }
            actions_[{static_cast<int>(item.menu), item.index}] = action;
            connect(action, &QAction::triggered, this,
                    [this, item] { OnMenu(item.menu, item.index, item.action); });
        }
    }
}

void QtMainWindow::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("sb1");
    bar->setSizeGripEnabled(true);
    for (size_t i = 0; i < kStatusPanelTwips.size(); ++i) {
        auto* panel = new QLabel;
        panel->setObjectName(QString("sb1 panel %1").arg(i + 1));
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        panel->setMinimumWidth(TwipsX(this, 600));
        // The panels share the bar's width in the proportions of their widths in twips.
        panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        if (i >= 4) panel->setAlignment(Qt::AlignCenter);
        bar->addWidget(panel, kStatusPanelTwips[i] / 100);
        panels_.push_back(panel);
    }
    UpdateClock();
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &QtMainWindow::UpdateClock);
    clock_->start();
}

void QtMainWindow::UpdateClock() {
    const Date now = Now();
    panels_[4]->setText(ToQ(ShortTimeText(now)));
    panels_[5]->setText(ToQ(ShortDateText(now)));
}

void QtMainWindow::OnMenu(Menu menu, int index, MenuAction action) {
    if (!doors_) return;
    if (action == MenuAction::kRefresh && splash_ != nullptr) {
        BusyScope busy(*splash_);
        doors_->MenuClick(menu, index);
    } else {
        doors_->MenuClick(menu, index);
    }
}

QLabel* QtMainWindow::statusPanel(int panel) const {
    if (panel < 1 || panel > static_cast<int>(panels_.size())) return nullptr;
    return panels_[static_cast<size_t>(panel - 1)];
}

QAction* QtMainWindow::menuAction(Menu menu, int index) const {
    const auto it = actions_.find({static_cast<int>(menu), index});
    return it == actions_.end() ? nullptr : it->second;
}

QTreeWidgetItem* QtMainWindow::treeItem(std::string_view key) const {
    const auto it = tree_keys_.find(key);
    return it == tree_keys_.end() ? nullptr : it->second;
}

ViewSubWindow* QtMainWindow::subWindow(std::string_view form_name) const {
    const auto it = sub_windows_.find(form_name);
    return it == sub_windows_.end() ? nullptr : it->second;
}

void QtMainWindow::SetStatusText(int panel, const std::string& text) {
    if (QLabel* label = statusPanel(panel)) label->setText(ToQ(text));
}

void QtMainWindow::SetStoreName(const std::string& text) {
    store_name_->setText(ToQ(text));
    store_name_->repaint();
}

void QtMainWindow::AddTreeNode(const TreeNodeSpec& node) {
    if (tree_keys_.count(node.key) != 0)
        RaiseTree(kTreeKeyNotUnique, "Key is not unique in collection");
    QTreeWidgetItem* item = nullptr;
    if (node.parent.empty()) {
        item = new QTreeWidgetItem(tree_);
    } else {
        QTreeWidgetItem* parent = treeItem(node.parent);
        if (!parent) RaiseTree(kTreeElementNotFound, "Element not found");
        item = new QTreeWidgetItem(parent);
    }
    item->setText(0, ToQ(node.text));
    item->setData(0, Qt::UserRole, ToQ(node.key));
    item->setIcon(0, TreeIcon(node.image, node.selected_image));
    tree_items_.push_back(item);
    tree_keys_.emplace(std::string(node.key), item);
}

void QtMainWindow::ExpandTreeNode(int index) {
    if (index < 1 || index > static_cast<int>(tree_items_.size())) {
        RaiseTree(kTreeIndexOutOfBounds, "Index out of bounds");
    }
    tree_items_[static_cast<size_t>(index - 1)]->setExpanded(true);
}

void QtMainWindow::SelectTreeNode(std::string_view key) {
    QTreeWidgetItem* item = treeItem(key);
    if (!item) RaiseTree(kTreeElementNotFound, "Element not found");
    tree_->setCurrentItem(item);
}

ViewSubWindow* QtMainWindow::SubWindowFor(View& view) {
    ViewSubWindow* sub = subWindow(view.form_name());
    if (sub == nullptr) {
        sub = new ViewSubWindow;
        sub->setObjectName(ToQ(view.form_name()) + " window");
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        sub->setWindowIcon(view.form_name() == form::kRecap ? QIcon(TreeImage(3))
                                                            : QIcon(TreeImage(1)));
        mdi_->addSubWindow(sub);
        sub_windows_.emplace(view.form_name(), sub);
    }
    if (sub->view() != &view) {
        DropForm(*sub);
        QWidget* form = nullptr;
        if (auto* board = dynamic_cast<RecapBoard*>(&view)) {
            form = new RecapForm(*board, [this](int index) {
                if (doors_) doors_->RecapClick(index);
            });
        } else {
            form = views_.MakeForm(view, FormContext{*doors_, dialogs_, this});
        }
        sub->SetForm(form);
        sub->setWindowTitle(ToQ(view.caption()));
        sub->SetView(&view);
    }
    return sub;
}

void QtMainWindow::DropForm(ViewSubWindow& sub) {
    if (QWidget* form = sub.widget()) {
        sub.SetForm(nullptr);
        delete form;
    }
    sub.SetView(nullptr);
}

void QtMainWindow::DropAllForms() {
    for (auto& [name, sub] : sub_windows_) {
        sub->hide();
        DropForm(*sub);
    }
}

void QtMainWindow::ShowChild(View& view) {
    ViewSubWindow* sub = SubWindowFor(view);
    // Showing a child shows its MDI main window.
    if (!isVisible()) show();
    sub->show();
    sub->GrowToForm();
    sub->raise();
    mdi_->setActiveSubWindow(sub);
}

void QtMainWindow::HideChild(View& view) {
    if (ViewSubWindow* sub = subWindow(view.form_name())) sub->hide();
}

void QtMainWindow::PositionChild(View& view, const ChildPlacement& placement) {
    ViewSubWindow* sub = subWindow(view.form_name());
    if (sub == nullptr) return;
    sub->Place(QRect(TwipsX(this, placement.left), TwipsY(this, placement.top),
                     TwipsX(this, placement.width), TwipsY(this, placement.height)));
    sub->repaint();
}

void QtMainWindow::UnloadChild(View& view) {
    ViewSubWindow* sub = subWindow(view.form_name());
    if (sub == nullptr || sub->view() != &view) return;
    sub->hide();
    DropForm(*sub);
}

void QtMainWindow::RepaintMainWindow() {
    repaint();
}

void QtMainWindow::ShowMainWindow() {
    show();
    raise();
    activateWindow();
}

void QtMainWindow::CloseMainWindow() {
    close();
}

void QtMainWindow::OpenHelp() {
    const QString path = HelpFilePath();
    if (!path.isEmpty()) {
        HelpWindow help(path, this);
        dialogs_.RunModal(help);
        return;
    }
    dialogs_.Message(this, ToQ(platform::kApplicationTitle), "The help file could not be opened.",
                     DialogIcon::kNone);
}

void QtMainWindow::ShowAbout() {
    AboutBox box(dialogs_, this);
    dialogs_.RunModal(box);
}

void QtMainWindow::ShowLogViewer() {
    LogViewer viewer(dialogs_, mLogPath, this);
    dialogs_.RunModal(viewer);
}

void QtMainWindow::closeEvent(QCloseEvent* event) {
    if (doors_) doors_->Unload();
    DropAllForms();
    event->accept();
}

}  // namespace dv::qt
