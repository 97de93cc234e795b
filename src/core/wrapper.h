// The readers of the language and host files and the small platform
// helpers every feature uses. Stateless: the folders and the language come
// from the shared state that start-up fills.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/host.h"
#include "settings/settings_files.h"

namespace tillwick {

// A user-visible text in the current language, falling back to the base
// language file and then to the caller's default.
std::string LanguageText(std::string_view key, std::string_view defaultValue,
                         std::string_view section = kLanguage);

// The host's files: the default only when the key is missing.
std::string ReadHostConfig(std::string_view key, std::string_view defaultValue, std::string_view section);
std::string ReadHostSetupCenter(std::string_view key, std::string_view defaultValue,
                                std::string_view section);
// A host language text without its "&" accelerator marks.
std::string HostLanguageText(std::string_view key, std::string_view defaultValue, std::string_view section);
// Any INI file; the empty text when the key is missing.
std::string ReadIniFile(std::string_view key, const std::string& filePath, std::string_view section);

std::string LanguageFilePath(std::string_view languageId);

// The colour chooser; Current when the user cancels.
COLORREF PickColor(COLORREF current, COLORREF preset);

// The signed high word of a message parameter, divided by 65535 as the
// host-facing code always has (so wheel deltas keep their historic values).
std::int32_t HiWordOf(std::int32_t value);

// The UTF-16 text at pointer (at most byteCount bytes, cut before the first
// NUL); "" for a null pointer and "  " for a negative count.
std::string PtrToText(const void* pointer, std::int32_t byteCount);

// The HTML document of a page window, or an empty object.
host::Object GetHtmlDocument(HWND pageWindow);

// Sets the image of one tab of the host's tab bar; nothing for a negative index.
void SetTabImage(std::int16_t tabIndex, std::int32_t imageIndex);

}  // namespace tillwick
