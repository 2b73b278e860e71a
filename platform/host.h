// This computer's network identity: its name and its IPv4 address.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace dv::platform {

// The computer's name (gethostname into an 80-character buffer, cut at the first NUL).
std::string ComputerName();

// The IPv4 address of host: a dotted address converted as it stands, else the name resolved
// (the first IPv4 answer). The result's four bytes in memory are the address in network order;
// -1 (all bits set) when the name can't be resolved.
int32_t GetHostAddress(std::string_view host);

// The dotted text of an address from GetHostAddress: its bytes in memory order.
std::string DottedAddress(int32_t address);

// Replacements for the two look-ups above, for tests; an empty member keeps the real one, and
// SetHostServices({}) restores both.
struct HostServices {
    std::function<std::string()> computer_name;
    std::function<int32_t(std::string_view)> host_address;
};
void SetHostServices(HostServices services);

}  // namespace dv::platform
