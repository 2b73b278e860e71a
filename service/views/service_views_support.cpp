#include "service/views/service_views_support.h"

#include "engine/error.h"
#include "engine/record_fields.h"
#include "shell/detail_form.h"
#include "shell/operation_log.h"

namespace dv::service {

std::string DateCell(const Date& d) {
    return IsEmptyDate(d) ? std::string() : FormatDate(d);
}

}  // namespace dv::service
