// mdlTabPreview: the preview is an HTML pop-up created in the window of some
// other page of the host (one that is neither "https:" nor "file:"), filled
// with a copy of the hovered tab's markup that the host's `external.get_tab`
// hands over. The copy runs in that other page's origin, so everything in it
// that could run script is defused before it is written.
#include <array>
#include <cmath>
#include <cstdio>

#include "core/errors.h"
#include "core/host_contract.h"
#include "core/html_escape.h"
#include "core/startup.h"
#include "core/state.h"
#include "core/wrapper.h"
#include "features/tab_hover.h"

namespace tillwick {
namespace {

constexpr LONG kCursorGap = 18;

TabHoverState& Module() noexcept { return State().TabHover; }

// Script tags were renamed to a language no engine knows; these take away the
// rest: event-handler attributes, script addresses, IE's CSS expressions and
// behaviours, and the elements that load active content.
constexpr std::array<MarkupRule, 4> kMarkupRules{{
    {R"(\bon(\w+\s*=))", "no$1"},
    {R"((j\s*a\s*v\s*a|v\s*b)\s*s\s*c\s*r\s*i\s*p\s*t\s*:)", "blocked:"},
    {R"((expression\s*\(|behavior\s*:))", "blocked("},
    {R"(<(\/?)(object|embed|applet)\b)", "<$1blocked"},
}};

std::string MarkupChain() {
    std::string chain;
    for (const MarkupRule& rule : kMarkupRules)
        chain += ".replace(/" + std::string(rule.pattern) + "/ig,'" + std::string(rule.replacement) + "')";
    return chain;
}

// The page's own variable, which the page may set to anything (1e300, NaN):
// only the number 1 counts, compared as a number, never narrowed first.
bool PopupOk(const host::Object& window) {
    const auto value = window.Get("oTPisOK");
    if (!value) return false;
    if (const auto* n = std::get_if<std::int32_t>(&*value)) return *n == 1;
    if (const auto* d = std::get_if<double>(&*value)) return *d == 1.0;
    return false;
}

// Runs one preview script unless the preview was closed meanwhile.
bool RunUnlessCancelled(const host::Object& window, const std::string& code) {
    if (Module().PreviewCancelled) return false;
    window.ExecScript(code, "JScript");
    return true;
}

BOOL CALLBACK TryPageWindow(HWND wnd, LPARAM found) noexcept {
    if (!HasClass(wnd, contract::kPageViewClass)) return TRUE;
    return RunStepOr<BOOL>(TRUE, [&] {
        TabHoverState& m = Module();
        m.PreviewDocument = GetHtmlDocument(wnd);
        if (!PreparePopup(m.PreviewDocument)) return TRUE;
        *reinterpret_cast<bool*>(found) = true;
        return FALSE;
    });
}

}  // namespace

std::span<const MarkupRule> PreviewMarkupRules() { return kMarkupRules; }

std::string ZoomText(float zoom) {
    if (!std::isfinite(zoom)) zoom = 50.0F;
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%.7g", static_cast<double>(zoom));
    return text.data();
}

std::string PreviewCopyScript(std::string_view securityId, std::int32_t tab, std::string_view zoomText,
                              bool scrollPos) {
    const std::string zoom(zoomText);
    std::string a = "var oWin=external.get_tab('" + EscapeScriptString(securityId) + "'," + std::to_string(tab) +
                    ");";
    a += "var oHTML=oWin.document;";
    a += "var nWidth=(oHTML.documentElement.clientWidth?oHTML.documentElement.clientWidth:oHTML.body.clientWidth)+4;";
    a += "var nHeight=(oHTML.documentElement.clientHeight?oHTML.documentElement.clientHeight:oHTML.body."
         "clientHeight)+4;";
    a += "var sHTML='<base href='+oHTML.URL+'>';";
    a += R"(sHTML+='<script>onerror=function(){return(true)}<\/script>';)";
    a += "sHTML+='<style>body{zoom:'+(" + zoom + "/100)+';border:black solid 2px;overflow:hidden}</style>';";
    a += "sHTML+=oHTML.getElementsByTagName('HTML')[0].innerHTML.replace(/<script[^>]*>/ig,'<script language=max>')" +
         MarkupChain() + ";";
    if (scrollPos) {
        a += "var nScrollLeft=(oHTML.documentElement.scrollLeft?oHTML.documentElement.scrollLeft:oHTML.body."
             "scrollLeft);";
        a += "var nScrollTop=(oHTML.documentElement.scrollTop?oHTML.documentElement.scrollTop:oHTML.body.scrollTop);";
        a += R"(sHTML+='<script>setTimeout(\'document.body.scrollLeft='+nScrollLeft+';document.body.scrollTop='+nScrollTop+'\',0)<\/script>';)";
    }
    return a;
}

std::string PreviewShowScript(std::string_view zoomText, POINT cursor) {
    const std::string zoom(zoomText);
    return "try{   nWidth=(" + zoom + "/100)*nWidth;   nHeight=(" + zoom + "/100)*nHeight;   var nTop= " +
           std::to_string(cursor.y + kCursorGap) + ";   if(nTop+nHeight>screen.height) nTop=" +
           std::to_string(cursor.y - kCursorGap) + "-nHeight;   oTPpopup.show(" + std::to_string(cursor.x) +
           ",nTop,nWidth,nHeight);} catch(e){}";
}

bool PreparePopup(const host::Object& document) {
    return RunStepOr(false, [&] {
        const SharedState& s = State();
        const std::string protocol = document.GetObject("location").GetText("protocol").value_or("");
        if (s.SecurityId.empty() || protocol == "https:" || protocol == "file:") return false;
        const host::Object window = document.GetObject("parentWindow");
        if (!window) return false;
        window.ExecScript("try{var PrxLC=new Date();var oTPpopup=createPopup();var oTPisOK=1} catch(e){}");
        if (PopupOk(window)) {
            window.ExecScript("try{oTPisOK=0;oTPpopup.document.write('');oTPisOK=1} catch(e){}");
            if (PopupOk(window)) window.ExecScript("try{oTPisOK=0;oTPpopup.show(0,0,0,0);oTPisOK=1} catch(e){}");
        }
        return PopupOk(window);
    });
}

void WritePreview() {
    TabHoverState& m = Module();
    m.PreviewCancelled = false;
    POINT cursor{};
    host::GetCursorPos(&cursor);
    const host::Object window = m.PreviewDocument.GetObject("parentWindow");
    const std::string zoom = ZoomText(m.PreviewZoom);
    if (!RunUnlessCancelled(window, PreviewCopyScript(State().SecurityId, m.PreviewTab, zoom, m.PreviewScrollPos)))
        return;
    if (!RunUnlessCancelled(window, "try{oTPpopup.document.write(sHTML)} catch(e){}")) return;
    if (!RunUnlessCancelled(window, PreviewShowScript(zoom, cursor))) return;
    m.PreviewShown = true;
}

void ShowPreview(std::int16_t& index) {
    TabHoverState& m = Module();
    m.PreviewTab = index;
    if (m.PreviewDocument && PreparePopup(m.PreviewDocument)) {
        WritePreview();
        return;
    }
    bool found = false;
    host::EnumChildWindows(State().MdiClientWnd, &TryPageWindow, reinterpret_cast<LPARAM>(&found));
    if (found) WritePreview();
}

void ClosePreview() noexcept {
    TabHoverState& m = Module();
    m.PreviewCancelled = true;
    m.PreviewShown = false;
    RunStep([&] {
        const host::Object window = m.PreviewDocument.GetObject("parentWindow");
        if (!window) return;
        for (const char* code : {"try{oTPpopup.document.close()} catch(e){}", "try{oTPpopup.document.write('')} catch(e){}",
                                 "try{oTPpopup.hide()} catch(e){}", "try{oTPpopup=''; sHTML=''} catch(e){}"})
            window.ExecScript(code, "JScript");
    });
}

}  // namespace tillwick
