// Conversions between the tests' narrow texts and Windows' UTF-16.
#pragma once

#include <windows.h>

#include <string>

namespace wt {

// ASCII text (test literals) to UTF-16.
inline std::wstring widen_ascii(const char *text) {
    std::wstring out;
    for (const char *c = text; *c; ++c) out.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return out;
}

inline std::string to_utf8(const std::wstring &text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

} // namespace wt
