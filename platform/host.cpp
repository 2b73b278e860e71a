#include "platform/host.h"

#include <arpa/inet.h>
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

}  // namespace

std::string ComputerName() {
    return g_services.computer_name ? g_services.computer_name() : RealComputerName();
}

int32_t GetHostAddress(std::string_view host) {
    return g_services.host_address ? g_services.host_address(host) : RealHostAddress(host);
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
