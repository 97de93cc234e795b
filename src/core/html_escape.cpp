#include "core/html_escape.h"

#include <cstdio>

namespace tillwick {
namespace {

template <typename Replace>
std::string Escape(std::string_view text, Replace replace) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        if (const char* r = replace(ch))
            out += r;
        else
            out += ch;
    }
    return out;
}

}  // namespace

std::string EscapeScriptString(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        switch (ch) {
            case '\\': out += "\\\\"; break;
            case '\'': out += "\\'"; break;
            case '"': out += "\\\""; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '<': out += "\\x3C"; break;
            default:
                if (byte < 0x20) {
                    char hex[5];
                    std::snprintf(hex, sizeof hex, "\\x%02X", byte);
                    out += hex;
                } else {
                    out += ch;
                }
        }
    }
    return out;
}

std::string EscapeHtmlText(std::string_view text) {
    return Escape(text, [](char ch) -> const char* {
        switch (ch) {
            case '&': return "&amp;";
            case '<': return "&lt;";
            case '>': return "&gt;";
            default: return nullptr;
        }
    });
}

std::string EscapeHtmlAttribute(std::string_view text) {
    return Escape(text, [](char ch) -> const char* {
        switch (ch) {
            case '&': return "&amp;";
            case '<': return "&lt;";
            case '>': return "&gt;";
            case '"': return "&quot;";
            case '\'': return "&#39;";
            default: return nullptr;
        }
    });
}

}  // namespace tillwick
