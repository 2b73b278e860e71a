// This computer's network identity, as the engine finds it for the terminal map: its host name
// and the first IPv4 address that name resolves to.
#pragma once

#include <string>

namespace dv::sample {

struct ComputerIdentity {
    std::string name;  // the host name, without trailing NUL, tab, line-feed, return or blank
    std::string ipv4;  // dotted decimal; empty when the name does not resolve
};

ComputerIdentity ThisComputer();

}  // namespace dv::sample
