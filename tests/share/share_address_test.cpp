#include "share/share_address.h"

#include <gtest/gtest.h>

namespace tessera {
namespace {

TEST(ShareAddress, ReadsPortAloneOrWithAnAddress) {
    struct Row {
        const char* text;
        const char* listening;
        const char* page;
    };
    const Row rows[] = {
        {"127.0.0.1:65535", "127.0.0.1:65535", "http://127.0.0.1:65535/"},
        {"192.168.1.20:1", "192.168.1.20:1", "http://192.168.1.20:1/"},
        {"[::1]:8080", "[::1]:8080", "http://[::1]:8080/"},
    };
    for (const Row& row : rows) {
        ShareAddress address;
        ASSERT_EQ(parseShareAddress(row.text, address), "") << row.text;
        EXPECT_EQ(listeningPort(address), row.listening);
        EXPECT_EQ(pageAddress(address, address.port), row.page);
    }
    // Every interface: the page is at one a phone can reach, never the unspecified address.
    for (const char* everywhere : {"8080", "0.0.0.0:8080"}) {
        ShareAddress address;
        ASSERT_EQ(parseShareAddress(everywhere, address), "");
        EXPECT_EQ(address.port, 8080);
        const std::string page = pageAddress(address, 8080);
        EXPECT_EQ(page.rfind("http://", 0), 0u) << page;
        EXPECT_EQ(page.find("0.0.0.0"), std::string::npos) << page;
    }
}

TEST(ShareAddress, RefusesWhatIsNotOneSayingWhy) {
    struct Row {
        const char* text;
        const char* reason;
    };
    const Row rows[] = {
        {"", "no port given: use [ADDRESS:]PORT, e.g. 8080"},
        {"0", "port \"0\" is not a number from 1 to 65535"},
        {"65536", "port \"65536\" is not a number from 1 to 65535"},
        {"-80", "port \"-80\" is not a number from 1 to 65535"},
        {"127.0.0.1:", "no port given: use [ADDRESS:]PORT, e.g. 8080"},
        {"localhost:80",
         "\"localhost\" is not an IPv4 address such as 192.168.1.20 (host names are not taken)"},
        {"1.2.3:80", "\"1.2.3\" is not an IPv4 address such as 192.168.1.20 (host names are not "
                     "taken)"},
        {"::1:80", "\"::1:80\": an IPv6 address goes in brackets, as in [::1]:8080"},
        {"[::1", "\"[::1\": the IPv6 address has no closing ]"},
        {"[::1]", "\"[::1]\": a port must follow the address, as in [::1]:8080"},
        {"[1.2.3.4]:80", "\"1.2.3.4\" is not an IPv6 address"},
    };
    for (const Row& row : rows) {
        ShareAddress address;
        address.port = 7;
        EXPECT_EQ(parseShareAddress(row.text, address), row.reason) << row.text;
        EXPECT_EQ(address.port, 7) << row.text;
    }
}

} // namespace
} // namespace tessera
