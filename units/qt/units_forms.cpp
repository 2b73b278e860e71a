#include "units/qt/units_forms.h"

#include "parts/qt/parts_forms.h"

namespace dv::qt {
namespace {

QWidget* MakeForm(View& view, const FormContext& context) {
    return new PartsViewForm(view, context);
}

}  // namespace

QtViewHooks FloorPlanQtHooks() {
    return {&MakeForm, {}};
}

QtViewHooks UnitsQtHooks() {
    return {&MakeForm, {}};
}

}  // namespace dv::qt
