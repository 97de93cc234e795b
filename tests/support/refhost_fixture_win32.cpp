// The reference host's test fixture on Windows: a private host folder and a
// player for the host's pop-up menus. TrackPopupMenu runs a modal loop, so
// the player works from inside it: a call-window hook on this thread sees the
// owner's notifications, and at the loop's first WM_ENTERIDLE (the menu is up
// and waits for the user) it records the menu and answers it with keys posted
// to the loop, or ends it.
#ifdef _WIN32

#include <deque>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "support/refhost_fixture.h"

namespace refhost_fixture {

// ---- host folder

TempHostFolder::TempHostFolder() {
    static int made = 0;
    char temp[MAX_PATH + 1] = {};
    const DWORD n = ::GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp, n) + "Maxthon-" + std::to_string(::GetCurrentProcessId()) + "-" +
            std::to_string(++made) + "\\";
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);  // left by a killed run
}

TempHostFolder::~TempHostFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

// ---- menus

namespace {

struct Player {
    HHOOK hook = nullptr;
    std::deque<UINT> answers;
    std::vector<TrackedMenu> tracked;
    std::vector<HMENU> shown;  // tracked menus and their submenus
    std::vector<std::pair<HWND, MenuMessage>> messages;
    bool waitingForIdle = false;  // a loop began and its menu is not yet answered
};
Player* g_player = nullptr;

std::vector<MenuItemSnapshot> Snapshot(HMENU menu, std::vector<HMENU>& handles) {
    std::vector<MenuItemSnapshot> items;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char text[256] = {};
        MENUITEMINFOA info{.cbSize = sizeof info,
                           .fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING,
                           .dwTypeData = text,
                           .cch = sizeof text - 1};
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        MenuItemSnapshot item{.id = info.wID, .type = info.fType, .state = info.fState};
        if (!(info.fType & MFT_SEPARATOR)) item.text = text;
        if (info.hSubMenu) {
            item.submenuHandle = info.hSubMenu;
            handles.push_back(info.hSubMenu);
            item.submenu = Snapshot(info.hSubMenu, handles);
        }
        items.push_back(std::move(item));
    }
    return items;
}

// The keys that select the enabled command `id` from the menu's opening: on
// each level Down over the items that are not separators (the top level
// starts with nothing selected, a submenu opened with Right with its first
// item), Right into a submenu. False when no such item exists.
bool KeysTo(const std::vector<MenuItemSnapshot>& items, UINT id, bool topLevel,
            std::vector<WPARAM>& keys) {
    int downs = topLevel ? 0 : -1;
    for (const auto& item : items) {
        if (item.type & MFT_SEPARATOR) continue;
        ++downs;
        std::vector<WPARAM> here = keys;
        here.insert(here.end(), static_cast<std::size_t>(downs), VK_DOWN);
        if (item.submenuHandle) {
            here.push_back(VK_RIGHT);
            if (!KeysTo(item.submenu, id, false, here)) continue;
        } else if (item.id != id || (item.state & MFS_DISABLED)) {
            continue;
        }
        keys = here;
        return true;
    }
    return false;
}

void Answer(Player& p, HWND owner) {
    TrackedMenu& menu = p.tracked.back();
    menu.items = Snapshot(menu.menu, p.shown);
    const UINT answer = p.answers.empty() ? 0 : p.answers.front();
    if (!p.answers.empty()) p.answers.pop_front();
    std::vector<WPARAM> keys;
    if (answer == 0 || !KeysTo(menu.items, answer, true, keys)) {
        ::EndMenu();
        return;
    }
    // The loop takes keyboard input from the thread's queue, whatever window
    // it is posted to; Enter is the character it carries out the selection on.
    for (WPARAM key : keys) ::PostMessageA(owner, WM_KEYDOWN, key, 1);
    ::PostMessageA(owner, WM_CHAR, '\r', 1);
}

LRESULT CALLBACK SeeMessage(int code, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (code == HC_ACTION && g_player) {
            Player& p = *g_player;
            const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
            switch (sent->message) {
                case WM_INITMENU:
                    p.tracked.push_back({reinterpret_cast<HMENU>(sent->wParam), sent->hwnd, {}});
                    p.shown.push_back(reinterpret_cast<HMENU>(sent->wParam));
                    p.waitingForIdle = true;
                    [[fallthrough]];
                case WM_INITMENUPOPUP:
                case WM_MENUSELECT:
                case WM_CAPTURECHANGED:
                case WM_UNINITMENUPOPUP:
                    p.messages.push_back({sent->hwnd, {sent->message, sent->wParam}});
                    break;
                case WM_ENTERIDLE:
                    if (sent->wParam == MSGF_MENU && p.waitingForIdle) {
                        p.waitingForIdle = false;
                        Answer(p, sent->hwnd);
                    }
                    break;
                default:
                    break;
            }
        }
    } catch (...) {
        // A record lost; the loop itself goes on (and ends with the test's timeout at worst).
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

MenuPlayer::MenuPlayer() {
    static Player player;
    player = Player{};
    player.hook = ::SetWindowsHookExA(WH_CALLWNDPROC, SeeMessage, nullptr, ::GetCurrentThreadId());
    g_player = &player;
    EXPECT_NE(player.hook, nullptr) << "no hook on the menu loop";
}

MenuPlayer::~MenuPlayer() {
    if (g_player && g_player->hook) ::UnhookWindowsHookEx(g_player->hook);
    if (g_player) *g_player = Player{};
    g_player = nullptr;
}

const std::vector<TrackedMenu>& TrackedMenus() {
    static const std::vector<TrackedMenu> none;
    return g_player ? g_player->tracked : none;
}

void QueueMenuAnswer(UINT commandId) {
    if (g_player) g_player->answers.push_back(commandId);
}

int LiveMenuCount() {
    int live = 0;
    if (g_player)
        for (HMENU menu : g_player->shown) live += ::IsMenu(menu) ? 1 : 0;
    return live;
}

std::vector<MenuMessage> MenuMessagesTo(HWND hwnd) {
    std::vector<MenuMessage> seen;
    if (g_player)
        for (const auto& [to, message] : g_player->messages)
            if (to == hwnd) seen.push_back(message);
    return seen;
}

void ClearMenuMessages() {
    if (g_player) g_player->messages.clear();
}

}  // namespace refhost_fixture

#endif  // _WIN32
