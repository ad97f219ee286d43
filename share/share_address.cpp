#include "share/share_address.h"

#include <arpa/inet.h>
#include <cstring>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

namespace tessera {
namespace {

std::string parsePort(const std::string& text, int& port) {
    const std::string wrong = "port \"" + text + "\" is not a number from 1 to 65535";
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos) {
        return text.empty() ? "no port given: use [ADDRESS:]PORT, e.g. 8080" : wrong;
    }
    const int value = std::stoi(text);
    if (value < 1 || value > 65535) {
        return wrong;
    }
    port = value;
    return "";
}

bool isIpv4(const std::string& text) {
    in_addr parsed{};
    return inet_pton(AF_INET, text.c_str(), &parsed) == 1;
}

bool isIpv6(const std::string& text) {
    in6_addr parsed{};
    return inet_pton(AF_INET6, text.c_str(), &parsed) == 1;
}

// Bridges that containers and virtual machines make on this machine: no phone is on them.
bool virtualBridge(const char* name) {
    for (const char* prefix : {"docker", "br-", "veth", "virbr", "lxcbr", "podman"}) {
        if (std::strncmp(name, prefix, std::strlen(prefix)) == 0) {
            return true;
        }
    }
    return false;
}

// The first IPv4 address of an interface that is up, not a loopback and not a virtual
// bridge.
std::string firstNetworkAddress() {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return "";
    }
    std::string found;
    for (const ifaddrs* entry = list; entry != nullptr && found.empty(); entry = entry->ifa_next) {
        if (entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET ||
            (entry->ifa_flags & IFF_UP) == 0 || (entry->ifa_flags & IFF_LOOPBACK) != 0 ||
            virtualBridge(entry->ifa_name)) {
            continue;
        }
        char text[INET_ADDRSTRLEN] = {};
        const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        if (inet_ntop(AF_INET, &ipv4->sin_addr, text, sizeof text) != nullptr) {
            found = text;
        }
    }
    freeifaddrs(list);
    return found;
}

} // namespace

std::string parseShareAddress(const std::string& text, ShareAddress& address) {
    ShareAddress parsed;
    std::string portText = text;
    if (!text.empty() && text[0] == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string::npos) {
            return "\"" + text + "\": the IPv6 address has no closing ]";
        }
        parsed.host = text.substr(1, close - 1);
        parsed.ipv6 = true;
        if (!isIpv6(parsed.host)) {
            return "\"" + parsed.host + "\" is not an IPv6 address";
        }
        if (close + 1 >= text.size() || text[close + 1] != ':') {
            return "\"" + text + "\": a port must follow the address, as in [::1]:8080";
        }
        portText = text.substr(close + 2);
    } else if (const std::size_t colon = text.rfind(':'); colon != std::string::npos) {
        parsed.host = text.substr(0, colon);
        if (parsed.host.find(':') != std::string::npos) {
            return "\"" + text + "\": an IPv6 address goes in brackets, as in [::1]:8080";
        }
        if (!isIpv4(parsed.host)) {
            return "\"" + parsed.host +
                   "\" is not an IPv4 address such as 192.168.1.20 (host names are not taken)";
        }
        portText = text.substr(colon + 1);
    }
    if (std::string error = parsePort(portText, parsed.port); !error.empty()) {
        return error;
    }
    address = parsed;
    return "";
}

std::string listeningPort(const ShareAddress& address) {
    const std::string port = std::to_string(address.port);
    if (address.host.empty()) {
        return port;
    }
    return address.ipv6 ? "[" + address.host + "]:" + port : address.host + ":" + port;
}

std::string pageAddress(const ShareAddress& address, int port) {
    std::string host = address.host;
    // 0.0.0.0 and :: listen everywhere too; a phone cannot open them.
    if (host.empty() || host == "0.0.0.0" || (address.ipv6 && host == "::")) {
        host = firstNetworkAddress();
        if (host.empty()) {
            host = "127.0.0.1";
        }
    } else if (address.ipv6) {
        host = "[" + host + "]";
    }
    return "http://" + host + ":" + std::to_string(port) + "/";
}

} // namespace tessera
