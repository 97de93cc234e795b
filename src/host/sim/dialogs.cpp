// Modal dialogs the system shows (message box, colour chooser), answered
// from queues the test fills.
#include "host/sim/sim_internal.h"

namespace host {

using namespace sim::detail;

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    S().boxes.push_back({owner, AnsiZ(text), caption ? std::string(caption) : std::string("Error"), type});
    if (S().boxAnswers.empty()) return IDOK;
    const int answer = S().boxAnswers.front();
    S().boxAnswers.pop_front();
    return answer;
}

bool ChooseColorDialog(COLORREF initial, const COLORREF (&customColours)[16], COLORREF* chosen) {
    (void)initial;
    (void)customColours;
    auto& queue = S().colours;
    if (queue.empty()) return false;  // the user cancelled
    const std::optional<COLORREF> answer = queue.front();
    queue.pop_front();
    if (!answer) return false;
    if (chosen) *chosen = *answer;
    return true;
}

}  // namespace host

namespace host::sim {

void QueueMessageBoxAnswer(int answer) { detail::S().boxAnswers.push_back(answer); }

const std::vector<MessageBoxCall>& MessageBoxes() { return detail::S().boxes; }

void QueueColorChoice(std::optional<COLORREF> colour) { detail::S().colours.push_back(colour); }

}  // namespace host::sim
