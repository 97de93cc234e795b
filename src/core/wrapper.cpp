#include "core/wrapper.h"


#include "base/errors.h"
#include "core/host_contract.h"
#include "settings/ini_store.h"
#include "core/state.h"
#include "host/text.h"

namespace tillwick {

std::string LanguageFilePath(std::string_view languageId) {
    return PluginFilePath(std::string(contract::kLanguageFilePrefix) + std::string(languageId) + ".ini");
}

std::string LanguageText(std::string_view key, std::string_view defaultValue, std::string_view section) {
    std::string text = ini::ReadString(LanguageFilePath(State().LanguageId), section, key, "");
    if (text.empty())
        text = ini::ReadString(LanguageFilePath(contract::kBaseLanguageId), section, key, defaultValue);
    return text;
}

std::string ReadHostConfig(std::string_view key, std::string_view defaultValue, std::string_view section) {
    return ini::ReadString(State().HostFolder + std::string(contract::kHostConfigFile), section, key,
                           defaultValue);
}

std::string ReadHostSetupCenter(std::string_view key, std::string_view defaultValue,
                                std::string_view section) {
    return ini::ReadString(State().HostFolder + std::string(contract::kHostSetupCenterFile), section, key,
                           defaultValue);
}

std::string HostLanguageText(std::string_view key, std::string_view defaultValue, std::string_view section) {
    std::string text = ini::ReadString(State().HostLanguageFile, section, key, defaultValue);
    std::erase(text, '&');
    return text;
}

std::string ReadIniFile(std::string_view key, const std::string& filePath, std::string_view section) {
    return ini::ReadString(filePath, section, key, "");
}

COLORREF PickColor(COLORREF current, COLORREF preset) {
    COLORREF custom[16];
    COLORREF face = static_cast<COLORREF>(host::GetSysColor(COLOR_BTNFACE));
    for (auto& c : custom) c = face;
    custom[0] = preset;
    if (current != preset) custom[1] = current;
    COLORREF chosen = current;
    return host::ChooseColorDialog(current, custom, &chosen) ? chosen : current;
}

std::int32_t HiWordOf(std::int32_t value) {
    return value >= 0 ? value / 65535 : value / 65535 - 1;
}

std::string PtrToText(const void* pointer, std::int32_t byteCount) {
    if (pointer == nullptr) return {};
    if (byteCount < 0) return "  ";
    // Read pair by pair and stop at the terminator: the count is an upper bound
    // that callers pass blindly, so bytes after the NUL may not be ours to read.
    const auto* bytes = static_cast<const unsigned char*>(pointer);
    std::u16string text;
    for (std::int32_t i = 0; i + 1 < byteCount; i += 2) {
        char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (c == 0) break;
        text.push_back(c);
    }
    return host::WideToAnsi(text);
}

host::Object GetHtmlDocument(HWND pageWindow) {
    UINT msg = host::RegisterWindowMessageA(std::string(contract::kHtmlGetObjectMessage).c_str());
    DWORD_PTR result = 0;
    host::SendMessageTimeoutA(pageWindow, msg, 0, 0, SMTO_ABORTIFHUNG, 1000, &result);
    if (result == 0) return {};
    return host::ObjectFromLresult(static_cast<LRESULT>(result));
}

void SetTabImage(std::int16_t tabIndex, std::int32_t imageIndex) {
    if (tabIndex < 0) return;
    TCITEMW item{};
    item.mask = TCIF_IMAGE;
    item.iImage = imageIndex;
    host::SendMessageW(State().TabBarWnd, TCM_SETITEMW, static_cast<WPARAM>(tabIndex),
                       reinterpret_cast<LPARAM>(&item));
}

}  // namespace tillwick
