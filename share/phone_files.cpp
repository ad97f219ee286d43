#include "share/phone_files.h"

#include <cstddef>

namespace tessera {

// Generated from share/phone/ at build time (share/embed_file.cmake).
extern const unsigned char phoneHtml[];
extern const std::size_t phoneHtml_size;
extern const unsigned char phoneJs[];
extern const std::size_t phoneJs_size;
extern const unsigned char phoneCss[];
extern const std::size_t phoneCss_size;

namespace {

std::string_view bytesOf(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace

const PhoneFile* findPhoneFile(std::string_view path) {
    static const PhoneFile html{"text/html; charset=utf-8", bytesOf(phoneHtml, phoneHtml_size)};
    static const PhoneFile js{"text/javascript; charset=utf-8", bytesOf(phoneJs, phoneJs_size)};
    static const PhoneFile css{"text/css; charset=utf-8", bytesOf(phoneCss, phoneCss_size)};
    if (path == "/") {
        return &html;
    }
    if (path == "/phone.js") {
        return &js;
    }
    if (path == "/phone.css") {
        return &css;
    }
    return nullptr;
}

} // namespace tessera
