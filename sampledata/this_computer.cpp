#include "sampledata/this_computer.h"

#include "platform/host.h"

namespace dv::sample {

ComputerIdentity ThisComputer() {
    ComputerIdentity id;
    id.name = platform::ComputerName();
    while (!id.name.empty() &&
           (id.name.back() == '\0' || id.name.back() == '\t' || id.name.back() == '\n' ||
            id.name.back() == '\r' || id.name.back() == ' '))
        id.name.pop_back();
    if (id.name.empty()) return id;
    const int32_t address = platform::OwnAddress(id.name);
    if (address != -1) id.ipv4 = platform::DottedAddress(address);
    return id;
}

}  // namespace dv::sample
