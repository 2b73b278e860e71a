#include "engine/address.h"

#include <algorithm>

#include "engine/codec.h"
#include "engine/numeric.h"

namespace dv {
namespace {

constexpr std::string_view kStates =
    "AL.AK.AR.AZ.CA.CO.CT.DC.DE.FL.GA.HI.IA.ID.IL.IN.KS.KY.LA.MA.MD.ME.MI.MN.MO.MS.MT.NC.ND.NE."
    "NH.NJ.NM.NV.NY.OH.OK.OR.PA.RI.SC.SD.TN.TX.UT.VA.VT.WA.WI.WV.WY.PR.CN.";
constexpr size_t kLineStarts[] = {0, 30, 60, 90};
constexpr size_t kLineLength = 30;

}  // namespace

bool YesNoToBool(std::string_view text) {
    return text == "Y";
}

std::string BoolToYesNo(bool flag) {
    return flag ? "Y" : "N";
}

std::string ParseAddressLine(std::string& address, std::string_view kind) {
    for (size_t start : kLineStarts) {
        if (start < address.size() && address[start] == '.') {
            const size_t n = std::min(kLineLength, address.size() - start);
            address.replace(start, n, n, ' ');
        }
    }
    std::replace(address.begin(), address.end(), ',', ' ');
    std::replace(address.begin(), address.end(), '.', ' ');
    const std::vector<std::string> words = Split(address, " ");
    const bool state = kind == "STATE";
    for (auto it = words.rbegin(); it != words.rend(); ++it) {
        if (state ? IsStateCode(*it) : IsZipCode(*it)) return *it;
    }
    return {};
}

std::string GetStateFromAddress(std::string& address) {
    return ParseAddressLine(address, "STATE");
}

std::string GetZipFromAddress(std::string& address) {
    return ParseAddressLine(address, "ZIP");
}

bool IsStateCode(std::string_view word) {
    return !word.empty() && kStates.find(word) != std::string_view::npos;
}

bool IsZipCode(std::string_view word) {
    if (word.size() == 5 || word.size() == 9) return IsNumeric(word);
    if (word.size() == 10 && word[5] == '-') {
        std::string nine(word.substr(0, 5));
        nine.append(word.substr(6));
        return IsNumeric(nine);
    }
    return false;
}

}  // namespace dv
