// This computer's network identity: its name and its IPv4 address.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace dv::platform {

// The computer's name (gethostname into an 80-character buffer, cut at the first NUL).
std::string ComputerName();

// The IPv4 address of host: a dotted address converted as it stands, else the name resolved
// (the first IPv4 answer). The result's four bytes in memory are the address in network order;
// -1 (all bits set) when the name can't be resolved.
int32_t GetHostAddress(std::string_view host);

// The IPv4 addresses of this computer's interfaces that are up, loopback ones left out, in
// the order the system lists them (getifaddrs); same byte order as GetHostAddress.
std::vector<int32_t> InterfaceAddresses();

// This computer's own address, for the terminal map: the address its name resolves to, unless
// that is a loopback address (a stock Debian machine maps its host name to 127.0.1.1) or none;
// then the first interface address, when there is one; else what the name gave (-1 when it
// did not resolve).
int32_t OwnAddress(std::string_view computer_name);

// The dotted text of an address from GetHostAddress: its bytes in memory order.
std::string DottedAddress(int32_t address);

// Replacements for the look-ups above, for tests; an empty member keeps the real one, and
// SetHostServices({}) restores them all.
struct HostServices {
    std::function<std::string()> computer_name;
    std::function<int32_t(std::string_view)> host_address;
    std::function<std::vector<int32_t>()> interface_addresses = {};
};
void SetHostServices(HostServices services);

}  // namespace dv::platform
