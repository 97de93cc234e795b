// The tab hover and the tab preview: resting the mouse on a background tab
// activates it or shows a zoomed preview of its page next to the cursor.
//
// StartTabHover, StopTabHover and TabHoverMessage are declared in
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "host/host.h"

namespace tillwick {

// ---- the preview (tab_preview.cpp, preview_markup.cpp) ------------------------------
void ShowPreview(std::int16_t& index);
void ClosePreview() noexcept;
void WritePreview();
// Closes the preview and destroys its window (the feature stops).
void ReleasePreview() noexcept;
// A single-precision number as script reads it back: "50", "37.5".
std::string ZoomText(float zoom);
// Where the preview of a page of `page` size (border included) shows at
// `zoom` per cent: its left edge at the cursor, 18 pixels below it, or
// ending 18 pixels above it when it would pass the bottom of the screen.
RECT PreviewRect(SIZE page, float zoom, POINT cursor, LONG screenHeight);

// A page's markup with only inert elements and attributes left: text,
// headings, lists, tables, pictures from http, https or raster data
// addresses (relative ones only when `relativeSourcesOk`), inline styles
// without code, loading or escapes. Every value is written back escaped in
// double quotes.
std::string CleanPreviewMarkup(std::string_view markup, bool relativeSourcesOk);
// The preview's whole page: the base address (for an http or https page,
// escaped and quoted), the zoom and border, and the cleaned markup.
std::string PreviewPage(std::string_view markup, std::string_view url, std::string_view zoomText);

// The feature's entry points: its start and stop, and its message handlers.
LRESULT TabHoverMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
void StartTabHover();
void StopTabHover() noexcept;

// Its rows of the feature table (src/plugin/feature_table.cpp).
struct Feature;
extern const Feature kTabHoverFeature;

}  // namespace tillwick
