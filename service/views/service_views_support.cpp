#include "service/views/service_views_support.h"

#include "engine/error.h"
#include "parts/record_fields.h"
#include "shell/detail_form.h"
#include "shell/operation_log.h"

namespace dv::service {

cBusinessBasic& Engine(const char* source) {
    cBusinessBasic* engine = mBusinessBasic.get();
    if (engine == nullptr) RaisePlatform(err::kNoObject, source);
    return *engine;
}

std::string DateCell(const Date& d) {
    return IsEmptyDate(d) ? std::string() : FormatDate(d);
}

void ReportDetailError(View& view, std::string_view routine, const std::exception& error) {
    int32_t number = 0;
    std::string description;
    ErrorParts(error, number, description);
    const std::string line = FillErrorLine(view.form_name(), routine, number, description);
    mLogLine = line;
    WriteLog(mLogPath, line);
    view.Details().Message(line.substr(1));
}

}  // namespace dv::service
