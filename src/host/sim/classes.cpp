// Window classes: the application's (RegisterClassA) and the built-in
// controls, plus the atom table that class names and registered window
// messages share, as on Windows.
#include <cctype>
#include <map>

#include "host/sim/sim_internal.h"

namespace host::sim::detail {

namespace {

LRESULT CALLBACK DesktopProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcImpl(hwnd, msg, wParam, lParam, false);
}

struct BuiltinDef {
    const char* name;
    Builtin kind;
    WNDPROC ansi;
    WNDPROC wide;
    UINT style;
};

const std::vector<ClassInfo>& BuiltinClasses() {
    static const std::vector<ClassInfo> classes = [] {
        // Unicode-only procedures are the common controls (registered with
        // RegisterClassW); user32's own controls have both sides.
        const BuiltinDef defs[] = {
            {"#32769", Builtin::Desktop, DesktopProcA, DefWindowProcW, 0},
            {"SysTabControl32", Builtin::Tab, nullptr, TabProcW, 0x0008},
            {"tooltips_class32", Builtin::Tooltip, nullptr, TooltipProcW, 0x0008},
            {"msctls_statusbar32", Builtin::StatusBar, nullptr, StatusBarProcW, 0x0008},
            {"ToolbarWindow32", Builtin::Toolbar, nullptr, ToolbarProcW, 0x0008},
            {"ReBarWindow32", Builtin::Rebar, nullptr, RebarProcW, 0x0008},
            {"MDIClient", Builtin::MdiClient, MdiClientProcA, MdiClientProcW, 0},
            {"Edit", Builtin::Edit, EditProcA, EditProcW, 0x0008},
            {"ComboBox", Builtin::ComboBox, ComboProcA, ComboProcW, 0x0008},
            {"Static", Builtin::Static, StaticProcA, StaticProcW, 0},
            {"Button", Builtin::Button, ButtonProcA, ButtonProcW, 0x0008},
            {"#32770", Builtin::None, DesktopProcA, DefWindowProcW, 0},  // dialogs: the default procedure
        };
        std::vector<ClassInfo> out;
        for (const auto& d : defs) {
            ClassInfo info;
            info.name = d.name;
            info.atom = AtomFor(d.name);
            info.style = d.style;
            info.proc = RegisterDualProc(d.ansi, d.wide);
            info.kind = d.kind;
            info.dual = d.ansi && d.wide;
            out.push_back(std::move(info));
        }
        return out;
    }();
    return classes;
}

const ClassInfo* FindByName(std::string_view name) {
    for (const auto& cls : S().classes) {
        if (EqualsNoCase(cls->name, name)) return cls.get();
    }
    for (const auto& cls : BuiltinClasses()) {
        if (cls.kind != Builtin::Desktop && EqualsNoCase(cls.name, name)) return &cls;
    }
    return nullptr;
}

const ClassInfo* FindByAtom(ATOM atom) {
    for (const auto& cls : S().classes) {
        if (cls->atom == atom) return cls.get();
    }
    for (const auto& cls : BuiltinClasses()) {
        if (cls.kind != Builtin::Desktop && cls.atom == atom) return &cls;
    }
    return nullptr;
}

}  // namespace

ATOM AtomFor(std::string_view name) {
    // One table for the whole test process: a message number registered in
    // one test stays the same in the next, as product code may cache it.
    static std::map<std::string, ATOM> atoms;
    static ATOM next = 0xC000;
    std::string key(name);
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    auto it = atoms.find(key);
    if (it != atoms.end()) return it->second;
    if (next == 0xFFFF) return 0;
    atoms.emplace(key, next);
    return next++;
}

const ClassInfo* FindClass(const char* name) {
    if (!name) return nullptr;
    if (reinterpret_cast<std::uintptr_t>(name) <= 0xFFFF) {
        return FindByAtom(static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(name)));
    }
    return FindByName(name);
}

const ClassInfo* FindClassW(std::u16string_view name) { return FindByName(Narrow(name)); }

const ClassInfo* BuiltinClass(Builtin kind) {
    for (const auto& cls : BuiltinClasses()) {
        if (cls.kind == kind) return &cls;
    }
    return nullptr;
}

}  // namespace host::sim::detail

namespace host {

using namespace sim::detail;

// The simulated program's image base, as a 32-bit program usually has it.
HINSTANCE ProgramInstance() { return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x400000)); }

ATOM RegisterClassA(const WNDCLASSA* wc) {
    if (!wc || !wc->lpszClassName) return 0;
    BuiltinClass(Builtin::Desktop);  // built-in procedures take their table slots first
    std::string name;
    if (reinterpret_cast<std::uintptr_t>(wc->lpszClassName) <= 0xFFFF) return 0;
    name = wc->lpszClassName;
    if (name.empty() || name.size() > 255) return 0;
    for (const auto& cls : S().classes) {
        if (EqualsNoCase(cls->name, name)) return 0;  // ERROR_CLASS_ALREADY_EXISTS
    }
    auto info = std::make_unique<ClassInfo>();
    info->name = name;
    info->atom = AtomFor(name);
    if (!info->atom) return 0;
    info->style = wc->style;
    info->proc = ProcFor(wc->lpfnWndProc, false);
    info->clsExtra = wc->cbClsExtra < 0 ? 0 : wc->cbClsExtra;
    info->wndExtra = wc->cbWndExtra < 0 ? 0 : wc->cbWndExtra;
    info->instance = wc->hInstance;
    info->background = wc->hbrBackground;
    const ATOM atom = info->atom;
    S().classes.push_back(std::move(info));
    return atom;
}

}  // namespace host
