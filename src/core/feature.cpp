// The spine's side of the feature table: it walks the table for start-up,
// Apply, teardown, notices, diagnostics and a test's fresh start, and gathers
// each hooked window's dispatch rows from it once.
#include "core/feature.h"

#include <algorithm>
#include <vector>

#include "base/convert.h"
#include "base/errors.h"

namespace tillwick {
namespace {

std::span<const Feature* const> g_substitute;

// Each window's rows in rank order; gathered on first use and again after a substitution.
struct WindowRows {
    std::array<std::vector<const DispatchRow*>, kHookedWindowCount> rows;
    bool gathered = false;
};
WindowRows g_windowRows;

void GatherRows() {
    for (auto& list : g_windowRows.rows) list.clear();
    for (const Feature* f : Features())
        for (const DispatchRow& row : f->rows) g_windowRows.rows[static_cast<std::size_t>(row.window)].push_back(&row);
    for (auto& list : g_windowRows.rows)
        std::stable_sort(list.begin(), list.end(),
                         [](const DispatchRow* a, const DispatchRow* b) { return a->rank < b->rank; });
    g_windowRows.gathered = true;
}

// The feature's setting text, or nothing for a feature without one.
std::string ValueOf(const Feature& f) { return f.setting ? SettingText(*f.setting) : std::string(); }

bool SwitchedOn(const Feature& f, const std::string& value) { return !f.isSwitch || IsOn(value); }

bool Running(const Feature& f) { return f.running == nullptr || State().*f.running; }

}  // namespace

std::span<const Feature* const> Features() noexcept { return g_substitute.empty() ? FeatureTable() : g_substitute; }

void SubstituteFeatures(std::span<const Feature* const> table) noexcept {
    g_substitute = table;
    g_windowRows.gathered = false;
}

std::span<const DispatchRow* const> RowsOf(HookedWindow window) noexcept {
    if (!g_windowRows.gathered && !RunStep("gathering the dispatch rows", GatherRows)) return {};
    return g_windowRows.rows[static_cast<std::size_t>(window)];
}

int StartFeaturesAt(StartPoint point, StartRun& run) noexcept {
    int started = 0;
    for (const Feature* f : Features()) {
        if (f->startAt != point || f->start == nullptr) continue;
        RunStep(f->name, [&] {
            const std::string value = ValueOf(*f);
            if (!SwitchedOn(*f, value)) return;
            ++started;
            f->start(run, value);
        });
    }
    return started;
}

void RestartFeatures() noexcept {
    StartRun run;
    for (const Feature* f : Features()) {
        switch (f->apply) {
        case ApplyRestart::No:
            break;
        case ApplyRestart::Own:
            if (f->restart != nullptr) RunStep(f->name, f->restart);
            break;
        case ApplyRestart::StopThenStart:
            if (f->stop != nullptr && Running(*f)) RunStep(f->name, f->stop);
            RunStep(f->name, [&] {
                const std::string value = ValueOf(*f);
                if (f->start != nullptr && SwitchedOn(*f, value)) f->start(run, value);
            });
            break;
        }
    }
}

void StopFeatures() noexcept {
    const auto table = Features();
    // The last started stops first.
    for (auto it = table.rbegin(); it != table.rend(); ++it)
        if ((*it)->stop != nullptr && Running(**it)) RunStep((*it)->name, (*it)->stop);
    for (const Feature* f : table)
        if (f->release != nullptr) RunStep(f->name, f->release);
}

void NotifyFeatures(const SpineNotice& notice) noexcept {
    for (const Feature* f : Features())
        if (f->notice != nullptr) RunStep(f->name, [&] { f->notice(notice); });
}

void AppendFeatureDiagnostics() noexcept {
    for (const Feature* f : Features())
        if (f->diagnose != nullptr) RunStep(f->name, f->diagnose);
}

void ResetFeatures() noexcept {
    SubstituteFeatures({});
    for (const Feature* f : FeatureTable())
        if (f->reset != nullptr) RunStep(f->name, f->reset);
}

}  // namespace tillwick
