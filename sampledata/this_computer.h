// This computer's network identity, as the engine finds it for the terminal map: its host name
// and its own IPv4 address (platform::OwnAddress).
#pragma once

#include <string>

namespace dv::sample {

struct ComputerIdentity {
    std::string name;  // the host name, without trailing NUL, tab, line-feed, return or blank
    std::string ipv4;  // dotted decimal; empty when there is none
};

ComputerIdentity ThisComputer();

}  // namespace dv::sample
