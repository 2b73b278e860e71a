// The desktop side of a form's layout description (shell/form_layout.h): places the widgets the
// generic view form and the generic detail dialog made for their controls, row by row, and keeps
// the framed groups, whose titles are the form's labels.
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/form_layout.h"
#include "shell/view.h"

class QBoxLayout;
class QFont;
class QGroupBox;
class QLabel;
class QWidget;

namespace dv::qt {

// The widgets of a form's controls by name; null for a name the form has none of.
struct FormWidgets {
    std::function<QLabel*(std::string_view)> label;
    std::function<QWidget*(std::string_view)> grid;
    std::function<QWidget*(std::string_view)> choice;
    std::function<QWidget*(std::string_view)> control;  // one the form's own code made
};

// A font made bold, its size scaled by scale.
QFont Bold(QFont font, double scale = 1.0);

class FormPlacement {
  public:
    // Adds the description's rows to layout, the widgets reparented to owner. A row with a grid
    // takes the height left; a group titled by a label is a frame holding its labels; the
    // picture is made here.
    void Place(QWidget& owner, QBoxLayout& layout, const FormLayout& description,
               const FormWidgets& widgets);

    // The frame a label titles, null when it titles none.
    QGroupBox* group(std::string_view title) const;
    // Shows a title label's model on its frame (caption and visibility); false when the label
    // titles no frame.
    bool ShowTitle(const FormLabel& model) const;

  private:
    std::vector<std::pair<std::string, QGroupBox*>> groups_;
};

}  // namespace dv::qt
