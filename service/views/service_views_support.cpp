#include "service/views/service_views_support.h"

#include "engine/error.h"
#include "engine/record_fields.h"
#include "shell/detail_form.h"
#include "shell/operation_log.h"

namespace dv::service {

std::string DateCell(const Date& d) {
    return IsEmptyDate(d) ? std::string() : FormatDate(d);
}

void ReportDetailError(View& view, std::string_view routine, const std::exception& error) {
    const std::string line = LogRoutineError(view.form_name(), routine, error);
    view.Details().Message(line.substr(1));
}

}  // namespace dv::service
