// The state dump: every field the state hash digests, one "name = value" line each in the
// hash's order, floats with their bit patterns. When two games' hashes part, the first line
// where their dumps differ names the field.
#pragma once

#include <string>

class CBattle;

std::string DumpState(const CBattle& battle);

// The first line where two dumps differ: 1 with the field's name and both values, 0 when the
// dumps are alike (a dump that stops early differs at its missing line, value "(none)").
struct SDumpDifference {
    std::string field;
    std::string first, second;
};
int FindFirstDifference(const std::string& first, const std::string& second, SDumpDifference* out);
