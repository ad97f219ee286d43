#pragma once

#include <string>

namespace tessera {

// Where the phones' server listens: one IPv4 or IPv6 address of this machine, or every IPv4
// interface, and a port.
struct ShareAddress {
    std::string host; // an IPv4 or IPv6 literal (without brackets); empty: every IPv4 interface
    bool ipv6 = false;
    int port = 0; // 0 lets the system choose (the tests' servers)
};

// Reads "[ADDRESS:]PORT" as given on the command line: PORT 1 to 65535 alone (every IPv4
// interface), "192.168.1.20:PORT" or "[fe80::1]:PORT". Addresses are literals: a host name
// would need a resolver and could mean several machines. Returns an empty string or the
// one-line reason the text is not such an address.
std::string parseShareAddress(const std::string& text, ShareAddress& address);

// The listening_ports entry that binds exactly there: "8080", "127.0.0.1:8080", "[::1]:8080".
std::string listeningPort(const ShareAddress& address);

// What a phone opens to reach a server listening at address on port: the address itself,
// or for every interface this machine's first IPv4 address that is not a loopback (the one
// a phone on the same network can reach), else 127.0.0.1.
std::string pageAddress(const ShareAddress& address, int port);

} // namespace tessera
