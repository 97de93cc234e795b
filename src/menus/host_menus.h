// Plugin hiding, the Options-menu entry, search sorting and group URLs: the
// (HidePlugins, ShowPlugins, Start/StopShowInMenu, StartSortSearch,
// StopSortSearch and the three message handlers).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/host.h"

namespace tillwick {

// ---- hide_plugin.cpp
// The pattern of names to hide, built from the three switched sources; empty
// when nothing is to be hidden.
std::string HidePattern();

// ---- sort_search.cpp (SearchMenu is the menu the last WM_INITMENU named)
void SortSearchMenu(HMENU searchMenu);
void ApplySearchOrder(HMENU searchMenu, const std::vector<std::string>& names);

// ---- group_url.cpp
// Reads the file of GroupName into GroupLines.
void LoadGroup();
// Finds PageItemText's address in GroupLines and writes it into the status bar.
void ShowPageUrl();
// The lines of a group file's page section: one empty line when it has none.
std::vector<std::string> GroupPageLines(std::string_view fileText);
// Whether a group's name can only name a file directly inside the Groups folder.
bool IsPlainGroupName(std::string_view name);
// "3. News" names the group "News"; a name without such a numbering stays whole.
std::string WithoutNumbering(std::string text);
// The question asked before a large group opens: the language file's prompt
// with every "%N" replaced by the page count, then the group's name.
std::string GroupPrompt(std::string_view promptText, std::int32_t pages, std::string_view groupName);

// group_url.cpp: a group's page address is on the status bar.
bool GroupUrlLineShowing();

// The feature's entry points: its start and stop, and its message handlers.
LRESULT ShowInMenuMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
LRESULT SortSearchMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
LRESULT GroupUrlMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
void StartSortSearch();
void StopSortSearch() noexcept;
void HidePlugins();
void ShowPlugins() noexcept;
void StopShowInMenu() noexcept;
void StopShowGroupUrl() noexcept;
void StartShowInMenu();
void AppendPatternDiagnostics();

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kHidePluginFeature;
extern const Feature kShowInMenuFeature;
extern const Feature kGroupUrlFeature;
extern const Feature kOpenGroupConfirmFeature;
extern const Feature kSortSearchFeature;
extern const Feature kPatternDiagnosticsFeature;

}  // namespace tillwick
