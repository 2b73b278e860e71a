#include "service/qt/service_forms.h"

#include "parts/qt/parts_forms.h"

namespace dv::qt {
namespace {

QWidget* MakeForm(View& view, const FormContext& context) {
    return new PartsViewForm(view, context);
}

}  // namespace

QtViewHooks ServiceQtHooks() {
    return {&MakeForm, {}};
}

}  // namespace dv::qt
