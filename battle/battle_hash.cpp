// The battle's state hash: every field of the simulation in the order state_fields.h walks
// them, floats by their bit patterns. The view, banners, sounds, governor and CPU opponents'
// own state are left out on purpose: each game has its own and only the pads cross.
#include "battle.h"
#include "state_fields.h"
#include "state_hash.h"

namespace {

struct CHashVisitor {
    CStateHash hash;
    void Enter(const char*, int) {}
    void Leave() {}
    template <class T>
    void Field(const char*, const T& value) {
        hash.Add(value);
    }
    template <class T>
    void Item(const char*, int, const T& value) {
        hash.Add(value);
    }
};

}  // namespace

uint64_t CBattle::HashState() const {
    CHashVisitor v;
    state_fields::VisitBattle(v, *this);
    return v.hash.Value();
}
