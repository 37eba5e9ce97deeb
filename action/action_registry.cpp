// The action registry: gathers the script files' tables, keeps an index sorted by name for
// lookups, and runs the script groups for a robot in their fixed order.
#include "action_registry.h"

#include "action_tables.h"
#include "robot.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

using TableGetter = SActionTable (*)();

// Every script file's table; a new file adds one row.
const TableGetter kTables[] = {
    GetDispatcherActionTable,
    GetWalkActionTable,
    GetDashActionTable,
    GetJumpActionTable,
    GetFlightActionTable,
    GetReactionActionTable,
    GetFinaleActionTable,
    GetBladeActionTable,
    GetMeleeActionTable,
    GetShotActionTable,
    GetSwordActionTable,
    GetRocketActionTable,
};

struct SIndex {
    std::array<const SActionScript*, kMaxActionScripts> inOrder{};  // registration order
    std::array<const SActionScript*, kMaxActionScripts> byName{};   // sorted by name bytes
    int count = 0;
    int overflow = 0;  // rows that found no room
};

const SIndex& Index() {
    static const SIndex index = [] {
        SIndex ix;
        for (TableGetter get : kTables) {
            SActionTable t = get();
            for (int i = 0; i < t.count; ++i) {
                if (ix.count == kMaxActionScripts) {
                    ++ix.overflow;
                    continue;
                }
                ix.inOrder[ix.count] = &t.rows[i];
                ix.byName[ix.count] = &t.rows[i];
                ++ix.count;
            }
        }
        // Stable, so of two rows with one name the first registered is the one found.
        std::stable_sort(ix.byName.begin(), ix.byName.begin() + ix.count,
                         [](const SActionScript* a, const SActionScript* b) {
                             return std::strcmp(a->name ? a->name : "", b->name ? b->name : "") < 0;
                         });
        return ix;
    }();
    return index;
}

}  // namespace

const SActionScript* FindActionScript(const std::string& name) {
    const SIndex& ix = Index();
    const char* key = name.c_str();
    // A name with an embedded zero byte is no registered name (registered names are C strings).
    if (std::strlen(key) != name.size()) return nullptr;
    auto first = ix.byName.begin();
    auto last = ix.byName.begin() + ix.count;
    auto it = std::lower_bound(first, last, key, [](const SActionScript* s, const char* k) {
        return std::strcmp(s->name ? s->name : "", k) < 0;
    });
    if (it == last || std::strcmp((*it)->name ? (*it)->name : "", key) != 0) return nullptr;
    return *it;
}

int GetActionScriptCount() { return Index().count; }

const SActionScript* GetActionScript(int index) {
    const SIndex& ix = Index();
    if (index < 0 || index >= ix.count) return nullptr;
    return ix.inOrder[index];
}

void RunActionGroups(CRobot& robot, int first, int last) {
    // Only a step can change the current action, so the name is looked up again only after one.
    const SActionScript* s = FindActionScript(robot.m_currentAction);
    for (int g = first; g <= last; ++g) {
        if (!s || s->group != g) continue;
        s->step(robot);
        s = FindActionScript(robot.m_currentAction);
    }
}

int CheckActionRegistry(std::string* error) {
    const SIndex& ix = Index();
    auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return 0;
    };
    if (ix.overflow)
        return fail(std::to_string(ix.overflow) + " rows past the room for " + std::to_string(kMaxActionScripts));
    for (int i = 0; i < ix.count; ++i) {
        const SActionScript* s = ix.inOrder[i];
        if (!s->name || !s->name[0]) return fail("row " + std::to_string(i) + " has no name");
        if (!s->step) return fail(std::string("no step for ") + s->name);
        if (s->group < 0 || s->group > kGroupDispatcher) return fail(std::string("bad group for ") + s->name);
    }
    for (int i = 1; i < ix.count; ++i)
        if (std::strcmp(ix.byName[i - 1]->name, ix.byName[i]->name) == 0)
            return fail(std::string("twice registered: ") + ix.byName[i]->name);
    return 1;
}
