#include "engine/live_record.h"

#include "engine/codec.h"
#include "engine/error.h"

namespace dv {

namespace {
constexpr const char* kSource = "ReadRecord";
}

void CheckLiveRecord(std::string_view data, std::string_view file, int32_t record,
                     std::string_view through) {
    if (data.size() < 2) return;
    const int32_t status = Unpack("J", data, 1);
    if (status > 0) return;
    throw BasicError(err::kRecordNotLive, kSource,
                     "Record " + std::to_string(record) + " of " + std::string(file) +
                         " is not in use (status word " + std::to_string(status) + "), yet " +
                         std::string(through) + " names it");
}

std::string ReadLiveRecord(cBusinessBasic& engine, const std::string& file, int32_t record,
                           std::string_view through) {
    int16_t flag = 0;
    std::string data = engine.LreadFile(file, record, flag);
    CheckLiveRecord(data, file, record, through);
    return data;
}

std::string_view ReadLiveRecordView(cBusinessBasic& engine, const std::string& file, int32_t record,
                                    std::string_view through, std::string& scratch) {
    const std::string_view data = engine.LreadFileView(file, record, scratch);
    CheckLiveRecord(data, file, record, through);
    return data;
}

void CheckRecordNumber(std::string_view file, int32_t record, int32_t held, int32_t key,
                       std::string_view through) {
    if (held == key) return;
    throw BasicError(err::kRecordNumberDiffers, kSource,
                     "Record " + std::to_string(record) + " of " + std::string(file) +
                         " holds number " + std::to_string(held) + ", yet " + std::string(through) +
                         " names it for number " + std::to_string(key));
}

int32_t AsField(std::string_view code, int32_t number) {
    std::string field(4, '\0');
    Pack(code, field, number, 1);
    return Unpack(code, field, 1);
}

}  // namespace dv
