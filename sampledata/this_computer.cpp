#include "sampledata/this_computer.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

namespace dv::sample {

ComputerIdentity ThisComputer() {
    ComputerIdentity id;
    std::array<char, 256> host{};
    if (gethostname(host.data(), host.size() - 1) == 0) id.name = host.data();
    while (!id.name.empty() &&
           (id.name.back() == '\0' || id.name.back() == '\t' || id.name.back() == '\n' ||
            id.name.back() == '\r' || id.name.back() == ' '))
        id.name.pop_back();
    if (id.name.empty()) return id;

    addrinfo hints{};
    hints.ai_family = AF_INET;
    addrinfo* found = nullptr;
    if (getaddrinfo(id.name.c_str(), nullptr, &hints, &found) == 0 && found != nullptr) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
        std::array<char, INET_ADDRSTRLEN> text{};
        if (inet_ntop(AF_INET, &in->sin_addr, text.data(), text.size()) != nullptr)
            id.ipv4 = text.data();
    }
    if (found != nullptr) freeaddrinfo(found);
    return id;
}

}  // namespace dv::sample
