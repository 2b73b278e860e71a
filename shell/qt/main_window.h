// The MDI main window frmKRLI over the core's main controller: the store-name strip, the tree
// of views, the MDI area with one sub-window per view, the menus and the six-panel status bar.
// It only shows what the controller tells it and hands every user event to the controller.
//
// Each view's sub-window is made on the view's first show and kept for the rest of the run:
// closing it or switching views hides it. When the controller releases a view (File > Refresh,
// exit) the sub-window drops the widgets that showed it; the next show fills it again with
// the new instance.
#pragma once

#include <QMainWindow>
#include <QMdiSubWindow>
#include <QString>
#include <QTreeWidget>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "shell/event_doors.h"
#include "shell/main_tables.h"
#include "shell/shell_ui.h"

class QLabel;
class QMdiArea;
class QTimer;

namespace dv::qt {

class Dialogs;
class QtViewRegistry;
class SplashWidget;

// Where the main window opens: its client size wanted when that fits the screen's available
// room with the window manager's frame around it, else as much of it as fits; the frame's
// top-left corner at, moved so that the frame stands inside the room.
QRect OpeningGeometry(QSize wanted, const QRect& available, QSize frame, QPoint at);

// A view's sub-window: closing it only hides it. It grows, never shrinks, to the room its
// form needs at the least (the recap board's widest figure, a row of totals), so that nothing
// the form shows is cut: a figure that grows after a refill widens the window with it.
class ViewSubWindow : public QMdiSubWindow {
    Q_OBJECT

  public:
    using QMdiSubWindow::QMdiSubWindow;
    View* view() const { return view_; }
    void SetView(View* view) { view_ = view; }
    // Widens and heightens the window to its form's least size when it is smaller and, until
    // the user sizes the window, widens it to what its grids want within the client area.
    void GrowToForm();
    // Puts the window at its placement (the user's own size is forgotten) and grows it.
    void Place(const QRect& geometry);
    // Shows form in the window (null: none), watching its layout.
    void SetForm(QWidget* form);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    View* view_ = nullptr;
    bool grow_queued_ = false;
    bool sizing_ = false;      // the window sizes itself: not the user's size
    bool user_sized_ = false;  // the user sized the window since its placement
};

// The tree tv1: a node chosen with the keyboard (the arrow keys, Home, End, the page keys, a
// letter, Enter) raises nodeChosen as a click raises itemClicked, entered telling Enter from the
// keys that only move; a node the program selects raises nothing.
class ViewTree : public QTreeWidget {
    Q_OBJECT

  public:
    using QTreeWidget::QTreeWidget;

  signals:
    void nodeChosen(QTreeWidgetItem* item, bool entered);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// Where the help page is: the user's setting "HelpFile" (AppSettings(), "Dashvane" outside every
// section) when it names a file, else the installed page
// (share/dashvane/help/dashvane.html beside the program's bin folder), else the copy in the
// build tree next to the program. Empty when none exists.
QString HelpFilePath();

class QtMainWindow : public QMainWindow, public MainWindow, public LogViewerWindow {
    Q_OBJECT

  public:
    // menu_items: the menus to build (MainTables::menu_items of the program's views).
    QtMainWindow(Dialogs& dialogs, const QtViewRegistry& views,
                 std::vector<MenuItemSpec> menu_items, QWidget* parent = nullptr);
    ~QtMainWindow() override;

    // Where the window opens on a screen whose available room is available: wide enough for
    // the status bar's panels and for the tree beside a view at its place, as tall as that
    // view, never larger than the room.
    QRect OpeningGeometryOn(const QRect& available) const;

    // The doors of the controller whose windows these are (every user event goes through
    // them), and the splash that shows its progress.
    void SetDoors(EventDoors* doors) { doors_ = doors; }
    void SetSplash(SplashWidget* splash) { splash_ = splash; }

    // MainWindow.
    void SetStatusText(int panel, const std::string& text) override;
    void SetStoreName(const std::string& text) override;
    void AddTreeNode(const TreeNodeSpec& node) override;
    void ExpandTreeNode(int index) override;
    void SelectTreeNode(std::string_view key) override;
    void ShowChild(View& view) override;
    void HideChild(View& view) override;
    void PositionChild(View& view, const ChildPlacement& placement) override;
    void UnloadChild(View& view) override;
    void RepaintMainWindow() override;
    void ShowMainWindow() override;
    void CloseMainWindow() override;
    void OpenHelp() override;
    void ShowAbout() override;
    // LogViewerWindow.
    void ShowLogViewer() override;

    // The controls, for tests.
    QTreeWidget* tree() const { return tree_; }
    // F6: the focus from the tree to the shown view and back.
    QAction* paneAction() const { return pane_action_; }
    QTreeWidgetItem* treeItem(std::string_view key) const;
    QMdiArea* mdiArea() const { return mdi_; }
    QLabel* storeNameLabel() const { return store_name_; }
    QLabel* statusPanel(int panel) const;
    QAction* menuAction(Menu menu, int index) const;
    // The sub-window of a form, null before its first show.
    ViewSubWindow* subWindow(std::string_view form_name) const;
    // Drops every view's widgets (before the views themselves go).
    void DropAllForms();

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Gives the keyboard focus to the shown view's form (where it last was in it), or to the
    // tree when no view is shown.
    void FocusView();
    void BuildMenus();
    void BuildStatusBar();
    void UpdateClock();
    void OnMenu(Menu menu, int index, MenuAction action);
    ViewSubWindow* SubWindowFor(View& view);
    void DropForm(ViewSubWindow& sub);

    Dialogs& dialogs_;
    const QtViewRegistry& views_;
    const std::vector<MenuItemSpec> menu_items_;
    EventDoors* doors_ = nullptr;
    SplashWidget* splash_ = nullptr;

    QLabel* store_name_;
    ViewTree* tree_;
    QMdiArea* mdi_;
    std::vector<QLabel*> panels_;
    QTimer* clock_;
    QAction* pane_action_;
    std::vector<QTreeWidgetItem*> tree_items_;  // in insertion order
    std::map<std::string, QTreeWidgetItem*, std::less<>> tree_keys_;
    std::map<std::string, ViewSubWindow*, std::less<>> sub_windows_;
    std::map<std::pair<int, int>, QAction*> actions_;
};

}  // namespace dv::qt
