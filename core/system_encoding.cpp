#include "core/system_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

std::optional<std::string> convertToUtf8(std::string_view bytes, const std::string& encoding,
                                         std::size_t* replaced) {
    if (encoding.empty())
        return std::nullopt;
    const iconv_t converter = iconv_open("UTF-8", encoding.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    std::vector<char> buffer(64 * 1024);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    std::size_t bad = 0;
    while (inLeft > 0) {
        char* next = buffer.data();
        std::size_t room = buffer.size();
        const std::size_t result = iconv(converter, &in, &inLeft, &next, &room);
        out.append(buffer.data(), static_cast<std::size_t>(next - buffer.data()));
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG)
            continue;
        // A byte that is no character here, or a sequence cut off at the end: one
        // replacement character, and on behind it.
        out += "\xEF\xBF\xBD";
        ++bad;
        ++in;
        --inLeft;
        iconv(converter, nullptr, nullptr, nullptr, nullptr);
    }
    // Encodings with shift states end in the initial state.
    char* next = buffer.data();
    std::size_t room = buffer.size();
    iconv(converter, nullptr, nullptr, &next, &room);
    out.append(buffer.data(), static_cast<std::size_t>(next - buffer.data()));
    iconv_close(converter);
    if (replaced)
        *replaced = bad;
    return out;
}
