#include "platform/host.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace dv::platform {
namespace {

HostServices g_services;

std::string RealComputerName() {
    char buffer[80] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0) return {};
    buffer[sizeof buffer - 1] = '\0';
    return std::string(buffer, ::strnlen(buffer, sizeof buffer));
}

int32_t RealHostAddress(std::string_view host) {
    const std::string name(host);
    in_addr addr{};
    if (::inet_pton(AF_INET, name.c_str(), &addr) == 1) {
        int32_t out = 0;
        std::memcpy(&out, &addr.s_addr, sizeof out);
        return out;
    }
    if (name.empty()) return -1;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* result = nullptr;
    if (::getaddrinfo(name.c_str(), nullptr, &hints, &result) != 0 || result == nullptr) return -1;
    int32_t out = -1;
    for (const addrinfo* p = result; p != nullptr; p = p->ai_next) {
        if (p->ai_family == AF_INET && p->ai_addr != nullptr) {
            const auto* sin = reinterpret_cast<const sockaddr_in*>(p->ai_addr);
            std::memcpy(&out, &sin->sin_addr.s_addr, sizeof out);
            break;
        }
    }
    ::freeaddrinfo(result);
    return out;
}

std::vector<int32_t> RealInterfaceAddresses() {
    std::vector<int32_t> out;
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return out;
    for (const ifaddrs* p = list; p != nullptr; p = p->ifa_next) {
        if (p->ifa_addr == nullptr || p->ifa_addr->sa_family != AF_INET) continue;
        if ((p->ifa_flags & IFF_UP) == 0 || (p->ifa_flags & IFF_LOOPBACK) != 0) continue;
        int32_t address = 0;
        std::memcpy(&address, &reinterpret_cast<const sockaddr_in*>(p->ifa_addr)->sin_addr.s_addr,
                    sizeof address);
        out.push_back(address);
    }
    ::freeifaddrs(list);
    return out;
}

// 127.0.0.0/8; the first byte in memory is the first of the dotted text.
bool IsLoopback(int32_t address) {
    unsigned char first = 0;
    std::memcpy(&first, &address, 1);
    return first == 127;
}

}  // namespace

std::string ComputerName() {
    return g_services.computer_name ? g_services.computer_name() : RealComputerName();
}

int32_t GetHostAddress(std::string_view host) {
    return g_services.host_address ? g_services.host_address(host) : RealHostAddress(host);
}

std::vector<int32_t> InterfaceAddresses() {
    return g_services.interface_addresses ? g_services.interface_addresses()
                                          : RealInterfaceAddresses();
}

int32_t OwnAddress(std::string_view computer_name) {
    const int32_t named = GetHostAddress(computer_name);
    if (named != -1 && !IsLoopback(named)) return named;
    for (const int32_t address : InterfaceAddresses()) {
        if (!IsLoopback(address)) return address;
    }
    return named;
}

std::string DottedAddress(int32_t address) {
    unsigned char b[4];
    std::memcpy(b, &address, sizeof b);
    return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
           std::to_string(b[3]);
}

void SetHostServices(HostServices services) {
    g_services = std::move(services);
}

}  // namespace dv::platform
